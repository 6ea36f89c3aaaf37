// UTF-16 text of the platform's WCHAR and UTF-8 (transcript lines, commands, inspection).
// Portable: works on WCHAR code units, whatever type WCHAR is.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace world {

using WideText = std::basic_string<WCHAR>;

// An unpaired surrogate becomes U+FFFD, so malformed text still gives valid UTF-8.
std::string Utf8Of(const WCHAR* text, size_t length);
inline std::string Utf8Of(const WideText& text) { return Utf8Of(text.data(), text.size()); }

// Invalid or overlong sequences become U+FFFD.
WideText WideFromUtf8(const std::string& text);

}  // namespace world
