// One Tellbud per user: a second start brings the running one forward, a start with "*exit*"
// ends it; neither touches a file nor adds a tray icon.
#include "support/program_fixture.h"

#include <sim/files.h>
#include <sim/tray.h>

namespace {

class SingleInstanceTest : public ProgramFixture {
 protected:
  bool MainWindowVisible() {
    auto main = world.TellbudMainWindow();
    auto info = main ? sim::InspectWindow(*main) : std::nullopt;
    return info && info->visible;
  }
  // Starts a process that must end at once, doing nothing visible of its own.
  void ExpectEndsWithoutTouchingAnything(const std::string& arguments) {
    SCOPED_TRACE("start " + arguments);
    const size_t iconsBefore = sim::TrayIcons().size();
    const DWORD pid = world.StartTellbud(arguments);
    ASSERT_NE(pid, 0u);
    EXPECT_FALSE(world.desktop().IsProcessRunning(pid));
    EXPECT_EQ(world.desktop().ProcessExitCode(pid), 0);
    EXPECT_TRUE(sim::OpenedFiles(pid).empty()) << "no settings file is read";
    EXPECT_LE(sim::TrayIcons().size(), iconsBefore);
  }
};

TEST_F(SingleInstanceTest, SecondStartShowsTheHiddenWindowInTheForegroundAndEnds) {
  Run("start");
  const DWORD first = world.RunningTellbuds().at(0);
  Run("window close");
  ASSERT_FALSE(MainWindowVisible());
  Forget();

  ExpectEndsWithoutTouchingAnything("");
  EXPECT_EQ(world.RunningTellbuds(), std::vector<DWORD>{first});
  EXPECT_TRUE(MainWindowVisible());
  EXPECT_EQ(GetForegroundWindow(), *world.TellbudMainWindow());
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
  EXPECT_EQ(sim::TrayIcons().size(), 1u);
  EXPECT_FALSE(PrintedSinceMark("tray add"));
}

TEST_F(SingleInstanceTest, ExitMarkerEndsTheRunningInstanceThroughItsTearDownEvenWhenHidden) {
  RunAll({"handset plug", "start", "wait 1s", "window close"});
  ASSERT_PRINTED("handset OpenDevice(0) -> TRUE");
  const DWORD first = world.RunningTellbuds().at(0);

  ExpectEndsWithoutTouchingAnything("*exit*");
  EXPECT_FALSE(world.desktop().IsProcessRunning(first));
  EXPECT_EQ(world.desktop().ProcessExitCode(first), 0);
  EXPECT_PRINTED("handset CloseDevice()");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" destroyed");
  EXPECT_PRINTED("tray remove");
  EXPECT_TRUE(sim::TrayIcons().empty());
}

TEST_F(SingleInstanceTest, ExitMarkerIsFoundAnywhereButOnlyInLowerCase) {
  Run("start");
  for (const char* other : {"*EXIT*", "*Exit*", "exit", "*exit"}) ExpectEndsWithoutTouchingAnything(other);
  EXPECT_EQ(world.RunningTellbuds().size(), 1u);

  ExpectEndsWithoutTouchingAnything("--quiet before*exit*after");
  EXPECT_TRUE(world.RunningTellbuds().empty());
}

TEST_F(SingleInstanceTest, ExitMarkerWithNothingRunningEndsQuietlyAndLeavesNoInstanceBehind) {
  ExpectEndsWithoutTouchingAnything("*exit*");
  EXPECT_FALSE(PrintedSinceMark("window"));
  // No single-instance mutex was left: the next start is a first start.
  Run("start");
  EXPECT_NE(Dialog(), nullptr);
  EXPECT_PRINTED("tray add");
}

TEST_F(SingleInstanceTest, CommandLinesOfAnyLengthAreHandled) {
  const std::string huge(100000, 'a');
  Run("start " + huge);
  ASSERT_NE(Dialog(), nullptr);
  ExpectEndsWithoutTouchingAnything(huge);
  EXPECT_EQ(world.RunningTellbuds().size(), 1u);
  ExpectEndsWithoutTouchingAnything(huge + "*exit*");
  EXPECT_TRUE(world.RunningTellbuds().empty());
}

}  // namespace
