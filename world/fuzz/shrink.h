// Shrinks a failing list of steps to a short one that still fails: whole chunks are dropped
// while the failure stays (halves first, then smaller chunks down to single steps), within a
// budget of trial runs. The last item is the step that broke and is always kept in place.
// `still_fails` runs a trial and, when it still fails, returns the items the failing run used
// (the trial itself, or the part of it up to the step that broke).
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace fuzz {

template <typename T>
std::vector<T> Shrink(std::vector<T> items,
                      const std::function<std::optional<std::vector<T>>(const std::vector<T>&)>& still_fails,
                      int budget) {
  size_t chunks = 2;
  while (items.size() > 1 && budget > 0) {
    size_t droppable = items.size() - 1;  // the last step stays
    chunks = std::min(chunks, droppable);
    size_t size = (droppable + chunks - 1) / chunks;
    bool dropped = false;
    for (size_t start = 0; start < droppable && budget > 0; start += size) {
      std::vector<T> trial(items.begin(), items.begin() + static_cast<long>(start));
      trial.insert(trial.end(), items.begin() + static_cast<long>(std::min(start + size, droppable)),
                   items.end());
      --budget;
      if (auto used = still_fails(trial)) {
        items = std::move(*used);
        dropped = true;
        break;
      }
    }
    if (dropped) {
      chunks = std::max<size_t>(chunks - 1, 2);
    } else if (size == 1) {
      break;
    } else {
      chunks = std::min(chunks * 2, droppable);
    }
  }
  return items;
}

}  // namespace fuzz
