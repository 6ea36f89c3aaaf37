// The sinks a program advised on Messenger's event interface, and the delivery of Messenger's
// events to them: each event is posted to the thread that advised the sink and arrives there as
// IDispatch::Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, params) with the arguments in reverse
// order, contacts and windows as VT_DISPATCH, when that thread's message loop runs.
#pragma once

#include <ole2.h>

#include <memory>
#include <vector>

#include "world/common/com_ptr.h"
#include "world/common/apartment_poster.h"
#include "world/messenger/faults.h"
#include "world/messenger/server.h"

namespace world::messenger {

struct ServerLink;

class Connections : public EventOutlet {
 public:
  explicit Connections(FaultPlan& faults) : faults_(faults) {}
  // The link that event arguments name; set once the link exists.
  void SetLink(std::weak_ptr<ServerLink> link) { link_ = std::move(link); }

  // On Messenger's thread. `poster` runs closures on the advising thread. Returns the cookie.
  DWORD Add(ComPtr<IDispatch> sink, std::shared_ptr<ApartmentPoster> poster);
  // False for an unknown cookie. Events already on their way to the sink are not delivered.
  bool Remove(DWORD cookie);
  // Messenger is gone: every sink is released and nothing more is delivered.
  void DisconnectAll();

  void Fire(MessengerEvent event, const std::vector<EventArg>& args) override;

  static DISPID DispatchIdOf(MessengerEvent event);

 private:
  struct Connection {
    DWORD cookie = 0;
    ComPtr<IDispatch> sink;
    std::shared_ptr<ApartmentPoster> poster;
    bool active = true;
  };
  FaultPlan& faults_;
  std::weak_ptr<ServerLink> link_;
  std::vector<std::shared_ptr<Connection>> connections_;
  DWORD next_cookie_ = 1;
};

}  // namespace world::messenger
