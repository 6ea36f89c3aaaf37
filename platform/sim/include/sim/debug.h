// Diagnostics for tests and the console: the debugger output processes send, and failures of
// the kernel that are hard to provoke otherwise.
#pragma once

#include <sim/desktop.h>

#include <string>
#include <vector>

namespace sim {

// Collects what OutputDebugStringW sends, from the moment it is created until it is destroyed.
// Create it on the world's thread after the desktop.
class DebugOutputLog : public Observer {
 public:
  struct Line {
    DWORD pid = 0;
    std::u16string text;
  };
  DebugOutputLog();
  ~DebugOutputLog() override;
  DebugOutputLog(const DebugOutputLog&) = delete;
  DebugOutputLog& operator=(const DebugOutputLog&) = delete;

  const std::vector<Line>& lines() const { return lines_; }
  // Everything sent, concatenated (the texts usually end with their own line breaks).
  std::u16string Text() const;
  void OnDebugString(DWORD pid, const std::u16string& text) override { lines_.push_back({pid, text}); }

 private:
  std::vector<Line> lines_;
};

// Makes the next CreateToolhelp32Snapshot fail with `error`.
void FailNextProcessSnapshot(DWORD error = ERROR_NOT_ENOUGH_MEMORY);

}  // namespace sim
