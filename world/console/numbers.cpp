#include "world/console/numbers.h"

#include <charconv>

namespace console {

std::optional<uint64_t> ParseNumber(const std::string& text) {
  int base = 10;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    begin += 2;
  }
  uint64_t value = 0;
  auto [ptr, ec] = std::from_chars(begin, end, value, base);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

}  // namespace console
