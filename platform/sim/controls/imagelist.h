// Image lists of the desktop, read by the world's view (sim/controls.h).
#pragma once

#include <commctrl.h>

#include <vector>

namespace sim::controls {

// The icons of an image list in index order; empty for an unknown handle.
std::vector<HICON> ImageListIcons(HIMAGELIST list);

}  // namespace sim::controls
