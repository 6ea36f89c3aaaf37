// Tellbud itself started in the world: its command line, second instances, the main window's
// keys and close button, and its debugger output.
#include <gtest/gtest.h>

#include "world/console/console.h"
#include "world/core/exe_folder.h"

namespace {

using console::Outcome;

class ProgramTest : public ::testing::Test {
 protected:
  world::TemporaryFolder folder;
  world::World world{folder.path()};
  console::Console console{world};
  std::vector<std::string> printed;

  void SetUp() override {
    if (!world::World::ProgramLinked()) GTEST_SKIP() << "the program is not part of this build";
    world.transcript().SetSink([this](const std::string& line) { printed.push_back(line); });
  }
  bool Printed(const std::string& text) const {
    for (auto& l : printed)
      if (l.find(text) != std::string::npos) return true;
    return false;
  }
  bool MainWindowVisible() {
    auto main = world.TellbudMainWindow();
    auto info = main ? sim::InspectWindow(*main) : std::nullopt;
    return info && info->visible;
  }
};

TEST_F(ProgramTest, CommandLineIsTheQuotedModulePathAndTheArguments) {
  ASSERT_EQ(console.ExecuteLine("start /quiet \"two words\"").outcome, Outcome::kOk);
  auto pids = world.RunningTellbuds();
  ASSERT_EQ(pids.size(), 1u);
  for (const sim::ProcessInfo& p : world.desktop().Processes()) {
    if (p.pid != pids[0]) continue;
    EXPECT_EQ(p.image_name, u"Tellbud.exe");
    EXPECT_EQ(p.module_path, world.ModulePath());
    EXPECT_EQ(p.command_line, u"\"" + world.ModulePath() + u"\" /quiet \"two words\"");
  }
}

TEST_F(ProgramTest, SecondStartShowsTheRunningWindowAndEnds) {
  ASSERT_EQ(console.ExecuteLine("start").outcome, Outcome::kOk);
  ASSERT_EQ(console.ExecuteLine("window close").outcome, Outcome::kOk);
  EXPECT_FALSE(MainWindowVisible());
  DWORD first = world.RunningTellbuds().at(0);
  ASSERT_EQ(console.ExecuteLine("start").outcome, Outcome::kOk);
  EXPECT_EQ(world.RunningTellbuds(), std::vector<DWORD>{first});
  EXPECT_TRUE(MainWindowVisible());
}

TEST_F(ProgramTest, StartWithTheExitMarkerEndsTheRunningOne) {
  ASSERT_EQ(console.ExecuteLine("start").outcome, Outcome::kOk);
  ASSERT_EQ(console.ExecuteLine("start *exit*").outcome, Outcome::kOk);
  world.Wait(1000);
  EXPECT_TRUE(world.RunningTellbuds().empty());
  EXPECT_TRUE(Printed("tray remove"));
}

TEST_F(ProgramTest, EscapeAndEnterOnTheMainWindowHideIt) {
  ASSERT_EQ(console.ExecuteLine("start").outcome, Outcome::kOk);
  ASSERT_TRUE(MainWindowVisible());
  ASSERT_EQ(console.ExecuteLine("key escape").outcome, Outcome::kOk);
  EXPECT_FALSE(MainWindowVisible());
  EXPECT_EQ(console.ExecuteLine("key enter").outcome, Outcome::kFailed) << "no keys reach a hidden window";
  ASSERT_EQ(console.ExecuteLine("tray dblclick").outcome, Outcome::kOk);
  ASSERT_EQ(console.ExecuteLine("key enter").outcome, Outcome::kOk);
  EXPECT_FALSE(MainWindowVisible());
  EXPECT_FALSE(Printed("keyboard 0x0D")) << "the person's own keys are not the program's keybd_event";
}

TEST_F(ProgramTest, DebuggerOutputIsPrintedOnlyAfterDebugOn) {
  ASSERT_EQ(console.ExecuteLine("start").outcome, Outcome::kOk);
  world.Wait(3000);
  EXPECT_FALSE(Printed("debug "));
  ASSERT_EQ(console.ExecuteLine("debug on").outcome, Outcome::kOk);
  world.Wait(3000);
  EXPECT_TRUE(Printed("debug \""));
}

TEST_F(ProgramTest, TellbudFindsItsStartupFolderForStartWithWindows) {
  ASSERT_EQ(console.ExecuteLine("start").outcome, Outcome::kOk);
  ASSERT_EQ(console.ExecuteLine("tray rclick").outcome, Outcome::kOk);
  ASSERT_EQ(console.ExecuteLine("menu AutoRun").outcome, Outcome::kOk);
  world.Settle();
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "Startup" / "Tellbud.lnk"));
}

}  // namespace

namespace {

TEST_F(ProgramTest, ContactListRowsTakeTheMouse) {
  for (const char* line :
       {"messenger start", "messenger signin", "contact add bob@example.com Bob online", "start"})
    ASSERT_EQ(console.ExecuteLine(line).outcome, Outcome::kOk) << line;
  world.Wait(3000);
  ASSERT_EQ(console.ExecuteLine("list rclick 1").outcome, Outcome::kOk);
  EXPECT_TRUE(Printed("menu open \"StartVoice\""));
  EXPECT_EQ(console.ExecuteLine("menu none").outcome, Outcome::kOk);
  EXPECT_EQ(console.ExecuteLine("list click 0").outcome, Outcome::kBadCommand);
  EXPECT_EQ(console.ExecuteLine("list wave 1").outcome, Outcome::kBadCommand);
}

}  // namespace
