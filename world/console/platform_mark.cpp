#include "world/console/platform_mark.h"

namespace console {

MarkedLine SplitPlatformMark(const std::string& line) {
  MarkedLine out;
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos || line[start] != '[') {
    out.text = line;
    return out;
  }
  size_t close = line.find(']', start);
  std::string name = close == std::string::npos ? "" : line.substr(start + 1, close - start - 1);
  if (name == "sim") {
    out.platform = Platform::kSim;
  } else if (name == "wine") {
    out.platform = Platform::kWine;
  } else {
    out.error = "unknown platform mark '" +
                line.substr(start, close == std::string::npos ? 1 : close - start + 1) +
                "' (a line may start with [sim] or [wine])";
    return out;
  }
  size_t rest = line.find_first_not_of(" \t", close + 1);
  if (rest == std::string::npos || line[rest] == '#') {
    out.error = "[" + name + "] needs a command after it";
    return out;
  }
  out.text = line.substr(rest);
  return out;
}

}  // namespace console
