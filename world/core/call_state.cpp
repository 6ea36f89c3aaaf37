#include "world/core/call_state.h"

namespace world {

// The default until the program side provides its own definition (see call_state.h).
__attribute__((weak)) std::optional<std::string> TellbudCallState(DWORD) { return std::nullopt; }

}  // namespace world
