#include "world/console/duration.h"

#include <cmath>

namespace console {

namespace {

constexpr int64_t kLimit = int64_t{1} << 50;  // more than 35 000 years: a typing error

}  // namespace

std::optional<int64_t> ParseDuration(const std::string& text) {
  if (text.empty()) return std::nullopt;
  double total = 0;
  size_t i = 0;
  while (i < text.size()) {
    size_t digits_start = i;
    while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) ++i;
    std::string number = text.substr(digits_start, i - digits_start);
    if (number.empty() || number == "." || number.find('.') != number.rfind('.')) return std::nullopt;
    size_t unit_start = i;
    while (i < text.size() && text[i] >= 'a' && text[i] <= 'z') ++i;
    std::string unit = text.substr(unit_start, i - unit_start);
    double scale = unit == "ms" ? 1 : unit == "s" ? 1000 : unit == "m" ? 60000 : unit == "h" ? 3600000 : 0;
    if (scale == 0) return std::nullopt;
    total += std::stod(number) * scale;
    if (total > static_cast<double>(kLimit)) return std::nullopt;
  }
  return static_cast<int64_t>(std::floor(total));
}

}  // namespace console
