// Tellbud itself started in the world: its command line, second instances, the main window's
// keys and close button, and its debugger output.
#include <gtest/gtest.h>

#include "world/console/console.h"
#include "world/console_fixture.h"

namespace {

using console::Outcome;

class ProgramTest : public ConsoleFixture {
 protected:
  void SetUp() override {
    if (!world::World::ProgramLinked()) GTEST_SKIP() << "the program is not part of this build";
    ConsoleFixture::SetUp();
  }
  bool MainWindowVisible() {
    auto main = world.TellbudMainWindow();
    auto info = main ? sim::InspectWindow(*main) : std::nullopt;
    return info && info->visible;
  }
};

TEST_F(ProgramTest, CommandLineIsTheQuotedModulePathAndTheArguments) {
  ASSERT_EQ(Run("start /quiet \"two words\""), Outcome::kOk);
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
  ASSERT_EQ(Run("start"), Outcome::kOk);
  ASSERT_EQ(Run("window close"), Outcome::kOk);
  EXPECT_FALSE(MainWindowVisible());
  DWORD first = world.RunningTellbuds().at(0);
  ASSERT_EQ(Run("start"), Outcome::kOk);
  EXPECT_EQ(world.RunningTellbuds(), std::vector<DWORD>{first});
  EXPECT_TRUE(MainWindowVisible());
}

TEST_F(ProgramTest, StartWithTheExitMarkerEndsTheRunningOne) {
  ASSERT_EQ(Run("start"), Outcome::kOk);
  ASSERT_EQ(Run("start *exit*"), Outcome::kOk);
  world.Wait(1000);
  EXPECT_TRUE(world.RunningTellbuds().empty());
  EXPECT_TRUE(Printed("tray remove"));
}

TEST_F(ProgramTest, EscapeAndEnterOnTheMainWindowHideIt) {
  ASSERT_EQ(Run("start"), Outcome::kOk);
  ASSERT_TRUE(MainWindowVisible());
  ASSERT_EQ(Run("key escape"), Outcome::kOk);
  EXPECT_FALSE(MainWindowVisible());
  EXPECT_EQ(Run("key enter"), Outcome::kFailed) << "no keys reach a hidden window";
  ASSERT_EQ(Run("tray dblclick"), Outcome::kOk);
  ASSERT_EQ(Run("key enter"), Outcome::kOk);
  EXPECT_FALSE(MainWindowVisible());
  EXPECT_FALSE(Printed("keyboard 0x0D")) << "the person's own keys are not the program's keybd_event";
}

TEST_F(ProgramTest, DebuggerOutputIsPrintedOnlyAfterDebugOn) {
  ASSERT_EQ(Run("start"), Outcome::kOk);
  world.Wait(3000);
  EXPECT_FALSE(Printed("debug "));
  ASSERT_EQ(Run("debug on"), Outcome::kOk);
  world.Wait(3000);
  EXPECT_TRUE(Printed("debug \""));
}

TEST_F(ProgramTest, TellbudFindsItsStartupFolderForStartWithWindows) {
  ASSERT_EQ(Run("start"), Outcome::kOk);
  ASSERT_EQ(Run("tray rclick"), Outcome::kOk);
  ASSERT_EQ(Run("menu AutoRun"), Outcome::kOk);
  world.Settle();
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "Startup" / "Tellbud.lnk"));
}

}  // namespace

namespace {

TEST_F(ProgramTest, ContactListRowsTakeTheMouse) {
  for (const char* line :
       {"messenger start", "messenger signin", "contact add bob@example.com Bob online", "start"})
    ASSERT_EQ(Run(line), Outcome::kOk) << line;
  world.Wait(3000);
  ASSERT_EQ(Run("list rclick 1"), Outcome::kOk);
  EXPECT_TRUE(Printed("menu open \"StartVoice\""));
  EXPECT_EQ(Run("menu none"), Outcome::kOk);
  EXPECT_EQ(Run("list click 0"), Outcome::kBadCommand);
  EXPECT_EQ(Run("list wave 1"), Outcome::kBadCommand);
}

}  // namespace
