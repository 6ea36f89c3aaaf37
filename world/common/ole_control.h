// The parts of a control's OLE contract the stand-ins need, over the Windows COM headers: the
// client site its container gives it (IOleObject; nothing else of embedding is supported), a
// fresh start without stored state (IPersistStreamInit) and the announcement of its default
// events interface (IProvideClassInfo2; no type information).
//
//   class Gadget final : public OleControlImpl<ConnectableDispatchObject<IDispatch, IOleObject,
//                                              IProvideClassInfo2, IPersistStreamInit>> { ... };
#pragma once

#include <ole2.h>
#include <ocidl.h>

#include "world/common/com_object.h"
#include "world/common/com_ptr.h"

WORLD_INTERFACE_IDS(IOleObject, &IID_IOleObject);
WORLD_INTERFACE_IDS(IOleClientSite, &IID_IOleClientSite);
WORLD_INTERFACE_IDS(IProvideClassInfo2, &IID_IProvideClassInfo2, &IID_IProvideClassInfo);
WORLD_INTERFACE_IDS(IPersistStreamInit, &IID_IPersistStreamInit, &IID_IPersist);

namespace world {

template <typename Base>
class OleControlImpl : public Base {
 public:
  // ---- IOleObject -------------------------------------------------------------------------
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    client_site_ = ComPtr<IOleClientSite>(site);
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override {
    if (!site) return E_POINTER;
    *site = client_site_.Get();
    if (*site) (*site)->AddRef();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override { return S_OK; }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override { return Nothing(moniker); }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override { return Nothing(data); }
  STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override { return Nothing(verbs); }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR* type) override { return Nothing(type); }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advises) override { return Nothing(advises); }
  // Invisible at run time; it wants its site before anything else.
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
    if (!status) return E_POINTER;
    *status = OLEMISC_INVISIBLEATRUNTIME | OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // ---- IProvideClassInfo2 -----------------------------------------------------------------
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override { return Nothing(info); }
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = default_source_;
    return S_OK;
  }

  // ---- IPersistStreamInit: no state to keep ---------------------------------------------------
  STDMETHODIMP GetClassID(CLSID* clsid) override {
    if (!clsid) return E_POINTER;
    *clsid = class_id_;
    return S_OK;
  }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM) override { return S_OK; }
  STDMETHODIMP Save(LPSTREAM, BOOL) override { return S_OK; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
  }
  STDMETHODIMP InitNew() override { return S_OK; }

 protected:
  OleControlImpl(REFCLSID class_id, REFIID default_source)
      : class_id_(class_id), default_source_(default_source) {}
  bool HasClientSite() const { return client_site_.Get() != nullptr; }

 private:
  template <typename T>
  static HRESULT Nothing(T** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }

  CLSID class_id_;
  IID default_source_;
  ComPtr<IOleClientSite> client_site_;
};

}  // namespace world
