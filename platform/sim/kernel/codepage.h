// The simulated desktop's ANSI code page (Windows-1252, the Western default) for the few places
// where the program hands narrow strings to wide functions (%S, %hs, %C in format strings).
#pragma once

#include <string>
#include <string_view>

namespace sim {

std::u16string AnsiToWide(std::string_view text);

}  // namespace sim
