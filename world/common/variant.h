// An owned VARIANT, and the mapping between C++ values and VARIANT types used by the dispatch
// helpers. Portable over the Windows COM headers.
//
// C++ type            VARIANT type
// bool                VT_BOOL (VARIANT_TRUE / VARIANT_FALSE)
// signed integers     VT_I1, VT_I2, VT_I4, VT_I8 by size (so LONG, and BOOL, are VT_I4)
// unsigned integers   VT_UI1, VT_UI2, VT_UI4, VT_UI8 by size
// float, double       VT_R4, VT_R8
// ComString           VT_BSTR
// ComPtr<IDispatch>   VT_DISPATCH (IDispatch* too, when storing)
// ComPtr<IUnknown>    VT_UNKNOWN (IUnknown* too, when storing)
// Variant             whatever it holds
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <type_traits>
#include <utility>

#include "world/common/com_ptr.h"

namespace world {

using ComString = std::basic_string<OLECHAR>;

template <typename T>
inline constexpr bool kDependentFalse = false;

// The VARIANT type that carries a C++ value of type T.
template <typename T>
constexpr VARTYPE VariantTypeOf() {
  if constexpr (std::is_same_v<T, bool>) {
    return VT_BOOL;
  } else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>) {
    return sizeof(T) == 1 ? VT_I1 : sizeof(T) == 2 ? VT_I2 : sizeof(T) == 4 ? VT_I4 : VT_I8;
  } else if constexpr (std::is_integral_v<T>) {
    return sizeof(T) == 1 ? VT_UI1 : sizeof(T) == 2 ? VT_UI2 : sizeof(T) == 4 ? VT_UI4 : VT_UI8;
  } else if constexpr (std::is_same_v<T, float>) {
    return VT_R4;
  } else if constexpr (std::is_same_v<T, double>) {
    return VT_R8;
  } else if constexpr (std::is_same_v<T, ComString>) {
    return VT_BSTR;
  } else if constexpr (std::is_same_v<T, ComPtr<IDispatch>> || std::is_same_v<T, IDispatch*>) {
    return VT_DISPATCH;
  } else if constexpr (std::is_same_v<T, ComPtr<IUnknown>> || std::is_same_v<T, IUnknown*>) {
    return VT_UNKNOWN;
  } else {
    static_assert(kDependentFalse<T>, "no VARIANT type for this C++ type");
  }
}

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  ~Variant() { VariantClear(&v_); }
  // A copy that cannot be made (out of memory) leaves the new variant empty.
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  Variant& operator=(Variant other) noexcept {
    std::swap(v_, other.v_);
    return *this;
  }

  // Copies a VARIANT that the caller keeps.
  static Variant Copy(const VARIANT& value);
  // Takes over a VARIANT that the caller owned, leaving it empty.
  static Variant Adopt(VARIANT* value);
  static Variant String(const OLECHAR* text);
  static Variant String(const ComString& text);  // keeps embedded null characters
  static Variant FromCode(SCODE code);           // VT_ERROR; DISP_E_PARAMNOTFOUND marks an omitted argument

  // A variant holding `value` with the type from the table above.
  template <typename T>
  static Variant From(const T& value);
  static Variant From(const OLECHAR* text) { return String(text); }
  static Variant From(const Variant& value) { return value; }

  VARTYPE Type() const { return v_.vt; }
  const VARIANT& Get() const { return v_; }
  // For out-parameters: empties the variant and returns it to be filled.
  VARIANT* Receive();
  // Hands the value to the caller, who then owns it; this variant becomes empty.
  VARIANT Detach();

  // Reads the value as T, converting with VariantChangeType (DISP_E_TYPEMISMATCH,
  // DISP_E_OVERFLOW when it cannot). `out` is unchanged on failure.
  template <typename T>
  HRESULT To(T* out) const;

 private:
  VARIANT v_;
};

template <typename T>
Variant Variant::From(const T& value) {
  constexpr VARTYPE vt = VariantTypeOf<T>();
  Variant result;
  VARIANT& v = result.v_;
  if constexpr (vt == VT_BSTR) {
    return String(value);
  } else if constexpr (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
    IUnknown* object;
    if constexpr (std::is_pointer_v<T>) {
      object = value;
    } else {
      object = value.Get();
    }
    if (object) object->AddRef();
    v.punkVal = object;
  } else if constexpr (vt == VT_BOOL) {
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  } else if constexpr (vt == VT_R4) {
    v.fltVal = value;
  } else if constexpr (vt == VT_R8) {
    v.dblVal = value;
  } else if constexpr (vt == VT_I1) {
    v.cVal = static_cast<CHAR>(value);
  } else if constexpr (vt == VT_UI1) {
    v.bVal = static_cast<BYTE>(value);
  } else if constexpr (vt == VT_I2) {
    v.iVal = static_cast<SHORT>(value);
  } else if constexpr (vt == VT_UI2) {
    v.uiVal = static_cast<USHORT>(value);
  } else if constexpr (vt == VT_I4) {
    v.lVal = static_cast<LONG>(value);
  } else if constexpr (vt == VT_UI4) {
    v.ulVal = static_cast<ULONG>(value);
  } else if constexpr (vt == VT_I8) {
    v.llVal = static_cast<LONGLONG>(value);
  } else {
    v.ullVal = static_cast<ULONGLONG>(value);
  }
  v.vt = vt;
  return result;
}

template <typename T>
HRESULT Variant::To(T* out) const {
  if constexpr (std::is_same_v<T, Variant>) {
    *out = *this;
    return S_OK;
  } else {
    static_assert(!std::is_pointer_v<T>, "read interfaces into a ComPtr");
    constexpr VARTYPE vt = VariantTypeOf<T>();
    Variant converted;
    HRESULT hr =
        VariantChangeType(&converted.v_, const_cast<VARIANT*>(&v_), 0, vt);  // older headers lack const
    if (FAILED(hr)) return hr;
    const VARIANT& c = converted.v_;
    if constexpr (vt == VT_BSTR) {
      *out = ComString(c.bstrVal ? c.bstrVal : TEXT(""), SysStringLen(c.bstrVal));
    } else if constexpr (vt == VT_DISPATCH) {
      out->Reset(c.pdispVal);
    } else if constexpr (vt == VT_UNKNOWN) {
      out->Reset(c.punkVal);
    } else if constexpr (vt == VT_BOOL) {
      *out = c.boolVal != VARIANT_FALSE;
    } else if constexpr (vt == VT_R4) {
      *out = c.fltVal;
    } else if constexpr (vt == VT_R8) {
      *out = c.dblVal;
    } else if constexpr (vt == VT_I1) {
      *out = static_cast<T>(static_cast<signed char>(c.cVal));
    } else if constexpr (vt == VT_UI1) {
      *out = static_cast<T>(c.bVal);
    } else if constexpr (vt == VT_I2) {
      *out = static_cast<T>(c.iVal);
    } else if constexpr (vt == VT_UI2) {
      *out = static_cast<T>(c.uiVal);
    } else if constexpr (vt == VT_I4) {
      *out = static_cast<T>(c.lVal);
    } else if constexpr (vt == VT_UI4) {
      *out = static_cast<T>(c.ulVal);
    } else if constexpr (vt == VT_I8) {
      *out = static_cast<T>(c.llVal);
    } else {
      *out = static_cast<T>(c.ullVal);
    }
    return S_OK;
  }
}

}  // namespace world
