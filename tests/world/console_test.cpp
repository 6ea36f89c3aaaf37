// The console's commands, scripts and exit codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "world/console/console.h"
#include "world/console/runner.h"
#include "world/core/exe_folder.h"
#include "world/console_fixture.h"

namespace {

class ConsoleTest : public ConsoleFixture {
 protected:
  std::ostringstream errors;

  int RunScript(const std::string& script) {
    std::istringstream in(script);
    console::StreamSource source(in);
    return console::RunScript(console, source, "test.tbs", errors);
  }
};

TEST_F(ConsoleTest, AScriptThatRunsThroughExitsWithZero) {
  EXPECT_EQ(RunScript("# nothing but comments\n\n   \nwait 1s\n"), console::kExitOk);
  EXPECT_EQ(errors.str(), "");
  EXPECT_EQ(world.Now(), 1000);
}

TEST_F(ConsoleTest, UnknownCommandIsABadCommandWithFileAndLine) {
  EXPECT_EQ(RunScript("wait 1s\nfrobnicate now\nwait 1s\n"), console::kExitBadCommand);
  EXPECT_EQ(errors.str(), "test.tbs:2: unknown command 'frobnicate' (try 'help')\n");
  EXPECT_EQ(world.Now(), 1000) << "nothing after the bad command runs";
}

TEST_F(ConsoleTest, WrongArgumentsShowTheUsage) {
  EXPECT_EQ(RunScript("wait\n"), console::kExitBadCommand);
  EXPECT_EQ(errors.str(), "test.tbs:1: usage: wait DURATION\n");
}

TEST_F(ConsoleTest, MalformedDurationAndQuotesAreBadCommands) {
  EXPECT_EQ(RunScript("wait 10\n"), console::kExitBadCommand);
  EXPECT_EQ(RunScript("cat \"Tellbud.ini\n"), console::kExitBadCommand);
  EXPECT_NE(errors.str().find("test.tbs:1: unterminated quote"), std::string::npos);
}

TEST_F(ConsoleTest, FailedExpectExitsWithOneAndNamesTheLine) {
  EXPECT_EQ(RunScript("show\nexpect call state\nexpect call state\n"), console::kExitFailed);
  EXPECT_EQ(errors.str(), "test.tbs:3: expected a line containing 'call state' since the previous expect\n");
}

TEST_F(ConsoleTest, ExpectTakesTheRestOfTheLineAsWritten) {
  world.transcript().Report("tray", "add \"Tellbud\"");
  EXPECT_EQ(console.ExecuteLine("expect   tray add \"Tellbud\"  ").outcome, console::Outcome::kOk);
  world.transcript().Report("tray", "tip \"a # b\"");
  EXPECT_EQ(console.ExecuteLine("expect tip \"a # b\"").outcome, console::Outcome::kOk);
  world.transcript().Report("history", "\"Bob - Dialog\" \"Bob says: hi\"");
  EXPECT_EQ(console.ExecuteLine("expect \"Bob says: hi").outcome, console::Outcome::kOk)
      << "an open quote is part of the text";
}

// [sim] lines run here without their mark, [wine] lines are the Windows driver's; any other mark
// is a typing error, never a line skipped by accident.
TEST_F(ConsoleTest, PlatformMarksRunSimLinesAndSkipWineLines) {
  EXPECT_EQ(RunScript("[sim] wait 1s\n  [wine]   wait 1h\n[wine] frobnicate\n[sim]expect tray\n"),
            console::kExitFailed);
  EXPECT_EQ(world.Now(), 1000) << "only the [sim] wait moved the clock";
  EXPECT_EQ(errors.str(), "test.tbs:4: expected a line containing 'tray' since the previous expect\n");
  errors.str("");
  EXPECT_EQ(RunScript("[windows] wait 1s\n"), console::kExitBadCommand);
  EXPECT_EQ(errors.str(),
            "test.tbs:1: unknown platform mark '[windows]' (a line may start with [sim] or [wine])\n");
  EXPECT_EQ(Run("[sim]"), console::Outcome::kBadCommand);
  EXPECT_EQ(Run("[wine] # only a comment"), console::Outcome::kBadCommand);
  EXPECT_EQ(Run("[sim wait 1s"), console::Outcome::kBadCommand);
  EXPECT_EQ(world.Now(), 1000);
}

TEST_F(ConsoleTest, QuitEndsTheScriptSuccessfully) {
  EXPECT_EQ(RunScript("quit\nfrobnicate\n"), console::kExitOk);
}

TEST_F(ConsoleTest, SubcommandsAreListedWhenMissing) {
  auto result = console.ExecuteLine("window");
  EXPECT_EQ(result.outcome, console::Outcome::kBadCommand);
  EXPECT_NE(result.message.find("close"), std::string::npos);
}

TEST_F(ConsoleTest, IniEditsAFileBesideTheExecutableAndCatPrintsIt) {
  ASSERT_EQ(RunScript("ini Custom.ini Names bob@example.com \"Bobby B\"\ncat Custom.ini\n"),
            console::kExitOk);
  EXPECT_EQ(printed, (std::vector<std::string>{"[Names]", "bob@example.com=Bobby B"}));
  std::ifstream in(folder.path() / "Custom.ini", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, "[Names]\r\nbob@example.com=Bobby B\r\n");
}

TEST_F(ConsoleTest, FilesOutsideTheFolderAreRefused) {
  EXPECT_EQ(RunScript("cat ../../etc/passwd\n"), console::kExitBadCommand);
  EXPECT_EQ(RunScript("ini /tmp/x.ini A B C\n"), console::kExitBadCommand);
}

TEST_F(ConsoleTest, CatOfAMissingFileFails) {
  EXPECT_EQ(RunScript("cat Custom.ini\n"), console::kExitFailed);
}

TEST_F(ConsoleTest, ShowTellsWhenTellbudIsNotRunning) {
  ASSERT_EQ(RunScript("show\n"), console::kExitOk);
  EXPECT_EQ(printed,
            (std::vector<std::string>{
                "main window: none (Tellbud is not running)", "tray: empty", "handset: unplugged",
                "mixer \"Realtek High Definition Audio\": 2 channels, speakers 65535 65535, wavein 65535 "
                "65535, waveout 65535 65535",
                "call state: unknown"}));
}

TEST_F(ConsoleTest, DebugNeedsOnOrOff) {
  EXPECT_EQ(console.ExecuteLine("debug on").outcome, console::Outcome::kOk);
  EXPECT_TRUE(world.desktop_reporter().debug_output());
  EXPECT_EQ(console.ExecuteLine("debug maybe").outcome, console::Outcome::kBadCommand);
}

TEST_F(ConsoleTest, HelpListsEveryCommandOnceAndThenTheOptions) {
  console.ExecuteLine("help");
  ASSERT_EQ(printed.size(), console.commands().size() + 1);
  EXPECT_NE(printed.back().find("--desktop NAME"), std::string::npos);
}

TEST_F(ConsoleTest, MainWindowCommandsFailWithoutTellbud) {
  EXPECT_EQ(console.ExecuteLine("window close").outcome, console::Outcome::kFailed);
  EXPECT_EQ(console.ExecuteLine("key enter").outcome, console::Outcome::kFailed);
  EXPECT_EQ(console.ExecuteLine("key space").outcome, console::Outcome::kBadCommand);
}

}  // namespace

namespace {

TEST_F(ConsoleTest, RegistryValuesAreStoredAndPrinted) {
  ASSERT_EQ(RunScript(R"(registry set HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion SysLog "C:\log"
registry get HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion syslog
registry dword HKLM\Software\X Count 0x10
registry get HKEY_LOCAL_MACHINE\Software\X Count
registry get HKCU\Software\X Missing
)"),
            console::kExitOk)
      << errors.str();
  EXPECT_EQ(printed, (std::vector<std::string>{
                         R"(registry HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion syslog: "C:\\log")",
                         R"(registry HKEY_LOCAL_MACHINE\Software\X Count: 16)",
                         R"(registry HKCU\Software\X Missing: absent)"}));
}

TEST_F(ConsoleTest, MalformedRegistryKeysAndNumbersAreBadCommands) {
  EXPECT_EQ(console.ExecuteLine("registry set HKXX\\Software A B").outcome, console::Outcome::kBadCommand);
  EXPECT_EQ(console.ExecuteLine("registry set HKCU A B").outcome, console::Outcome::kBadCommand);
  EXPECT_EQ(console.ExecuteLine("registry dword HKCU\\S A -1").outcome, console::Outcome::kBadCommand);
  EXPECT_EQ(console.ExecuteLine("registry dword HKCU\\S A 0x100000000").outcome,
            console::Outcome::kBadCommand);
  EXPECT_EQ(console.ExecuteLine("registry dword HKCU\\S A 12z").outcome, console::Outcome::kBadCommand);
}

TEST_F(ConsoleTest, TrayCommandsFailWithoutAnIcon) {
  EXPECT_EQ(console.ExecuteLine("tray dblclick").outcome, console::Outcome::kFailed);
  EXPECT_EQ(console.ExecuteLine("tray wave").outcome, console::Outcome::kFailed);
}

}  // namespace
