// The stand-ins' side of a world channel under Windows: named pipes the test driver created,
// carrying text lines.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace world::pipes {

// Opens the client end of the named pipe `name`, waiting a while when it is busy; null when it
// cannot be opened.
HANDLE OpenPipe(const std::wstring& name, DWORD access);
// Reads lines (without their "\n" or "\r\n") until the pipe ends, handing each to `line`.
void ReadLines(HANDLE pipe, const std::function<void(std::string)>& line);
// Writes `line` and a line end; false when the pipe is gone.
bool WriteLine(HANDLE pipe, const std::string& line);

}  // namespace world::pipes
