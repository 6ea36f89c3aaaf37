// The stand-in's only contact with the simulated desktop beyond the Windows API: Messenger's
// process, running the world until idle, and vanishing from inside a call.
#pragma once

#include <windows.h>

#include <functional>

namespace world::messenger::glue {

// Adds the process "msnmsgr.exe" and runs `body` as its first thread; the process ends when
// `body` returns. Returns the process id, 0 on failure.
DWORD StartMessengerProcess(std::function<void()> body);
bool IsProcessRunning(DWORD pid);
// Lets every simulated thread run until all wait (from the world's thread).
void RunUntilIdle();
// Ends Messenger's process from inside its own thread, as a crash would; does not return.
[[noreturn]] void VanishNow();

}  // namespace world::messenger::glue
