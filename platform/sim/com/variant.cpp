// VARIANT lifetime: initialising, clearing (frees strings, releases interfaces), copying
// (duplicates strings, adds references) and copying through a reference (VT_BYREF).
#include <oleauto.h>

#include <cstring>

#include "com/variant_types.h"

namespace sim::com {

bool IsValidVariantType(VARTYPE vt) {
  if (vt & (VT_VECTOR | VT_RESERVED)) return false;
  bool byref = (vt & VT_BYREF) != 0;
  bool array = (vt & VT_ARRAY) != 0;
  switch (vt & VT_TYPEMASK) {
    case VT_EMPTY:
    case VT_NULL:
      return !byref && !array;
    case VT_VARIANT:
      return byref || array;
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_DECIMAL:
    case VT_I1:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_RECORD:
      return true;
    default:
      return false;
  }
}

bool IsManagedVariantType(VARTYPE vt) {
  if (!IsValidVariantType(vt)) return false;
  if (vt & VT_BYREF) return true;
  return !(vt & VT_ARRAY) && vt != VT_RECORD;
}

size_t PlainValueSize(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_R4:
    case VT_INT:
    case VT_UINT:
    case VT_ERROR:
      return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
      return 8;
    default:
      return 0;
  }
}

HRESULT MoveInto(VARIANTARG* dest, VARIANT& value) {
  HRESULT hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&value);
    return hr;
  }
  *dest = value;
  return S_OK;
}

}  // namespace sim::com

namespace {

using sim::com::IsManagedVariantType;

// Makes `out` an independent copy of the value `in` of type `vt` (by value, not VT_BYREF):
// strings are duplicated, interfaces gain a reference.
HRESULT DuplicateValue(VARTYPE vt, const VARIANT& in, VARIANT* out) {
  *out = in;
  out->vt = vt;
  if (vt == VT_BSTR && in.bstrVal) {
    out->bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(in.bstrVal), SysStringByteLen(in.bstrVal));
    if (!out->bstrVal) return E_OUTOFMEMORY;
  } else if ((vt == VT_DISPATCH || vt == VT_UNKNOWN) && in.punkVal) {
    in.punkVal->AddRef();
  }
  return S_OK;
}

}  // namespace

void WINAPI VariantInit(VARIANTARG* pvarg) {
  if (pvarg) std::memset(pvarg, 0, sizeof(*pvarg));
}

HRESULT WINAPI VariantClear(VARIANTARG* pvarg) {
  if (!pvarg) return E_INVALIDARG;
  VARTYPE vt = pvarg->vt;
  if (!IsManagedVariantType(vt)) return DISP_E_BADVARTYPE;
  VARIANT old = *pvarg;
  // Empty the variant before releasing, so a destructor that looks at it sees it empty.
  std::memset(pvarg, 0, sizeof(*pvarg));
  if (vt == VT_BSTR) {
    SysFreeString(old.bstrVal);
  } else if ((vt == VT_DISPATCH || vt == VT_UNKNOWN) && old.punkVal) {
    old.punkVal->Release();
  }
  return S_OK;
}

HRESULT WINAPI VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (pvargDest == pvargSrc) return S_OK;
  if (!IsManagedVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy;
  if (pvargSrc->vt & VT_BYREF) {
    copy = *pvargSrc;  // a reference is copied as a reference
  } else {
    HRESULT hr = DuplicateValue(pvargSrc->vt, *pvargSrc, &copy);
    if (FAILED(hr)) return hr;
  }
  return sim::com::MoveInto(pvargDest, copy);
}

// Copies the value a VT_BYREF variant refers to; other variants are copied as VariantCopy does.
HRESULT WINAPI VariantCopyInd(VARIANT* pvarDest, const VARIANTARG* pvargSrc) {
  if (!pvarDest || !pvargSrc) return E_INVALIDARG;
  VARTYPE vt = pvargSrc->vt;
  if (!(vt & VT_BYREF)) return VariantCopy(pvarDest, pvargSrc);
  if (!IsManagedVariantType(vt)) return DISP_E_BADVARTYPE;
  if (!pvargSrc->byref) return E_INVALIDARG;  // a reference to nothing
  VARTYPE base = vt & ~VT_BYREF;
  VARIANT value;
  VariantInit(&value);
  if (base == VT_VARIANT) {
    const VARIANT& inner = *pvargSrc->pvarVal;
    if (inner.vt & VT_BYREF) return E_INVALIDARG;
    if (!IsManagedVariantType(inner.vt)) return DISP_E_BADVARTYPE;
    HRESULT hr = DuplicateValue(inner.vt, inner, &value);
    if (FAILED(hr)) return hr;
  } else if (base == VT_DECIMAL) {
    value.decVal = *pvargSrc->pdecVal;
    value.vt = VT_DECIMAL;
  } else if (base == VT_BSTR || base == VT_DISPATCH || base == VT_UNKNOWN) {
    VARIANT direct;
    VariantInit(&direct);
    if (base == VT_BSTR) {
      direct.bstrVal = *pvargSrc->pbstrVal;
    } else {
      direct.punkVal = base == VT_DISPATCH ? *pvargSrc->ppdispVal : *pvargSrc->ppunkVal;
    }
    HRESULT hr = DuplicateValue(base, direct, &value);
    if (FAILED(hr)) return hr;
  } else if (size_t size = sim::com::PlainValueSize(base)) {
    std::memcpy(&value.llVal, pvargSrc->byref, size);
    value.vt = base;
  } else {
    return DISP_E_BADVARTYPE;  // arrays and records by reference: not kept by this system
  }
  return sim::com::MoveInto(pvarDest, value);
}
