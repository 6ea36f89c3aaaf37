// HOOK FOR THE PROGRAM SIDE: the call state that `show` prints comes from the running program's
// main window object, which only the program can read. The program side provides
// TellbudCallState() in a file linked with the program (a strong definition replaces the weak
// default in call_state.cpp); until then `show` prints "call state: unknown".
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace world {

// The call state of the Tellbud process `pid` in a few words ("idle", "ringing bob@example.com",
// "talking bob@example.com"), or nothing when it cannot be told. Called on the world's thread
// with every program thread blocked, so the program's objects may be read directly.
std::optional<std::string> TellbudCallState(DWORD pid);

}  // namespace world
