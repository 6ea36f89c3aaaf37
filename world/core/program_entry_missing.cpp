// Built while the program is not part of the build.
#include "world/core/program_entry.h"

namespace world {

ProgramMain TellbudEntryPoint() { return nullptr; }

}  // namespace world
