// Built when the program is part of the build: its wWinMain is the entry point.
#include "world/core/program_entry.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR command_line, int show);

namespace world {

ProgramMain TellbudEntryPoint() { return &wWinMain; }

}  // namespace world
