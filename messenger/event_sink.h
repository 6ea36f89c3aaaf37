// CMessengerEventSink: receives Messenger's events (an IDispatch advised on Messenger's event
// interface) and hands them to the main window by dispatch id. It answers only for IUnknown and
// IDispatch, as Messenger's event sources expect of an automation sink.
#pragma once

#include <windows.h>
#include <ole2.h>

class CTellbudDlg;

class CMessengerEventSink : public IDispatch {
 public:
  // The sink starts with one reference, held by whoever created it.
  explicit CMessengerEventSink(CTellbudDlg* owner);
  CMessengerEventSink(const CMessengerEventSink&) = delete;
  CMessengerEventSink& operator=(const CMessengerEventSink&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                          DISPID* rgDispId) override;
  // Handles the events by dispatch id; E_INVALIDARG without an argument block, otherwise E_NOTIMPL
  // whatever the event, as the sink has always answered.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                   DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                   UINT* puArgErr) override;

  // The main window is going away: later events do nothing.
  void Detach() { m_pOwner = nullptr; }

 private:
  virtual ~CMessengerEventSink() = default;

  LONG m_nRefCount;
  CTellbudDlg* m_pOwner;  // not counted
};
