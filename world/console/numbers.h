// Numbers as commands take them: decimal, or hexadecimal with 0x ("0x0200").
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace console {

// Nothing for signs, blanks, trailing characters or values beyond 64 bits.
std::optional<uint64_t> ParseNumber(const std::string& text);

}  // namespace console
