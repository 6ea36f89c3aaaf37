// What the objects Messenger hands out know of the Messenger that made them: while it runs,
// its server and the sinks advised on it; once it is gone, nothing, and every call fails as a
// vanished out-of-process server's calls do.
#pragma once

#include <memory>

#include "world/messenger/events.h"
#include "world/messenger/server.h"

namespace world::messenger {

struct ServerLink {
  MessengerServer* server = nullptr;    // null once that Messenger has gone
  std::unique_ptr<Connections> events;  // the sinks advised on this run of Messenger
};

}  // namespace world::messenger
