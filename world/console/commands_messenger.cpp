// Messenger and its contacts as the world plays them.
#include "world/console/console.h"

namespace console {

void AddMessengerCommands(Console&) {}

}  // namespace console
