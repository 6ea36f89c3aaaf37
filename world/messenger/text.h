// Text as Messenger keeps it: UTF-16 strings of the platform's WCHAR, with the few helpers the
// stand-in needs (sign-in names compared without case, UTF-8 for transcript lines).
#pragma once

#include <windows.h>

#include <string>

namespace world::messenger {

using Text = std::basic_string<WCHAR>;

// Sign-in names are e-mail addresses; Messenger compares them without regard to case.
bool SameSigninName(const Text& a, const Text& b);

// UTF-16 to UTF-8 for transcript lines; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(const Text& text);
// UTF-8 to UTF-16 for names and texts the world gives; invalid bytes become U+FFFD.
Text FromUtf8(const std::string& text);

}  // namespace world::messenger
