// The handset control served from its DLL, as Tellbud.exe hosts it on Wine, without Messenger:
// the world plays the device through the control's channel and reads back every call the
// program makes; the tray icon, its tip, the main window and Tellbud.ini show the outcome.
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/tellbud_fixture.h"

namespace wine_test {
namespace {

class WineHandset : public WineTellbud {
 protected:
  // Which of the state icons beside Tellbud.exe the tray shows: "nodevice.ico", "nophone.ico"
  // or "ok.ico".
  std::wstring TrayIcon() const {
    std::vector<std::wstring> files;
    for (const wchar_t* name : {L"nodevice.ico", L"nophone.ico", L"ok.ico"})
      files.push_back(m_run->Folder() + L"\\" + name);
    std::wstring best = TrayIconLooksLike(files);
    return best.substr(best.rfind(L'\\') + 1);
  }
  // Whether the tray shows ICON and TIP (the tip read by resting the mouse on the icon). Without
  // Messenger two timers take turns at the tray while the handset is missing, so each is waited
  // for on its own.
  bool TrayShows(const std::wstring& icon, const std::wstring& tip) {
    return ShowsIcon(icon) && WaitFor([&] { return TrayTip(3000) == tip; }, kUiTimeout);
  }
  // Whether the tray shows ICON at some moment within the time; the screen is read without
  // pauses, since the other timer may replace the picture a moment later.
  bool ShowsIcon(const std::wstring& icon) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kUiTimeout;)
      if (TrayIcon() == icon) return true;
    return false;
  }

  // Plugs the handset in (MODEL in hexadecimal, "0x0520"; the default 0x0200) and waits until
  // the search has opened it.
  void Plug(const std::string& model = "") {
    ASSERT_TRUE(m_world->Play(model.empty() ? "plug" : "plug " + model)) << Seen();
    ASSERT_TRUE(m_world->WaitLine("handset OpenDevice(0) -> TRUE", kUiTimeout)) << Seen();
  }
  // Plays a command and waits for the call it should cause.
  void PlayAndExpect(const std::string& command, const std::string& line) {
    size_t before = m_world->Lines().size();
    ASSERT_TRUE(m_world->Play(command)) << Seen();
    EXPECT_TRUE(WaitFor(
        [&] {
          std::vector<std::string> lines = m_world->Lines();
          for (size_t i = before; i < lines.size(); ++i)
            if (lines[i].find(line) != std::string::npos) return true;
          return false;
        },
        kUiTimeout))
        << "after \"" << command << "\" no \"" << line << "\"\n"
        << Seen();
  }
};

TEST_F(WineHandset, PlugAndUnplugChangeTheIconAndTipAndRestartTheSearch) {
  // The search finds nothing while the handset is away; once it is found, the missing Messenger
  // shows instead.
  EXPECT_TRUE(m_world->WaitLine("handset OpenDevice(0) -> FALSE", kUiTimeout)) << Seen();
  EXPECT_TRUE(TrayShows(L"nodevice.ico", L"Can't find USB Phone"))
      << "the tray shows " << ::testing::PrintToString(TrayIcon()) << "\n"
      << Seen();
  Plug();
  EXPECT_TRUE(m_world->WaitLine("handset GetModelCode() -> 512", kUiTimeout)) << Seen();
  // The ring style comes from Tellbud.ini ([OPTION] RingType, 0 as shipped).
  EXPECT_TRUE(m_world->WaitLine("handset SetRing(FALSE, 0)", kUiTimeout)) << Seen();
  EXPECT_TRUE(TrayShows(L"nophone.ico", L"Can't find Messenger"))
      << "the tray shows " << ::testing::PrintToString(TrayIcon()) << " \""
      << ::testing::PrintToString(TrayTip(3000)) << "\"\n"
      << Seen();

  ASSERT_TRUE(m_world->Play("unplug"));
  EXPECT_TRUE(ShowsIcon(L"nodevice.ico")) << "the tray shows " << ::testing::PrintToString(TrayIcon()) << "\n"
                                          << Seen();
  EXPECT_TRUE(m_world->Play("plug"));
  EXPECT_TRUE(WaitFor(
      [&] {
        int opened = 0;
        for (const std::string& line : m_world->Lines()) opened += line == "handset OpenDevice(0) -> TRUE";
        return opened == 2;
      },
      kUiTimeout))
      << "the search did not start again after the removal\n"
      << Seen();
  m_run->RunAnother(L"*exit*", kStartTimeout);
  EXPECT_TRUE(m_run->WaitExit(kStartTimeout)) << Seen();
  EXPECT_TRUE(m_world->WaitLine("handset CloseDevice()", kUiTimeout)) << Seen();
}

// Lifting with no call shows an empty dial string and raises the window; putting the handset
// down hangs up nothing but idles the handset and hides the window.
TEST_F(WineHandset, LiftAndPutDownWithNoCall) {
  Plug();
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitGone(m_hMain)) << Seen();
  PlayAndExpect("lift", "handset ShowDialString(\"\")");
  EXPECT_TRUE(m_world->WaitLine("handset SetSpeakerA(0)", kUiTimeout)) << Seen();
  EXPECT_TRUE(
      WaitFor([&] { return IsWindowVisible(m_hMain) && GetForegroundWindow() == m_hMain; }, kUiTimeout))
      << "lifting did not raise the main window\n"
      << Seen();
  PlayAndExpect("down", "handset SetIdle()");
  EXPECT_TRUE(WaitGone(m_hMain)) << "putting the handset down did not hide the main window\n" << Seen();
}

// Without Messenger the keypad only acknowledges its keys: # rings no style and stores none.
// The level key works all the same.
TEST_F(WineHandset, KeysWithoutMessengerOnlyAcknowledgeTheLevelKeyStepsTheLevel) {
  Plug();
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitGone(m_hMain)) << Seen();
  PlayAndExpect("key 35", "handset AcknowledgeKey(1)");
  PlayAndExpect("level", "handset SetLevel(15)");
  EXPECT_TRUE(m_world->WaitLine("handset GetLevel() -> 10", kUiTimeout)) << Seen();
  EXPECT_FALSE(m_world->WaitLine("handset SetRing(TRUE", 0)) << Seen();
  EXPECT_EQ(L"0", IniValue(L"Tellbud.ini", L"OPTION", L"RingType"));
}

// Activity on an adaptor's telephone line switches the line to the telephone network.
TEST_F(WineHandset, LineActivityOnAnAdaptorSwitchesToTheTelephoneLine) {
  Plug("0x0520");
  EXPECT_TRUE(m_world->WaitLine("handset GetModelCode() -> 1312", kUiTimeout)) << Seen();
  PlayAndExpect("line", "handset SetChannel(0)");
  EXPECT_FALSE(m_run->HasExited());
}

}  // namespace
}  // namespace wine_test
