// Converts the program's UTF-16 text (BSTR arguments) to the UTF-8 the world's transcript and
// inspection use. Portable: works on WCHAR code units, whatever type WCHAR is.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace world::handset {

// Unpaired surrogates become U+FFFD, so malformed text still yields valid UTF-8.
std::string Utf16ToUtf8(const WCHAR* text, size_t length);

}  // namespace world::handset
