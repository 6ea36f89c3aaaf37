// VariantChangeType(Ex): conversions between the integer types, reals, currency, booleans,
// strings and objects (through their value property). A failed conversion leaves the
// destination as it was.
#include <oleauto.h>

#include <string>

#include "com/variant_number.h"
#include "com/variant_types.h"

namespace {

using sim::com::Number;

bool IsObject(VARTYPE vt) { return vt == VT_DISPATCH || vt == VT_UNKNOWN; }

std::u16string TextOf(BSTR bstr) {
  return bstr ? std::u16string(bstr, SysStringLen(bstr)) : std::u16string();
}

HRESULT StringValue(const std::u16string& text, VARIANT* out) {
  VariantInit(out);
  out->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!out->bstrVal) return E_OUTOFMEMORY;
  out->vt = VT_BSTR;
  return S_OK;
}

bool EqualsIgnoringAsciiCase(const std::u16string& text, const char* word) {
  size_t i = 0;
  for (; word[i]; ++i) {
    if (i >= text.size()) return false;
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != static_cast<char16_t>(word[i])) return false;
  }
  return i == text.size();
}

// Text to boolean: the words True and False, or a number (non-zero is true).
HRESULT BoolFromText(const std::u16string& text, VARIANT* out) {
  size_t begin = text.find_first_not_of(u" \t");
  size_t end = text.find_last_not_of(u" \t");
  std::u16string word =
      begin == std::u16string::npos ? std::u16string() : text.substr(begin, end - begin + 1);
  VariantInit(out);
  out->vt = VT_BOOL;
  if (EqualsIgnoringAsciiCase(word, "true")) {
    out->boolVal = VARIANT_TRUE;
    return S_OK;
  }
  if (EqualsIgnoringAsciiCase(word, "false")) {
    out->boolVal = VARIANT_FALSE;
    return S_OK;
  }
  Number n;
  HRESULT hr = sim::com::NumberFromText(text, &n);
  if (FAILED(hr)) return hr;
  out->boolVal = n.IsZero() ? VARIANT_FALSE : VARIANT_TRUE;
  return S_OK;
}

// Text of a value: booleans are -1 and 0 unless the caller asks for the words.
HRESULT TextFromValue(const VARIANT& value, USHORT flags, VARIANT* out) {
  if (value.vt == VT_EMPTY) return StringValue(u"", out);
  if (value.vt == VT_BOOL && (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL)))
    return StringValue(value.boolVal ? u"True" : u"False", out);
  if (value.vt == VT_DATE) return DISP_E_TYPEMISMATCH;  // date text is not kept by this system
  Number n;
  HRESULT hr = sim::com::NumberFromValue(value, &n);
  if (FAILED(hr)) return hr;
  return StringValue(sim::com::NumberToText(n), out);
}

HRESULT Convert(const VARIANT& value, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out, int depth);

// An object's default value: its DISPID_VALUE property.
HRESULT ConvertObject(const VARIANT& value, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out, int depth) {
  IUnknown* unknown = value.punkVal;
  if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
    VariantInit(out);
    out->vt = vt;
    if (!unknown) return S_OK;
    HRESULT hr = unknown->QueryInterface(vt == VT_UNKNOWN ? IID_IUnknown : IID_IDispatch, &out->byref);
    if (FAILED(hr)) {
      VariantInit(out);
      return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
  }
  if (value.vt != VT_DISPATCH || !value.pdispVal || (flags & VARIANT_NOVALUEPROP) || depth > 0)
    return DISP_E_TYPEMISMATCH;
  DISPPARAMS no_arguments{nullptr, nullptr, 0, 0};
  VARIANT property;
  VariantInit(&property);
  HRESULT hr = value.pdispVal->Invoke(DISPID_VALUE, IID_NULL, lcid, DISPATCH_PROPERTYGET, &no_arguments,
                                      &property, nullptr, nullptr);
  if (FAILED(hr)) {
    VariantClear(&property);
    return DISP_E_TYPEMISMATCH;
  }
  hr = Convert(property, lcid, flags, vt, out, depth + 1);
  VariantClear(&property);
  return hr;
}

// Converts `value` (held by value, not VT_BYREF) to `vt` into `out`, leaving `value` alone.
HRESULT Convert(const VARIANT& value, LCID lcid, USHORT flags, VARTYPE vt, VARIANT* out, int depth) {
  VariantInit(out);
  if (vt == value.vt) return VariantCopy(out, &value);
  if (vt == VT_EMPTY) return S_OK;
  if (IsObject(value.vt)) return ConvertObject(value, lcid, flags, vt, out, depth);
  if (vt == VT_NULL || value.vt == VT_NULL || IsObject(vt)) return DISP_E_TYPEMISMATCH;
  if (vt == VT_ERROR || value.vt == VT_ERROR || vt == VT_DECIMAL || value.vt == VT_DECIMAL)
    return DISP_E_TYPEMISMATCH;
  if (vt == VT_BSTR) return TextFromValue(value, flags, out);
  if (value.vt == VT_BSTR) {
    std::u16string text = TextOf(value.bstrVal);
    if (vt == VT_BOOL) return BoolFromText(text, out);
    Number n;
    HRESULT hr = sim::com::NumberFromText(text, &n);
    if (FAILED(hr)) return hr;
    return sim::com::NumberToValue(n, vt, out);
  }
  Number n;
  HRESULT hr = sim::com::NumberFromValue(value, &n);
  if (FAILED(hr)) return hr;
  return sim::com::NumberToValue(n, vt, out);
}

}  // namespace

HRESULT WINAPI VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID lcid, USHORT wFlags,
                                   VARTYPE vt) {
  if (!pvargDest || !pvarSrc) return E_INVALIDARG;
  if ((vt & VT_BYREF) || !sim::com::IsValidVariantType(vt) || !sim::com::IsValidVariantType(pvarSrc->vt))
    return DISP_E_BADVARTYPE;
  if (!sim::com::IsManagedVariantType(vt)) return DISP_E_TYPEMISMATCH;
  // Work on the value itself, whether it came by value or through a reference.
  VARIANT source;
  VariantInit(&source);
  HRESULT hr = VariantCopyInd(&source, pvarSrc);
  if (FAILED(hr)) return hr;
  VARIANT result;
  hr = Convert(source, lcid, wFlags, vt, &result, 0);
  VariantClear(&source);
  if (FAILED(hr)) return hr;
  return sim::com::MoveInto(pvargDest, result);
}

HRESULT WINAPI VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags,
                                 VARTYPE vt) {
  return VariantChangeTypeEx(pvargDest, pvarSrc, LOCALE_USER_DEFAULT, wFlags, vt);
}
