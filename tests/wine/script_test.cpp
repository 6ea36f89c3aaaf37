// tellbud-sim scripts run against the real Tellbud.exe under Wine by the Windows script driver,
// one test per script (tests/scenarios, TELLBUD_SCRIPTS_DIR), and the driver's own rules: marks,
// errors that name the line, and expect's order over lines that arrive apart.
#include <gtest/gtest.h>

#include <sstream>
#include <iostream>

#include "tests/wine/script_driver.h"
#include "tests/wine/script_text.h"

namespace wine_test {
namespace {

// Scripts that need no Messenger: they run in the Wine stage.
const std::string kScripts[] = {
    "handset-plug-unplug",         // icon and tip as the handset comes and goes
    "handset-lift-down",           // the window follows the hook
    "handset-keys-alone",          // # and the level key without Messenger
    "tray-menu",                   // About and Exit from the tray menu
    "window-hide",                 // close, Enter and Escape only hide
    "window-escape-after-dialog",  // the keys reach the main window after a dialog
    "startup-second-instance",     // a second start and the exit marker
};

// Scripts that need the Messenger stand-in process (msnmsgr.exe).
const std::string kMessengerScripts[] = {
    "handset-incoming-call",              // lifting answers, putting down ends
    "handset-decline-and-remote-hangup",  // the end key declines
    "outgoing-speed-dial",                // the keypad calls by speed-dial number
    "contacts-menu-call",                 // the contact menu's StartVoice calls the row clicked
    "contacts-order",                     // online, separator, offline; a custom name
    "messenger-quit-mid-call",            // Messenger quits while a call rings or runs
    "handset-shortcut-language",          // German Messenger's shortcuts
    "dialogs-rename",                     // the contact menu: Rename, StartChat
    "dialogs-speed-dial",                 // the contact menu: Speed dial number
};

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH);
  return n && n < MAX_PATH ? std::wstring(buffer) : std::wstring();
}

// Runs the script file and reports its transcript; a failure names the line.
void RunScriptFile(const std::wstring& path, const std::string& name) {
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, &bytes))
      << "cannot read " << Utf8(path) << " (TELLBUD_SCRIPTS_DIR names tests/scenarios)";
  std::istringstream in(bytes);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::string failure;
  std::vector<std::string> transcript;
  {
    CScriptDriver driver(L"script-" + Wide(name));
    failure = driver.Run(lines, name);
    transcript = driver.Transcript();
  }
  std::cout << "transcript of " << name << ":\n";
  for (const std::string& line : transcript) std::cout << "  " << line << "\n";
  if (!failure.empty()) ADD_FAILURE() << failure;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

class WineScenario : public ::testing::TestWithParam<std::string> {};

TEST_P(WineScenario, Runs) {
  RunScriptFile(Environment(L"TELLBUD_SCRIPTS_DIR") + L"\\" + Wide(GetParam()) + L".tbs",
                GetParam() + ".tbs");
}

INSTANTIATE_TEST_SUITE_P(Script, WineScenario, ::testing::ValuesIn(kScripts), TestName);
INSTANTIATE_TEST_SUITE_P(ScriptWithMessenger, WineScenario, ::testing::ValuesIn(kMessengerScripts), TestName);

// A script renamed or removed must show here at once, not as a test quietly gone.
TEST(ScriptList, EveryListedScriptIsThere) {
  std::wstring folder = Environment(L"TELLBUD_SCRIPTS_DIR");
  ASSERT_FALSE(folder.empty()) << "TELLBUD_SCRIPTS_DIR names no folder";
  std::vector<std::string> names(std::begin(kScripts), std::end(kScripts));
  names.insert(names.end(), std::begin(kMessengerScripts), std::end(kMessengerScripts));
  for (const std::string& name : names)
    EXPECT_NE(GetFileAttributesW((folder + L"\\" + Wide(name) + L".tbs").c_str()), INVALID_FILE_ATTRIBUTES)
        << name << ".tbs is not in " << Utf8(folder);
}

// tools/wine-script.sh names one script file in TELLBUD_SCRIPT.
TEST(ScriptFile, FromEnvironment) {
  std::wstring path = Environment(L"TELLBUD_SCRIPT");
  if (path.empty()) GTEST_SKIP() << "TELLBUD_SCRIPT names no script";
  RunScriptFile(path, Utf8(path.substr(path.find_last_of(L"\\/") + 1)));
}

// Without starting Tellbud: what the driver refuses, and that it says where.
TEST(ScriptDriver, MarksAndCommandsItCannotCarryOutNameTheLine) {
  CScriptDriver driver(L"script-rules");
  EXPECT_EQ(
      driver.Run({"# a comment", "[sim] mixer add \"X\"", "[wine] wait 10ms", "", "wait 10ms"}, "a.tbs"), "");
  std::string failure = driver.Run({"wait 10ms", "mixer add \"USB\""}, "b.tbs");
  EXPECT_EQ(failure.rfind("b.tbs:2: 'mixer' acts on the simulated world only", 0), 0u) << failure;
  failure = driver.Run({"[windows] wait 10ms"}, "c.tbs");
  EXPECT_EQ(failure.rfind("c.tbs:1: unknown platform mark '[windows]'", 0), 0u) << failure;
  failure = driver.Run({"expect [00:01.000] handset OpenDevice(0) -> TRUE"}, "d.tbs");
  EXPECT_EQ(failure.rfind("d.tbs:1: the virtual clock's time stamps exist only in tellbud-sim", 0), 0u)
      << failure;
  failure = driver.Run({"wait 1h"}, "e.tbs");
  EXPECT_EQ(failure.rfind("e.tbs:1: a wait of 1h runs in real time here", 0), 0u) << failure;
  failure = driver.Run({"messenger signin"}, "f.tbs");
  EXPECT_EQ(failure.rfind("f.tbs:1: Messenger did not carry out 'messenger signin'", 0), 0u) << failure;
  failure = driver.Run({"frobnicate"}, "g.tbs");
  EXPECT_EQ(failure.rfind("g.tbs:1: unknown command 'frobnicate'", 0), 0u) << failure;
  EXPECT_EQ(driver.Run({"quit", "frobnicate"}, "h.tbs"), "");
  failure = driver.Run({"wait 10ms", "handset plug", "handset lift"}, "i.tbs");
  EXPECT_EQ(failure.rfind("i.tbs:2: the handset is played through Tellbud's handset control", 0), 0u)
      << failure;
}

}  // namespace
}  // namespace wine_test
