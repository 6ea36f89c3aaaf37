// The handset's keys as scripts name them: digits, '*' and '#' send their characters, the
// function keys (prev, next, del, call, end, speaker) codes above 128, and a number of two or
// more digits (decimal or 0x hexadecimal) sends that code. Shared by tellbud-sim and the
// Windows script driver.
#pragma once

#include <optional>
#include <string>

namespace console {

std::optional<short> HandsetKeyCode(const std::string& name);

}  // namespace console
