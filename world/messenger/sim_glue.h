// The stand-in's only contact with the simulated desktop beyond the Windows API: Messenger's
// process, running the world until idle, and vanishing from inside a call.
#pragma once

#include <ole2.h>

#include <functional>

namespace world::messenger::glue {

// Adds the process "msnmsgr.exe" and runs `body` as its first thread; the process ends when
// `body` returns. Returns the process id, 0 on failure.
DWORD StartMessengerProcess(std::function<void()> body);
bool IsProcessRunning(DWORD pid);
// Lets every simulated thread run until all wait (from the world's thread).
void RunUntilIdle();
// Registers Messenger's class for CoCreateInstance on the current desktop as a local server
// served by "msnmsgr.exe" (creation fails with CO_E_SERVER_EXEC_FAILURE while that does not
// run). `create` makes the object for the requested interface.
void RegisterMessengerClass(std::function<HRESULT(REFIID riid, void** ppv)> create);
// Removes the registration, if the desktop still exists.
void UnregisterMessengerClass();
// Ends Messenger's process from inside its own thread, as a crash would; does not return.
[[noreturn]] void VanishNow();

}  // namespace world::messenger::glue
