// The world's collector of debugger output.
#include <sim/debug.h>

namespace sim {

DebugOutputLog::DebugOutputLog() { Desktop::Current().AddObserver(this); }

DebugOutputLog::~DebugOutputLog() {
  if (Desktop::Exists()) Desktop::Current().RemoveObserver(this);
}

std::u16string DebugOutputLog::Text() const {
  std::u16string all;
  for (const auto& line : lines_) all += line.text;
  return all;
}

}  // namespace sim
