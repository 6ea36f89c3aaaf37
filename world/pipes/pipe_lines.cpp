#include "world/pipes/pipe_lines.h"

namespace world::pipes {

HANDLE OpenPipe(const std::wstring& name, DWORD access) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    HANDLE pipe = CreateFileW(name.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe != INVALID_HANDLE_VALUE) return pipe;
    if (GetLastError() != ERROR_PIPE_BUSY) return nullptr;
    WaitNamedPipeW(name.c_str(), 100);
  }
  return nullptr;
}

void ReadLines(HANDLE pipe, const std::function<void(std::string)>& line) {
  std::string pending;
  char buffer[512];
  DWORD read = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read) {
    pending.append(buffer, read);
    for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
      std::string text = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!text.empty() && text.back() == '\r') text.pop_back();
      line(std::move(text));
    }
  }
}

bool WriteLine(HANDLE pipe, const std::string& line) {
  std::string data = line + "\n";
  DWORD written = 0;
  return WriteFile(pipe, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
         written == data.size();
}

}  // namespace world::pipes
