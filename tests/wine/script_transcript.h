// The Windows script driver's transcript: the lines its observers report (the handset control,
// Messenger, the desktop), each with the real time it arrived, without the simulator's virtual
// time stamps; and `expect` over them with tellbud-sim's meaning: a line containing the text,
// printed after the line the previous expect matched, each line matched once.
//
// The observers run apart (pipes of two processes, a thread polling the desktop), so lines that
// arrive close together carry no dependable order. An expect therefore also accepts a line not
// yet matched that arrived up to kOrderSlackMs before the previous expect's line.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace wine_test {

class CScriptTranscript {
 public:
  // Under load a process's last pipe lines arrive seconds after its end is seen.
  static constexpr uint32_t kOrderSlackMs = 3000;

  // Appends a line that arrived at `tick` (milliseconds of a monotonic clock).
  void Add(const std::string& line, uint32_t tick);
  // Takes the first line that contains `text` and may be expected now (see above); false when
  // none has arrived yet.
  bool Take(const std::string& text);
  // The lines an expect may take now, for a failure message.
  std::vector<std::string> Open() const;
  std::vector<std::string> All() const;

 private:
  bool Eligible(size_t index) const;

  struct Line {
    std::string text;
    uint32_t tick;
    bool taken;
  };
  mutable std::mutex m_lock;
  std::vector<Line> m_lines;
  size_t m_next = 0;         // the line after the one the previous expect took
  uint32_t m_floorTick = 0;  // that line's arrival less the slack
  bool m_anyTaken = false;
};

}  // namespace wine_test
