// The fuzzer's one source of chance: a small generator with a fixed algorithm (SplitMix64), so a
// seed gives the same world on every machine and library, unlike the standard distributions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1 (0 when n is 0).
  uint64_t Below(uint64_t n) { return n == 0 ? 0 : Next() % n; }
  int64_t Between(int64_t low, int64_t high) { return low + static_cast<int64_t>(Below(high - low + 1)); }
  // True with probability percent / 100.
  bool Percent(int percent) { return static_cast<int>(Below(100)) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Below(items.size())];
  }

 private:
  uint64_t state_;
};

}  // namespace fuzz
