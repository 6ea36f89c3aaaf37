#include "controls/control.h"
namespace sim::controls {
void RegisterTrackbarClass() {}
}  // namespace sim::controls
