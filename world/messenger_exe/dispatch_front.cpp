#include "world/messenger_exe/dispatch_front.h"

#include <optional>
#include <utility>
#include <vector>

#include "world/common/com_object.h"
#include "world/messenger/proxy_base.h"
#include "world/messenger_exe/forward_event.h"
#include "world/messenger_exe/remote_protocol.h"

namespace world::messenger::remote {

namespace {

// Argument `index` in call order.
const VARIANT* Arg(const DISPPARAMS* params, UINT index) {
  if (!params || index >= params->cArgs || !params->rgvarg) return nullptr;
  return &params->rgvarg[params->cArgs - 1 - index];
}

HRESULT LongArg(const DISPPARAMS* params, UINT index, LONG* out) {
  const VARIANT* v = Arg(params, index);
  if (!v) return DISP_E_BADPARAMCOUNT;
  VARIANT converted;
  VariantInit(&converted);
  HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(v), 0, VT_I4);
  if (SUCCEEDED(hr)) *out = converted.lVal;
  VariantClear(&converted);
  return hr;
}

void SetLong(VARIANT* result, LONG value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = value;
}

// Calls `get` for an object and returns its front as the call's result.
template <typename Get>
HRESULT SetObject(VARIANT* result, Get get) {
  IDispatch* object = nullptr;
  HRESULT hr = get(&object);
  ComPtr<IDispatch> owned = ComPtr<IDispatch>::Adopt(object);
  if (FAILED(hr)) return hr;
  if (result) {
    VariantInit(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = MakeFront(owned.Get()).Detach();
  }
  return hr;
}

// Calls `get` for a string and returns it as the call's result.
template <typename Get>
HRESULT SetString(VARIANT* result, Get get) {
  BSTR text = nullptr;
  HRESULT hr = get(&text);
  if (FAILED(hr) || !result) {
    SysFreeString(text);
    return hr;
  }
  VariantInit(result);
  result->vt = VT_BSTR;
  result->bstrVal = text;
  return hr;
}

// Delivers the stand-in's events to a sink in another process: the event's objects (stand-in
// proxies, which answer no late-bound call) become fronts on the way.
class SinkAdapter final : public ComObject<IDispatch> {
 public:
  explicit SinkAdapter(ComPtr<IDispatch> sink) : sink_(std::move(sink)) {}

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return DISP_E_BADINDEX; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  // A program that went away is no reason to stop: its calls fail and it is not told again.
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return ForwardEvent(sink_.Get(), id, params, [](IDispatch* object) { return MakeFront(object); });
  }

 private:
  ComPtr<IDispatch> sink_;
};

class Front final : public ComObject<IDispatch> {
 public:
  // `typed` is the fronted interface's own pointer.
  Front(FrontKind kind, IUnknown* typed) : kind_(kind), typed_(typed) {}

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return DISP_E_BADINDEX; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    if (result) VariantInit(result);
    if (id == kDispidKind) {
      SetLong(result, static_cast<LONG>(kind_));
      return S_OK;
    }
    switch (kind_) {
      case FrontKind::kMessenger:
        return InvokeMessenger(id, params, result);
      case FrontKind::kMainWindow:
      case FrontKind::kConversation:
        return InvokeWindow(id, params, result);
      case FrontKind::kContacts:
        return InvokeContacts(id, params, result);
      case FrontKind::kContact:
        return InvokeContact(id, result);
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  template <typename I>
  I* As() const {
    return reinterpret_cast<I*>(typed_.Get());
  }

  HRESULT InvokeMessenger(DISPID id, DISPPARAMS* params, VARIANT* result) {
    IMessenger* m = As<IMessenger>();
    const VARIANT* contact = Arg(params, 0);
    LONG value = 0;
    switch (id) {
      case 7:
        return SetObject(result, [&](IDispatch** out) { return m->get_Window(out); });
      case 10:
        if (!contact) return DISP_E_BADPARAMCOUNT;
        return SetObject(result, [&](IDispatch** out) { return m->StartVoice(*contact, out); });
      case 21:
        if (!contact) return DISP_E_BADPARAMCOUNT;
        return SetObject(result, [&](IDispatch** out) { return m->InstantMessage(*contact, out); });
      case 23: {
        HRESULT hr = LongArg(params, 0, &value);
        return FAILED(hr) ? hr : m->MediaWizard(value);
      }
      case 26:
        return SetObject(result, [&](IDispatch** out) { return m->get_MyContacts(out); });
      case 30: {
        HRESULT hr = m->get_MyStatus(&value);
        if (SUCCEEDED(hr)) SetLong(result, value);
        return hr;
      }
      case kDispidAdvise:
        return Advise(contact, result);
      case kDispidUnadvise: {
        HRESULT hr = LongArg(params, 0, &value);
        ComPtr<IConnectionPoint> point;
        if (SUCCEEDED(hr)) hr = FindPoint(&point);
        return FAILED(hr) ? hr : point->Unadvise(static_cast<DWORD>(value));
      }
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  HRESULT FindPoint(ComPtr<IConnectionPoint>* point) {
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = typed_->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
    return FAILED(hr) ? hr : container->FindConnectionPoint(DIID_DMessengerEvents, point->Put());
  }

  // The sink is asked for IDispatch only: the events interface has no marshalling of its own.
  HRESULT Advise(const VARIANT* sink, VARIANT* result) {
    if (!sink || sink->vt != VT_DISPATCH || !sink->pdispVal) return E_INVALIDARG;
    ComPtr<IDispatch> remote;
    HRESULT hr = sink->pdispVal->QueryInterface(IID_IDispatch, remote.PutVoid());
    ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(hr)) hr = FindPoint(&point);
    if (FAILED(hr)) return hr;
    ComPtr<SinkAdapter> adapter = MakeCom<SinkAdapter>(remote);
    DWORD cookie = 0;
    hr = point->Advise(adapter.Get(), &cookie);
    if (SUCCEEDED(hr)) SetLong(result, static_cast<LONG>(cookie));
    return hr;
  }

  HRESULT InvokeWindow(DISPID id, DISPPARAMS*, VARIANT* result) {
    IMessengerConversationWnd* w = As<IMessengerConversationWnd>();
    LONG handle = 0;
    switch (id) {
      case 7:
        return w->Close();
      case 8: {
        HRESULT hr = w->get_HWND(&handle);
        if (SUCCEEDED(hr)) SetLong(result, handle);
        return hr;
      }
      case 18:
        return w->Show();
      default:
        break;
    }
    if (kind_ != FrontKind::kConversation) return DISP_E_MEMBERNOTFOUND;
    if (id == 21) return SetObject(result, [&](IDispatch** out) { return w->get_Contacts(out); });
    if (id == 22) return SetString(result, [&](BSTR* out) { return w->get_History(out); });
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT InvokeContacts(DISPID id, DISPPARAMS* params, VARIANT* result) {
    IMessengerContacts* c = As<IMessengerContacts>();
    LONG value = 0;
    if (id == 7) {
      HRESULT hr = c->get_Count(&value);
      if (SUCCEEDED(hr)) SetLong(result, value);
      return hr;
    }
    if (id != 8) return DISP_E_MEMBERNOTFOUND;
    HRESULT hr = LongArg(params, 0, &value);
    if (FAILED(hr)) return hr;
    return SetObject(result, [&](IDispatch** out) { return c->Item(value, out); });
  }

  HRESULT InvokeContact(DISPID id, VARIANT* result) {
    IMessengerContact* c = As<IMessengerContact>();
    LONG status = 0;
    switch (id) {
      case 7:
        return SetString(result, [&](BSTR* out) { return c->get_FriendlyName(out); });
      case 8: {
        HRESULT hr = c->get_Status(&status);
        if (SUCCEEDED(hr)) SetLong(result, status);
        return hr;
      }
      case 9:
        return SetString(result, [&](BSTR* out) { return c->get_SigninName(out); });
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  FrontKind kind_;
  ComPtr<IUnknown> typed_;
};

// The interface an object answers decides its front; the conversation before the window it
// derives from.
std::optional<std::pair<FrontKind, const IID*>> KindOf(IUnknown* object) {
  static const std::pair<FrontKind, const IID*> kKinds[] = {
      {FrontKind::kMessenger, &IID_IMessenger},
      {FrontKind::kConversation, &IID_IMessengerConversationWnd},
      {FrontKind::kMainWindow, &IID_IMessengerWindow},
      {FrontKind::kContacts, &IID_IMessengerContacts},
      {FrontKind::kContact, &IID_IMessengerContact},
  };
  for (const auto& kind : kKinds) {
    ComPtr<IUnknown> probe;
    if (SUCCEEDED(object->QueryInterface(*kind.second, probe.PutVoid()))) return kind;
  }
  return std::nullopt;
}

}  // namespace

ComPtr<IDispatch> MakeFront(IUnknown* object) {
  if (!object) return nullptr;
  auto kind = KindOf(object);
  if (!kind) return nullptr;
  // The front calls the fronted interface's slots, so it keeps that very interface.
  ComPtr<IUnknown> typed;
  object->QueryInterface(*kind->second, typed.PutVoid());
  return ComPtr<IDispatch>::Adopt(MakeCom<Front>(kind->first, typed.Get()).Detach());
}

}  // namespace world::messenger::remote
