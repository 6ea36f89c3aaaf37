// msnmsgr.exe's own side of the stand-in's process glue (world/messenger/sim_glue.h, implemented
// for a real process by win_glue.cpp): Messenger's UI thread is a thread of this process, and
// its class is served to other processes through COM as a front (dispatch_front.h).
#pragma once

#include <windows.h>

namespace world::messenger::process {

// The thread running Messenger's windows, or null before it started; signalled once it ended.
HANDLE MessengerThread();
// The outcome of registering Messenger's class with COM (S_OK once registered).
HRESULT ClassRegistration();
// Waits until one of `handles` is signalled, handling the messages sent to this thread
// meanwhile. False on time-out or failure.
bool WaitHandlingSent(DWORD count, const HANDLE* handles, DWORD timeoutMs);

}  // namespace world::messenger::process
