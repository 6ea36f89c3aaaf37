#include "world/console/handset_keys.h"

#include <utility>

#include "world/console/numbers.h"

namespace console {

std::optional<short> HandsetKeyCode(const std::string& name) {
  if (name.size() == 1 && ((name[0] >= '0' && name[0] <= '9') || name[0] == '*' || name[0] == '#'))
    return static_cast<short>(name[0]);
  static const std::pair<const char*, short> kNames[] = {
      {"prev", 129}, {"next", 130}, {"del", 133}, {"call", 135}, {"end", 136}, {"speaker", 142},
  };
  for (auto& [key, code] : kNames)
    if (name == key) return code;
  auto number = ParseNumber(name);
  if (number && name.size() > 1 && *number <= 0x7FFF) return static_cast<short>(*number);
  return std::nullopt;
}

}  // namespace console
