// Wide strings in the conformance tests: WCHAR is char16_t on the simulated desktop and wchar_t
// on Windows, so tests write literals with TEXT() and hold text in WString.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

using WString = std::basic_string<WCHAR>;
using WStringView = std::basic_string_view<WCHAR>;
