// The shrinker: a failure that needs a few items out of many shrinks to just those, in order,
// within its budget, keeping the step that broke last.
#include <gtest/gtest.h>

#include <algorithm>

#include "world/fuzz/shrink.h"

namespace {

using Items = std::vector<int>;

// Fails while 3 and then 7 come before the last item (the breaking step, 99).
std::optional<Items> NeedsThreeThenSeven(const Items& items, int* runs) {
  ++*runs;
  auto three = std::find(items.begin(), items.end(), 3);
  if (three == items.end() || std::find(three, items.end(), 7) == items.end()) return std::nullopt;
  if (items.empty() || items.back() != 99) return std::nullopt;
  return items;
}

TEST(FuzzShrink, KeepsOnlyWhatTheFailureNeeds) {
  Items items;
  for (int i = 0; i < 200; ++i) items.push_back(i % 10);
  items.push_back(99);
  int runs = 0;
  Items shrunk = fuzz::Shrink<int>(
      items, [&](const Items& t) { return NeedsThreeThenSeven(t, &runs); }, 1000);
  EXPECT_EQ(shrunk, (Items{3, 7, 99}));
  EXPECT_LT(runs, 200);  // far fewer runs than one per item of the list
}

TEST(FuzzShrink, StopsAtItsBudget) {
  Items items(100, 1);
  items.push_back(99);
  int runs = 0;
  fuzz::Shrink<int>(
      items,
      [&](const Items& t) -> std::optional<Items> {
        ++runs;
        return t;
      },
      5);
  EXPECT_EQ(runs, 5);
}

// A trial that breaks earlier than its end reports the shorter run it made; the shrinker goes on
// from that, so steps after the break never come back.
TEST(FuzzShrink, TakesTheShorterRunATrialReports) {
  Items items = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  auto breaks_at_five = [](const Items& t) -> std::optional<Items> {
    auto five = std::find(t.begin(), t.end(), 5);
    if (five == t.end()) return std::nullopt;
    return Items(t.begin(), five + 1);
  };
  EXPECT_EQ(fuzz::Shrink<int>(items, breaks_at_five, 100), (Items{5}));
}

TEST(FuzzShrink, ASingleStepStaysAsItIs) {
  int runs = 0;
  EXPECT_EQ(fuzz::Shrink<int>(
                {42},
                [&](const Items& t) -> std::optional<Items> {
                  ++runs;
                  return t;
                },
                10),
            (Items{42}));
  EXPECT_EQ(runs, 0);
}

}  // namespace
