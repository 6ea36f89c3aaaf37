// The USB handset as the person at the PC plays it.
#include "world/console/console.h"

namespace console {

void AddHandsetCommands(Console&) {}

}  // namespace console
