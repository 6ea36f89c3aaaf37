#include "world/messenger/events.h"

#include <algorithm>

#include "world/messenger/proxy_base.h"

namespace world::messenger {

namespace {

// The event's arguments as VARIANTs, last argument first, owning what they hold.
class EventParams {
 public:
  EventParams(const Link& link, MessengerEvent event, const std::vector<EventArg>& args,
              std::optional<VARTYPE> window_type) {
    values_.resize(args.size());
    for (size_t i = 0; i < args.size(); ++i)
      Fill(values_[args.size() - 1 - i], link, event, args[i], window_type);
    params_.rgvarg = values_.empty() ? nullptr : values_.data();
    params_.cArgs = static_cast<UINT>(values_.size());
  }
  ~EventParams() {
    for (VARIANT& v : values_) VariantClear(&v);
  }
  EventParams(const EventParams&) = delete;
  EventParams& operator=(const EventParams&) = delete;
  DISPPARAMS* get() { return &params_; }

 private:
  static void Fill(VARIANT& v, const Link& link, MessengerEvent event, const EventArg& arg,
                   std::optional<VARTYPE> window_type) {
    VariantInit(&v);
    switch (arg.kind) {
      case EventArg::Kind::kLong:
        v.vt = VT_I4;
        v.lVal = arg.value;
        break;
      case EventArg::Kind::kContact:
        v.vt = VT_DISPATCH;
        ReturnDispatch(MakeContactObject(link, arg.signin), &v.pdispVal);
        break;
      case EventArg::Kind::kWindow:
        if (window_type) {
          // The world asked for a malformed argument: the handle as a number, or nothing.
          v.vt = *window_type;
          v.llVal = 0;
          if (*window_type == VT_I4) v.lVal = static_cast<LONG>(reinterpret_cast<LONG_PTR>(arg.hwnd));
          break;
        }
        v.vt = VT_DISPATCH;
        ReturnDispatch(
            MakeConversationObject(link, arg.conversation, arg.hwnd, event == MessengerEvent::kWindowClosed),
            &v.pdispVal);
        break;
    }
  }

  std::vector<VARIANT> values_;
  DISPPARAMS params_{nullptr, nullptr, 0, 0};
};

bool HasWindowArgument(const std::vector<EventArg>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const EventArg& a) { return a.kind == EventArg::Kind::kWindow; });
}

}  // namespace

DISPID Connections::DispatchIdOf(MessengerEvent event) {
  switch (event) {
    case MessengerEvent::kSignedIn:
      return DISPID_MUAE_ONSIGNIN;
    case MessengerEvent::kSignedOut:
      return DISPID_MUAE_ONSIGNOUT;
    case MessengerEvent::kContactAdded:
      return DISPID_MUAE_ONCONTACTADDED;
    case MessengerEvent::kContactRemoved:
      return DISPID_MUAE_ONCONTACTREMOVED;
    case MessengerEvent::kContactStatusChanged:
      return DISPID_MUAE_ONCONTACTSTATUSCHANGE;
    case MessengerEvent::kWindowOpened:
      return DISPID_MUAE_ONIMWINDOWCREATED;
    case MessengerEvent::kWindowClosed:
      return DISPID_MUAE_ONIMWINDOWDESTROYED;
    case MessengerEvent::kParticipantJoined:
      return DISPID_MUAE_ONIMWINDOWCONTACTADDED;
    case MessengerEvent::kParticipantLeft:
      return DISPID_MUAE_ONIMWINDOWCONTACTREMOVED;
  }
  return DISPID_UNKNOWN;
}

DWORD Connections::Add(ComPtr<IDispatch> sink, std::shared_ptr<ApartmentPoster> poster) {
  auto c = std::make_shared<Connection>();
  c->cookie = next_cookie_++;
  c->sink = std::move(sink);
  c->poster = std::move(poster);
  connections_.push_back(c);
  return c->cookie;
}

bool Connections::Remove(DWORD cookie) {
  auto it = std::find_if(connections_.begin(), connections_.end(),
                         [&](const std::shared_ptr<Connection>& c) { return c->cookie == cookie; });
  if (it == connections_.end()) return false;
  (*it)->active = false;
  (*it)->sink.Reset();
  connections_.erase(it);
  return true;
}

void Connections::DisconnectAll() {
  for (auto& c : connections_) {
    c->active = false;
    c->sink.Reset();
  }
  connections_.clear();
}

void Connections::Fire(MessengerEvent event, const std::vector<EventArg>& args) {
  std::optional<VARTYPE> window_type;
  if (HasWindowArgument(args)) window_type = faults_.TakeWindowArgumentCorruption();
  Link link = link_.lock();
  DISPID dispid = DispatchIdOf(event);
  for (const auto& c : connections_) {
    // The closure keeps the sink alive until it has run; Unadvise in between stops the call.
    // It names its connection weakly: the connection owns the poster that queues the closure.
    std::weak_ptr<Connection> weak = c;
    c->poster->Post([weak, sink = c->sink, link, event, args, window_type, dispid] {
      auto connection = weak.lock();
      if (!connection || !connection->active) return;
      EventParams params(link, event, args, window_type);
      sink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, params.get(), nullptr, nullptr, nullptr);
    });
  }
}

}  // namespace world::messenger
