#include "controls/control.h"
namespace sim::controls {
void RegisterListViewClass() {}
}  // namespace sim::controls
