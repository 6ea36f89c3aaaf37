#include "script_transcript.h"

namespace wine_test {

void CScriptTranscript::Add(const std::string& line, uint32_t tick) {
  std::lock_guard<std::mutex> hold(m_lock);
  m_lines.push_back(Line{line, tick, false});
}

bool CScriptTranscript::Eligible(size_t index) const {
  const Line& line = m_lines[index];
  if (line.taken) return false;
  // Ticks wrap after 49 days: compare by difference.
  return index >= m_next || static_cast<int32_t>(line.tick - m_floorTick) >= 0;
}

bool CScriptTranscript::Take(const std::string& text) {
  std::lock_guard<std::mutex> hold(m_lock);
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (!Eligible(i) || m_lines[i].text.find(text) == std::string::npos) continue;
    m_lines[i].taken = true;
    if (!m_anyTaken || i + 1 > m_next) {
      m_next = i + 1;
      m_floorTick = m_lines[i].tick - kOrderSlackMs;
    }
    m_anyTaken = true;
    return true;
  }
  return false;
}

std::vector<std::string> CScriptTranscript::Open() const {
  std::lock_guard<std::mutex> hold(m_lock);
  std::vector<std::string> out;
  for (size_t i = 0; i < m_lines.size(); ++i)
    if (Eligible(i)) out.push_back(m_lines[i].text);
  return out;
}

std::vector<std::string> CScriptTranscript::All() const {
  std::lock_guard<std::mutex> hold(m_lock);
  std::vector<std::string> out;
  for (const Line& line : m_lines) out.push_back(line.text);
  return out;
}

}  // namespace wine_test
