// Messenger's Accept and Decline shortcuts as written in the settings file ("Alt+C").
#pragma once

#include <windows.h>

// The key code that follows "Alt+": the next character's 16-bit code, used unchanged as a
// virtual-key code (so "Alt+a" gives 0x61, not the A key). 0 when the text does not begin
// with exactly "Alt+" or nothing follows it.
inline WORD ParseAltShortcut(LPCWSTR text) {
  static const WCHAR kPrefix[] = {'A', 'l', 't', '+'};
  if (!text) return 0;
  for (int i = 0; i < 4; ++i)
    if (text[i] != kPrefix[i]) return 0;
  return static_cast<WORD>(text[4]);
}
