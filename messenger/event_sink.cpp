#include "messenger/event_sink.h"

#include <framework/winapp.h>

#include <exception>

#include "ui/tellbud_dlg.h"

CMessengerEventSink::CMessengerEventSink(CTellbudDlg* owner) : m_nRefCount(1), m_pOwner(owner) {}

HRESULT STDMETHODCALLTYPE CMessengerEventSink::QueryInterface(REFIID riid, void** ppvObject) {
  if (!ppvObject) return E_INVALIDARG;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *ppvObject = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CMessengerEventSink::AddRef() { return static_cast<ULONG>(++m_nRefCount); }

ULONG STDMETHODCALLTYPE CMessengerEventSink::Release() {
  LONG count = --m_nRefCount;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

HRESULT STDMETHODCALLTYPE CMessengerEventSink::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CMessengerEventSink::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CMessengerEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CMessengerEventSink::Invoke(DISPID dispIdMember, REFIID, LCID, WORD,
                                                      DISPPARAMS* pDispParams, VARIANT*, EXCEPINFO*, UINT*) {
  if (!pDispParams) return E_INVALIDARG;
  if (m_pOwner) {
    // Keep the sink alive while the owner's handler runs: a sign-out event drops the owner's
    // reference to it.
    AddRef();
    try {
      m_pOwner->OnMessengerEvent(dispIdMember, *pDispParams);
    } catch (const std::exception& e) {
      // Nothing may leave a COM method: Messenger's call into it cannot carry an exception.
      AfxTraceException(TEXT("a Messenger event"), e);
    }
    Release();
  }
  return E_NOTIMPL;
}
