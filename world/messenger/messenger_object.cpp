// Messenger's root object (IMessenger, IConnectionPointContainer) and the connection point of
// its event interface.
#include <olectl.h>

#include "world/messenger/proxy_base.h"

namespace world::messenger {

namespace {

std::string QuoteText(const Text& text) { return Quote(ToUtf8(text)); }

// The sign-in name a program passes as a contact: a BSTR.
HRESULT SigninFrom(const VARIANT& contact, Text* signin) {
  if (contact.vt != VT_BSTR || !contact.bstrVal || SysStringLen(contact.bstrVal) == 0) return E_INVALIDARG;
  *signin = Text(contact.bstrVal, SysStringLen(contact.bstrVal));
  return S_OK;
}

class ConnectionPointObject final : public ComObject<IConnectionPoint> {
 public:
  explicit ConnectionPointObject(Link link) : link_(std::move(link)) {}

  STDMETHODIMP GetConnectionInterface(IID* pIID) override {
    if (!pIID) return E_POINTER;
    *pIID = DIID_DMessengerEvents;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override {
    if (!ppCPC) return E_POINTER;
    return MakeMessengerObject(link_)->QueryInterface(IID_IConnectionPointContainer,
                                                      reinterpret_cast<void**>(ppCPC));
  }
  STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override {
    if (pdwCookie) *pdwCookie = 0;
    if (!pUnkSink || !pdwCookie) return E_POINTER;
    ComPtr<IDispatch> sink;
    IDispatch* raw = nullptr;
    if (FAILED(pUnkSink->QueryInterface(DIID_DMessengerEvents, reinterpret_cast<void**>(&raw))) &&
        FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&raw))))
      return CONNECT_E_CANNOTCONNECT;
    sink = ComPtr<IDispatch>::Adopt(raw);
    // Events reach the sink on this, the advising, thread.
    auto poster = std::make_shared<ApartmentPoster>();
    if (!poster->IsValid()) return E_OUTOFMEMORY;
    DWORD cookie = 0;
    HRESULT hr = CallMessenger(link_, "Advise", [&](MessengerServer&) {
      cookie = link_->events->Add(sink, poster);
      return S_OK;
    });
    if (SUCCEEDED(hr)) *pdwCookie = cookie;
    return hr;
  }
  STDMETHODIMP Unadvise(DWORD dwCookie) override {
    return CallMessenger(link_, "Unadvise", [&](MessengerServer&) {
      return link_->events->Remove(dwCookie) ? S_OK : CONNECT_E_NOCONNECTION;
    });
  }
  STDMETHODIMP EnumConnections(IEnumConnections** ppEnum) override {
    if (ppEnum) *ppEnum = nullptr;
    return E_NOTIMPL;
  }

 private:
  Link link_;
};

class MessengerObject final : public DispatchProxy<IMessenger, IConnectionPointContainer> {
 public:
  explicit MessengerObject(Link link) : DispatchProxy(std::move(link)) {}

  STDMETHODIMP get_Window(IDispatch** ppWindow) override {
    if (!ppWindow) return E_POINTER;
    *ppWindow = nullptr;
    HRESULT hr = Call("get_Window", [](MessengerServer&) { return S_OK; });
    return SUCCEEDED(hr) ? ReturnDispatch(MakeMainWindowObject(link_), ppWindow) : hr;
  }
  STDMETHODIMP StartVoice(VARIANT vContact, IDispatch** ppWindow) override {
    return Open("StartVoice", vContact, ppWindow, true);
  }
  STDMETHODIMP InstantMessage(VARIANT vContact, IDispatch** ppWindow) override {
    return Open("InstantMessage", vContact, ppWindow, false);
  }
  STDMETHODIMP MediaWizard(LONG hwndParent) override {
    return Call("MediaWizard", [&](MessengerServer& s) {
      s.state().wizard_opened = true;
      s.Report("messenger", "MediaWizard(" + std::to_string(hwndParent) + ")");
      s.ShowWizard();
      return S_OK;
    });
  }
  STDMETHODIMP get_MyContacts(IDispatch** ppContacts) override {
    if (!ppContacts) return E_POINTER;
    *ppContacts = nullptr;
    HRESULT hr = Call("get_MyContacts", [](MessengerServer&) { return S_OK; });
    return SUCCEEDED(hr) ? ReturnDispatch(MakeContactsObject(link_, 0), ppContacts) : hr;
  }
  STDMETHODIMP get_MyStatus(LONG* plStatus) override {
    if (!plStatus) return E_POINTER;
    return Call("get_MyStatus", [&](MessengerServer& s) {
      *plStatus = s.model().MyStatus();
      return S_OK;
    });
  }

  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override {
    if (ppEnum) *ppEnum = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
    if (!ppCP) return E_POINTER;
    *ppCP = nullptr;
    HRESULT hr = Call("FindConnectionPoint", [&](MessengerServer&) {
      return IsEqualIID(riid, DIID_DMessengerEvents) ? S_OK : CONNECT_E_NOCONNECTION;
    });
    if (FAILED(hr)) return hr;
    *ppCP = MakeCom<ConnectionPointObject>(link_).Detach();
    return S_OK;
  }

  MESSENGER_RESERVED_SLOTS_OF_IMESSENGER

 private:
  // InstantMessage and StartVoice: the one-to-one conversation with the contact, in front.
  HRESULT Open(const char* op, const VARIANT& contact, IDispatch** ppWindow, bool invite) {
    if (!ppWindow) return E_POINTER;
    *ppWindow = nullptr;
    int id = 0;
    HWND hwnd = nullptr;
    HRESULT hr = Call(op, [&](MessengerServer& s) {
      Text signin;
      HRESULT arg = SigninFrom(contact, &signin);
      if (FAILED(arg)) return arg;
      if (!s.model().SignedIn()) return E_FAIL;
      s.Report("messenger", std::string(op) + "(" + QuoteText(signin) + ")");
      id = s.OpenForUser(signin, invite);
      hwnd = s.WindowOf(id);
      return id ? S_OK : E_FAIL;
    });
    if (FAILED(hr)) return hr;
    return ReturnDispatch(MakeConversationObject(link_, id, hwnd, false), ppWindow);
  }
};

}  // namespace

HRESULT CreateMessengerInstance(const Link& link, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!link || !link->server) return CO_E_SERVER_EXEC_FAILURE;
  HRESULT hr = CallMessenger(link, "Create", [](MessengerServer&) { return S_OK; });
  if (FAILED(hr)) return hr;
  return MakeMessengerObject(link)->QueryInterface(riid, ppv);
}

ComPtr<IMessenger> MakeMessengerObject(const Link& link) {
  return ComPtr<IMessenger>::Adopt(MakeCom<MessengerObject>(link).Detach());
}

}  // namespace world::messenger
