// A lock for a few instructions' worth of shared state, usable with std::lock_guard. Portable
// where std::mutex is not (the Windows cross compiler's thread model has none). Never hold it
// across a call that may block or run other code.
#pragma once

#include <atomic>

namespace world {

class SpinLock {
 public:
  void lock() {
    while (flag_.test_and_set(std::memory_order_acquire)) {
    }
  }
  void unlock() { flag_.clear(std::memory_order_release); }

 private:
  std::atomic_flag flag_ = ATOMIC_FLAG_INIT;
};

}  // namespace world
