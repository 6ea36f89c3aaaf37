#include "world/messenger_dll/forwarding.h"

#include <olectl.h>

#include <vector>

#include "world/common/dispatch.h"
#include "world/messenger/vtable_objects.h"
#include "world/messenger_exe/forward_event.h"
#include "world/messenger_exe/remote_protocol.h"

namespace world::messenger::remote {

namespace {

constexpr WORD kCall = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

ComPtr<IDispatch> Wrap(const ComPtr<IDispatch>& front, FrontKind kind);

// A forwarding object's base: the program calls it through its vtable only.
template <typename First, typename... Rest>
class Forwarder : public VtableOnlyObject<First, Rest...> {
 protected:
  explicit Forwarder(ComPtr<IDispatch> front) : front_(std::move(front)) {}

  HRESULT Call(DISPID id, const std::vector<Variant>& args = {}, Variant* result = nullptr) {
    return InvokeDispatch(front_.Get(), id, kCall, args, result);
  }
  HRESULT GetLong(DISPID id, LONG* out) {
    if (!out) return E_POINTER;
    Variant result;
    HRESULT hr = Call(id, {}, &result);
    return FAILED(hr) ? hr : result.To(out);
  }
  HRESULT GetString(DISPID id, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Variant result;
    HRESULT hr = Call(id, {}, &result);
    if (FAILED(hr)) return hr;
    ComString text;
    hr = result.To(&text);
    if (FAILED(hr)) return hr;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  // A member returning an object of `kind`.
  HRESULT GetObject(DISPID id, const std::vector<Variant>& args, FrontKind kind, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Variant result;
    HRESULT hr = Call(id, args, &result);
    if (FAILED(hr)) return hr;
    ComPtr<IDispatch> front;
    if (FAILED(result.To(&front)) || !front) return E_UNEXPECTED;
    *out = Wrap(front, kind).Detach();
    return S_OK;
  }

  ComPtr<IDispatch> front_;
};

class ContactClient final : public Forwarder<IMessengerContact> {
 public:
  explicit ContactClient(ComPtr<IDispatch> front) : Forwarder(std::move(front)) {}
  STDMETHODIMP get_FriendlyName(BSTR* name) override { return GetString(7, name); }
  STDMETHODIMP get_Status(LONG* status) override { return GetLong(8, status); }
  STDMETHODIMP get_SigninName(BSTR* name) override { return GetString(9, name); }
};

class ContactsClient final : public Forwarder<IMessengerContacts> {
 public:
  explicit ContactsClient(ComPtr<IDispatch> front) : Forwarder(std::move(front)) {}
  STDMETHODIMP get_Count(LONG* count) override { return GetLong(7, count); }
  STDMETHODIMP Item(LONG index, IDispatch** contact) override {
    return GetObject(8, {Variant::From(index)}, FrontKind::kContact, contact);
  }
};

template <typename Interface>
class WindowClient : public Forwarder<Interface> {
 public:
  explicit WindowClient(ComPtr<IDispatch> front) : Forwarder<Interface>(std::move(front)) {}
  STDMETHODIMP Close() override { return this->Call(7); }
  STDMETHODIMP get_HWND(LONG* hwnd) override { return this->GetLong(8, hwnd); }
  STDMETHODIMP Show() override { return this->Call(18); }
  MESSENGER_RESERVED_SLOTS_OF_IMESSENGERWINDOW
};

class MainWindowClient final : public WindowClient<IMessengerWindow> {
 public:
  using WindowClient::WindowClient;
};

class ConversationClient final : public WindowClient<IMessengerConversationWnd> {
 public:
  using WindowClient::WindowClient;
  STDMETHODIMP get_Contacts(IDispatch** contacts) override {
    return GetObject(21, {}, FrontKind::kContacts, contacts);
  }
  STDMETHODIMP get_History(BSTR* history) override { return GetString(22, history); }
};

// Hands Messenger's events to the program's sink, each object argument as a forwarding object
// of the kind its front tells.
class EventRelay final : public Forwarder<IDispatch> {
 public:
  explicit EventRelay(ComPtr<IDispatch> sink) : Forwarder(nullptr), sink_(std::move(sink)) {}
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return ForwardEvent(sink_.Get(), id, params, [](IDispatch* object) -> ComPtr<IDispatch> {
      Variant kind;
      LONG value = 0;
      if (FAILED(InvokeDispatch(object, kDispidKind, kCall, {}, &kind)) || FAILED(kind.To(&value)))
        return nullptr;
      return Wrap(ComPtr<IDispatch>(object), static_cast<FrontKind>(value));
    });
  }

 private:
  ComPtr<IDispatch> sink_;
};

class ConnectionPointClient final : public ComObject<IConnectionPoint> {
 public:
  ConnectionPointClient(ComPtr<IDispatch> front, ComPtr<IConnectionPointContainer> container)
      : front_(std::move(front)), container_(std::move(container)) {}

  STDMETHODIMP GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = DIID_DMessengerEvents;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override {
    if (!container) return E_POINTER;
    *container = ComPtr<IConnectionPointContainer>(container_).Detach();
    return S_OK;
  }
  // The sink goes to msnmsgr.exe as IDispatch, which standard marshalling carries; msnmsgr.exe's
  // calls on it arrive on this, the advising, thread.
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
    if (cookie) *cookie = 0;
    if (!sink || !cookie) return E_POINTER;
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid()))) return CONNECT_E_CANNOTCONNECT;
    ComPtr<EventRelay> relay = MakeCom<EventRelay>(dispatch);
    Variant result;
    HRESULT hr = InvokeDispatch(front_.Get(), kDispidAdvise, kCall,
                                {Variant::From(static_cast<IDispatch*>(relay.Get()))}, &result);
    LONG value = 0;
    if (SUCCEEDED(hr)) hr = result.To(&value);
    if (SUCCEEDED(hr)) *cookie = static_cast<DWORD>(value);
    return hr;
  }
  STDMETHODIMP Unadvise(DWORD cookie) override {
    return InvokeDispatch(front_.Get(), kDispidUnadvise, kCall, {Variant::From(static_cast<LONG>(cookie))});
  }
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
  }

 private:
  ComPtr<IDispatch> front_;
  ComPtr<IConnectionPointContainer> container_;
};

class MessengerClient final : public Forwarder<IMessenger, IConnectionPointContainer> {
 public:
  explicit MessengerClient(ComPtr<IDispatch> front) : Forwarder(std::move(front)) {}

  STDMETHODIMP get_Window(IDispatch** window) override {
    return GetObject(7, {}, FrontKind::kMainWindow, window);
  }
  STDMETHODIMP StartVoice(VARIANT contact, IDispatch** window) override {
    return GetObject(10, {Variant::Copy(contact)}, FrontKind::kConversation, window);
  }
  STDMETHODIMP InstantMessage(VARIANT contact, IDispatch** window) override {
    return GetObject(21, {Variant::Copy(contact)}, FrontKind::kConversation, window);
  }
  STDMETHODIMP MediaWizard(LONG parent) override { return Call(23, {Variant::From(parent)}); }
  STDMETHODIMP get_MyContacts(IDispatch** contacts) override {
    return GetObject(26, {}, FrontKind::kContacts, contacts);
  }
  STDMETHODIMP get_MyStatus(LONG* status) override { return GetLong(30, status); }

  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points) *points = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(riid, DIID_DMessengerEvents)) return CONNECT_E_NOCONNECTION;
    ComPtr<IConnectionPointContainer> self(static_cast<IConnectionPointContainer*>(this));
    *point = MakeCom<ConnectionPointClient>(front_, self).Detach();
    return S_OK;
  }

  MESSENGER_RESERVED_SLOTS_OF_IMESSENGER
};

// The object's first interface derives from IDispatch, and its IDispatch is that very pointer,
// as programs take an event's object argument straight as its interface.
template <typename T>
ComPtr<IDispatch> Make(const ComPtr<IDispatch>& front) {
  ComPtr<IDispatch> dispatch;
  MakeCom<T>(front)->QueryInterface(IID_IDispatch, dispatch.PutVoid());
  return dispatch;
}

ComPtr<IDispatch> Wrap(const ComPtr<IDispatch>& front, FrontKind kind) {
  switch (kind) {
    case FrontKind::kMessenger:
      return MakeMessengerClient(front);
    case FrontKind::kMainWindow:
      return Make<MainWindowClient>(front);
    case FrontKind::kConversation:
      return Make<ConversationClient>(front);
    case FrontKind::kContacts:
      return Make<ContactsClient>(front);
    case FrontKind::kContact:
      return Make<ContactClient>(front);
  }
  return nullptr;
}

}  // namespace

ComPtr<IDispatch> MakeMessengerClient(ComPtr<IDispatch> front) { return Make<MessengerClient>(front); }

}  // namespace world::messenger::remote
