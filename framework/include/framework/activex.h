// Hosting ActiveX controls in dialogs: type-safe calls of a control's methods by dispatch id
// (CActiveXControl) and the conversions that events bound with CDialog::BindEvent use.
//
// C++ types and VARIANT types: short <-> VT_I2, long <-> VT_I4, BOOL (int) <-> VT_BOOL, bool <->
// VT_BOOL, double <-> VT_R8, CString / LPCWSTR / BSTR <-> VT_BSTR. BOOL is int, so an int argument
// is sent as VT_BOOL: pass 32-bit numbers as `long` (on Linux LONG is int, so write `long`, not
// LONG). An int received from a control keeps the value of a VT_I4 and is TRUE/FALSE for a VT_BOOL.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <framework/cstring.h>
#include <framework/wnd.h>

#include <cstddef>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace afx_variant {

// ---- C++ value -> VARIANT (the caller clears the VARIANT) -------------------------------------
inline void Store(VARIANT& v, short x) {
  v.vt = VT_I2;
  v.iVal = x;
}
inline void Store(VARIANT& v, long x) {
  v.vt = VT_I4;
  v.lVal = static_cast<LONG>(x);
}
inline void Store(VARIANT& v, int x) {  // BOOL
  v.vt = VT_BOOL;
  v.boolVal = x ? VARIANT_TRUE : VARIANT_FALSE;
}
inline void Store(VARIANT& v, bool x) { Store(v, x ? TRUE : FALSE); }
inline void Store(VARIANT& v, double x) {
  v.vt = VT_R8;
  v.dblVal = x;
}
inline void Store(VARIANT& v, LPCWSTR s) {
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(s ? s : TEXT(""));
}
inline void Store(VARIANT& v, const CString& s) {
  v.vt = VT_BSTR;
  v.bstrVal = s.AllocSysString();
}

// ---- VARIANT -> C++ value -------------------------------------------------------------------
// Holds one converted value, and the converted VARIANT it may point into, for as long as a call
// needs it. Load returns DISP_E_TYPEMISMATCH (or VariantChangeType's error) when it cannot convert.
class ConvertedVariant {
 public:
  ConvertedVariant() { VariantInit(&m_variant); }
  ~ConvertedVariant() { VariantClear(&m_variant); }
  ConvertedVariant(const ConvertedVariant&) = delete;
  ConvertedVariant& operator=(const ConvertedVariant&) = delete;
  HRESULT Convert(const VARIANT& source, VARTYPE vt);
  const VARIANT& get() const { return m_variant; }

 private:
  VARIANT m_variant;
};

inline void Extract(const VARIANT& v, short& out) { out = v.iVal; }
inline void Extract(const VARIANT& v, long& out) { out = v.lVal; }
inline void Extract(const VARIANT& v, bool& out) { out = v.boolVal != VARIANT_FALSE; }
inline void Extract(const VARIANT& v, double& out) { out = v.dblVal; }
// Strings are borrowed from the converted VARIANT: valid while the Value lives (the call).
inline void Extract(const VARIANT& v, BSTR& out) { out = v.bstrVal; }
inline void Extract(const VARIANT& v, LPCWSTR& out) { out = v.bstrVal ? v.bstrVal : TEXT(""); }

template <typename T>
inline constexpr VARTYPE kVarType = VT_EMPTY;
template <>
inline constexpr VARTYPE kVarType<short> = VT_I2;
template <>
inline constexpr VARTYPE kVarType<long> = VT_I4;
template <>
inline constexpr VARTYPE kVarType<bool> = VT_BOOL;
template <>
inline constexpr VARTYPE kVarType<double> = VT_R8;
template <>
inline constexpr VARTYPE kVarType<BSTR> = VT_BSTR;
template <>
inline constexpr VARTYPE kVarType<LPCWSTR> = VT_BSTR;

// A value of type T converted from a VARIANT.
template <typename T>
struct Value {
  static_assert(kVarType<T> != VT_EMPTY, "no VARIANT conversion for this type");
  T value{};
  ConvertedVariant v;
  HRESULT Load(const VARIANT& src) {
    HRESULT hr = v.Convert(src, kVarType<T>);
    if (SUCCEEDED(hr)) Extract(v.get(), value);
    return hr;
  }
};

template <>
struct Value<int> {  // BOOL, or a 32-bit number
  int value = 0;
  ConvertedVariant v;
  HRESULT Load(const VARIANT& src) {
    if (src.vt == VT_BOOL) {
      value = src.boolVal != VARIANT_FALSE ? TRUE : FALSE;
      return S_OK;
    }
    HRESULT hr = v.Convert(src, VT_I4);
    if (SUCCEEDED(hr)) value = static_cast<int>(v.get().lVal);
    return hr;
  }
};

template <>
struct Value<CString> {
  CString value;
  HRESULT Load(const VARIANT& src);
};

// Calls f with the DISPPARAMS' positional arguments converted to Args (argument k of the call is
// rgvarg[cArgs - 1 - k]: automation passes them in reverse order).
template <typename... Args, typename F, std::size_t... I>
HRESULT CallWith(const DISPPARAMS& params, F& f, std::index_sequence<I...>) {
  std::tuple<Value<std::decay_t<Args>>...> values;
  HRESULT hr = S_OK;
  ((hr = SUCCEEDED(hr) ? std::get<I>(values).Load(params.rgvarg[params.cArgs - 1 - I]) : hr), ...);
  if (FAILED(hr)) return hr;
  f(std::get<I>(values).value...);
  return S_OK;
}

template <typename... Args, typename F>
HRESULT CallWith(const DISPPARAMS& params, F&& f) {
  if (params.cArgs < sizeof...(Args) || (sizeof...(Args) > 0 && !params.rgvarg)) return DISP_E_BADPARAMCOUNT;
  return CallWith<Args...>(params, f, std::index_sequence_for<Args...>{});
}

// IDispatch::Invoke with positional arguments already in reverse order; frees what an
// EXCEPINFO brought back. A null dispatch gives E_POINTER.
HRESULT Invoke(IDispatch* pDispatch, DISPID dispid, WORD wFlags, VARIANT* pArgs, UINT cArgs,
               VARIANT* pResult);

}  // namespace afx_variant

// Handles the events of one ActiveX control: called with the event's DISPPARAMS.
using CEventHandler = std::function<HRESULT(const DISPPARAMS&)>;

// The wrapper a dialog binds to an ActiveX item with DDX_Control. Calls go to the hosted
// control's IDispatch; when the control is missing (hosting disabled, creation failed) or the
// call fails, they return the zero value of their result type.
class CActiveXControl : public CWnd {
 public:
  // The hosted control's IDispatch (not AddRef'ed), or nullptr.
  IDispatch* GetControlDispatch() const;

  // Calls method `dispid` with DISPATCH_METHOD, e.g. InvokeMethod<BOOL>(1, long{0}).
  template <typename R = void, typename... Args>
  R InvokeMethod(DISPID dispid, const Args&... args) const {
    static_assert(!std::is_pointer_v<R>, "a returned string would not outlive the call: use CString");
    constexpr std::size_t n = sizeof...(Args);
    VARIANT argv[n + 1];
    std::size_t k = 0;
    ((VariantInit(&argv[n - 1 - k]), afx_variant::Store(argv[n - 1 - k], args), ++k), ...);
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = afx_variant::Invoke(GetControlDispatch(), dispid, DISPATCH_METHOD, argv,
                                     static_cast<UINT>(n), &result);
    for (std::size_t i = 0; i < n; ++i) VariantClear(&argv[i]);
    if constexpr (std::is_void_v<R>) {
      VariantClear(&result);
    } else {
      afx_variant::Value<R> value;
      if (SUCCEEDED(hr)) value.Load(result);
      VariantClear(&result);
      return SUCCEEDED(hr) ? R(value.value) : R();
    }
  }
};
