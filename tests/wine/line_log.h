// The transcript lines a stand-in reports through its world channel, collected by a reader
// thread and read by the test: thread-safe.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wine_test {

class CLineLog {
 public:
  CLineLog() { InitializeCriticalSection(&m_lock); }
  ~CLineLog() { DeleteCriticalSection(&m_lock); }
  CLineLog(const CLineLog&) = delete;
  CLineLog& operator=(const CLineLog&) = delete;

  void Add(const std::string& line);
  std::vector<std::string> Lines() const;
  // How many lines from index `from` on contain `text`.
  size_t Count(const std::string& text, size_t from = 0) const;
  // Whether a line containing `text` has come or comes within `timeoutMs`.
  bool Wait(const std::string& text, DWORD timeoutMs) const;
  // Every line, indented, for failure messages.
  std::string Transcript() const;

 private:
  mutable CRITICAL_SECTION m_lock;
  std::vector<std::string> m_lstLines;
};

}  // namespace wine_test
