// The program's entry point, when tellbud-sim is linked with the program.
#pragma once

#include <windows.h>

namespace world {

using ProgramMain = int(WINAPI*)(HINSTANCE, HINSTANCE, LPWSTR, int);

// Tellbud's wWinMain, or null in a build without the program (the world's own tests and the
// stand-ins still work; `start` then reports that the program is missing).
ProgramMain TellbudEntryPoint();

}  // namespace world
