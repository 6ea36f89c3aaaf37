// What a window drew in its last paint, for tests of painting code.
#pragma once

#include <windows.h>

#include <vector>

namespace sim {

struct PaintOp {
  enum Kind { kIcon, kFill } kind = kIcon;
  int x = 0;
  int y = 0;
  HICON icon = nullptr;
};

// The drawing calls made on the window's device context since its last BeginPaint.
std::vector<PaintOp> LastPaint(HWND hwnd);

}  // namespace sim
