// UTF-16 (the desktop's WCHAR text) to and from UTF-8 (transcript lines, commands, files).
#pragma once

#include <string>

namespace world {

// An unpaired surrogate becomes U+FFFD.
std::string Utf8(const std::u16string& text);
// Invalid or overlong sequences become U+FFFD.
std::u16string Utf16(const std::string& text);

}  // namespace world
