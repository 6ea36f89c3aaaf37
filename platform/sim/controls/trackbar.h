// State of a "msctls_trackbar32" control, read by the world's view (sim/controls.h).
#pragma once

#include <windows.h>

#include "user/user.h"

namespace sim::controls {

struct TrackbarData : user::ControlData {
  LONG min = 0;
  LONG max = 100;
  LONG pos = 0;
  LONG line = 1;
  LONG page = 20;
  LONG tic_freq = 1;
  LONG sel_start = 0;
  LONG sel_end = 0;
};

}  // namespace sim::controls
