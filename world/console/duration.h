// Durations of the `wait` command: a number with a unit, or several in a row: "500ms", "2s",
// "1m", "1h", "1m30s", "1.5s". The result is in milliseconds; fractions below a millisecond are
// dropped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace console {

std::optional<int64_t> ParseDuration(const std::string& text);

}  // namespace console
