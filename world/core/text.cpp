// The world's text conversions: on the simulated desktop WCHAR is char16_t, so the desktop's
// text is the world's wide text.
#include "world/core/text.h"

#include "world/common/utf8.h"

namespace world {

std::string Utf8(const std::u16string& text) { return Utf8Of(text); }

std::u16string Utf16(const std::string& text) { return WideFromUtf8(text); }

}  // namespace world
