#include <framework/activex.h>

#include "control_site.h"

namespace afx_variant {

HRESULT ConvertedVariant::Convert(const VARIANT& source, VARTYPE vt) {
  VariantClear(&m_variant);
  return VariantChangeType(&m_variant, const_cast<VARIANT*>(&source), 0, vt);
}

HRESULT Value<CString>::Load(const VARIANT& src) {
  ConvertedVariant v;
  HRESULT hr = v.Convert(src, VT_BSTR);
  if (SUCCEEDED(hr)) {
    BSTR text = v.get().bstrVal;
    value = CString(text, text ? static_cast<int>(SysStringLen(text)) : 0);
  }
  return hr;
}

HRESULT Invoke(IDispatch* pDispatch, DISPID dispid, WORD wFlags, VARIANT* pArgs, UINT cArgs,
               VARIANT* pResult) {
  if (!pDispatch) return E_POINTER;
  DISPPARAMS params{};
  params.rgvarg = cArgs ? pArgs : nullptr;
  params.cArgs = cArgs;
  EXCEPINFO exception{};
  UINT argError = 0;
  HRESULT hr = pDispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params, pResult, &exception,
                                 &argError);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

}  // namespace afx_variant

IDispatch* CActiveXControl::GetControlDispatch() const {
  auto* site = dynamic_cast<CControlSite*>(CWnd::FromHandlePermanent(m_hWnd));
  return site ? site->GetDispatch() : nullptr;
}
