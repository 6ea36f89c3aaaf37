// Debugger output: what OutputDebugStringW sends goes to every observer with the sender's id.
#include <windows.h>

#include "core/core.h"

void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
  if (!lpOutputString) return;
  DWORD pid = sim::CurrentProcess().info.pid;
  std::u16string text(lpOutputString);
  sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnDebugString(pid, text); });
}
