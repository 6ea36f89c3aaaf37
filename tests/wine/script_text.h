// Text between the Windows API (UTF-16) and script and transcript lines (UTF-8), and the
// transcript's quoting.
#pragma once

#include <windows.h>

#include <string>

namespace wine_test {

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& text);
// "TEXT" with backslash and double quote escaped, as tellbud-sim quotes.
std::string Quoted(const std::wstring& text);
// A window's text read with WM_GETTEXT, which asks another process's window as GetWindowText
// does not; "" when the window does not answer within two seconds.
std::wstring WindowText(HWND hWnd);
// The bytes of a file; false when it cannot be read.
bool ReadWholeFile(const std::wstring& path, std::string* bytes);

}  // namespace wine_test
