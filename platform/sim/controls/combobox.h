// State of a "ComboBox" control, read by the world's view (sim/controls.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "user/user.h"

namespace sim::controls {

struct ComboItem {
  std::u16string text;
  LPARAM data = 0;
};

struct ComboData : user::ControlData {
  std::vector<ComboItem> items;
  int selection = -1;
  bool dropped = false;
};

}  // namespace sim::controls
