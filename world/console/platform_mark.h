// A script line that only one of the two script drivers can carry out or observe starts with a
// mark: "[sim] expect handset: plugged" runs only in tellbud-sim (the simulated desktop), "[wine]
// expect tray add" only in the Windows script driver under Wine. Each driver skips the other's
// lines, so one script serves both without silently dropping what one of them cannot see.
#pragma once

#include <string>

namespace console {

enum class Platform { kBoth, kSim, kWine };

struct MarkedLine {
  Platform platform = Platform::kBoth;
  std::string text;   // the line without its mark
  std::string error;  // an unknown or empty mark
};

// Blanks before the mark and after it are dropped; a line without a leading '[' is unmarked.
MarkedLine SplitPlatformMark(const std::string& line);

}  // namespace console
