#include "line_log.h"

#include "tests/wine/tellbud_run.h"

namespace wine_test {

void CLineLog::Add(const std::string& line) {
  EnterCriticalSection(&m_lock);
  m_lstLines.push_back(line);
  LeaveCriticalSection(&m_lock);
}

std::vector<std::string> CLineLog::Lines() const {
  EnterCriticalSection(&m_lock);
  std::vector<std::string> copy = m_lstLines;
  LeaveCriticalSection(&m_lock);
  return copy;
}

size_t CLineLog::Count(const std::string& text, size_t from) const {
  std::vector<std::string> lines = Lines();
  size_t count = 0;
  for (size_t i = from; i < lines.size(); ++i) count += lines[i].find(text) != std::string::npos;
  return count;
}

bool CLineLog::Wait(const std::string& text, DWORD timeoutMs) const {
  return WaitFor([&] { return Count(text) > 0; }, timeoutMs);
}

std::string CLineLog::Transcript() const {
  std::string text;
  for (const std::string& line : Lines()) text += "  " + line + "\n";
  return text.empty() ? "  (nothing reported)\n" : text;
}

}  // namespace wine_test
