#include "world/messenger/link.h"

namespace world::messenger {

namespace {

class NoConnections : public EventOutlet {
 public:
  void Fire(MessengerEvent, const std::vector<EventArg>&) override {}
};

}  // namespace

std::unique_ptr<EventOutlet> CreateEventConnections() { return std::make_unique<NoConnections>(); }

}  // namespace world::messenger
