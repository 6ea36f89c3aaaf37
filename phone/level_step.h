// The handset's level key steps the level 10, 15, ..., 75 and back to 10.
#pragma once

#include <windows.h>

// The level after `level`: add 5, keep the remainder of division by 80 (with the sign of the
// dividend), and add 10 when that, as a 16-bit value, is below 2. So 75 steps to 10, 76 to 11
// and 77 to 2.
inline SHORT NextLevel(SHORT level) {
  SHORT next = static_cast<SHORT>((level + 5) % 80);
  if (next < 2) next = static_cast<SHORT>(next + 10);
  return next;
}
