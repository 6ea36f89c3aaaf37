// The world's text conversions are the Messenger stand-in's: on the simulated desktop WCHAR is
// char16_t, so its text is the desktop's.
#include "world/core/text.h"

#include "world/messenger/text.h"

namespace world {

std::string Utf8(const std::u16string& text) { return messenger::ToUtf8(text); }

std::u16string Utf16(const std::string& text) { return messenger::FromUtf8(text); }

}  // namespace world
