// The generator: from one world it must reach every kind of action the fuzzer promises (a kind
// that silently drops out is a part of the program no longer searched), odd contact names and
// waits from milliseconds to hours; and the quiet step must end what the world has running.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "world/console/duration.h"
#include "world/core/exe_folder.h"
#include "world/fuzz/generator.h"
#include "world/handset/stand_in.h"
#include "world/messenger/stand_in.h"

namespace {

// A world with Messenger signed in, a contact calling and the handset lifted; the steps are
// only drawn, never run, so the world stays as it is.
class GeneratorTest : public ::testing::Test {
 protected:
  world::TemporaryFolder folder;
  world::World world{folder.path()};

  void SetUp() override {
    world.transcript().SetSink([](const std::string&) {});
    ASSERT_TRUE(world.messenger().Start());
    ASSERT_TRUE(world.messenger().SignIn());
    ASSERT_TRUE(world.messenger().AddContact("ann@example.com", "Ann", world::messenger::kStatusOnline));
    ASSERT_TRUE(world.messenger().IncomingCall("ann@example.com"));
  }

  std::vector<fuzz::Words> Draw(uint64_t seed, int count) {
    fuzz::Generator generator(seed);
    std::vector<fuzz::Words> steps;
    for (int i = 0; i < count; ++i) steps.push_back(generator.Next(world));
    return steps;
  }
};

std::string Kind(const fuzz::Words& w) {
  static const std::set<std::string> with_sub = {"handset", "messenger", "contact",
                                                 "tray",    "window",    "start"};
  return with_sub.contains(w[0]) && w.size() > 1 ? w[0] + " " + w[1] : w[0];
}

TEST_F(GeneratorTest, ReachesEveryKindOfStepAndWait) {
  ASSERT_TRUE(world.handset().Plug());
  ASSERT_TRUE(world.handset().Hook(true));
  std::set<std::string> kinds;
  std::set<std::string> added;
  int64_t shortest = INT64_MAX, longest = 0;
  for (const fuzz::Words& step : Draw(7, 20000)) {
    kinds.insert(Kind(step));
    if (step.size() > 2 && step[0] == "contact" && step[1] == "add") added.insert(step[2]);
    if (step[0] == "wait") {
      int64_t ms = *console::ParseDuration(step[1]);
      shortest = std::min(shortest, ms);
      longest = std::max(longest, ms);
    }
  }
  for (const char* kind : {"handset unplug",
                           "handset down",
                           "handset key",
                           "handset dial",
                           "handset line",
                           "handset level",
                           "handset setlevel",
                           "messenger quit",
                           "messenger signin",
                           "messenger signout",
                           "messenger status",
                           "messenger language",
                           "messenger fail",
                           "messenger vanish",
                           "messenger heal",
                           "contact add",
                           "contact remove",
                           "contact status",
                           "call",
                           "answer",
                           "reject",
                           "hangup",
                           "chat",
                           "join",
                           "leave",
                           "close",
                           "window minimize",
                           "window restore",
                           "window close",
                           "tray dblclick",
                           "tray rclick",
                           "start *exit*",
                           "start",
                           "list",
                           "key",
                           "ini",
                           "wait",
                           fuzz::kQuietStep})
    EXPECT_TRUE(kinds.contains(kind)) << kind;
  for (const char* name : {"", " ", "zoë@exämple.com", "Ann@Example.com", "ann@example.com"})
    EXPECT_TRUE(added.contains(name)) << "'" << name << "'";
  EXPECT_LT(shortest, 1000);
  EXPECT_GE(longest, 3600 * 1000);
}

TEST_F(GeneratorTest, PlugsEveryKindOfModel) {
  std::set<std::string> models;
  for (const fuzz::Words& step : Draw(3, 5000))
    if (Kind(step) == "handset plug") models.insert(step.size() > 2 ? step[2] : "default");
  for (const char* model : {"default", "0500", "058F", "0AB0", "0200", "0"})
    EXPECT_TRUE(models.contains(model)) << model;
}

TEST_F(GeneratorTest, QuietEndsWhatRuns) {
  ASSERT_TRUE(world.handset().Plug());
  ASSERT_TRUE(world.handset().Hook(true));
  std::vector<fuzz::Words> quiet = fuzz::QuietCommands(world);
  auto has = [&](const fuzz::Words& w) { return std::find(quiet.begin(), quiet.end(), w) != quiet.end(); };
  EXPECT_TRUE(has({"messenger", "heal"}));
  EXPECT_TRUE(has({"hangup", "ann@example.com"}));
  EXPECT_TRUE(has({"handset", "down"}));
  EXPECT_EQ(quiet.back(), (fuzz::Words{"wait", "30s"}));
}

}  // namespace
