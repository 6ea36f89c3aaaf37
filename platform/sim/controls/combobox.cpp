#include "controls/control.h"
namespace sim::controls {
void RegisterComboBoxClass() {}
}  // namespace sim::controls
