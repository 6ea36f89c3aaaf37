// The transcript lines the world prints for what happens on the desktop.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>

#include "world/core/desktop_reporter.h"
#include "world/core/transcript.h"

namespace {

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

class DesktopReporterTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  std::vector<std::string> lines;
  world::Transcript transcript{[this] { return desktop.Now(); }};
  world::DesktopReporter reporter{transcript};
  HWND top = nullptr;
  HWND first = nullptr;
  HWND second = nullptr;
  HWND nested = nullptr;

  void SetUp() override {
    transcript.SetSink([this](const std::string& line) { lines.push_back(line); });
    desktop.AddObserver(&reporter);
  }
  void TearDown() override { desktop.RemoveObserver(&reporter); }

  // A program with one top-level window "Main" holding two child windows, the second of which
  // holds one more; it runs its message loop until the window goes.
  void StartProgram() {
    desktop.StartProcess(sim::ProcessInfo{0, u"prog.exe", u"C:\\prog.exe", u"prog.exe"}, [this] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = PlainProc;
      wc.lpszClassName = u"Plain";
      RegisterClassW(&wc);
      top = CreateWindowExW(0, u"Plain", u"Main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                            nullptr, nullptr);
      first = CreateWindowExW(0, u"Plain", u"a", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
      second = CreateWindowExW(0, u"Plain", u"b", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
      nested = CreateWindowExW(0, u"Plain", u"c", WS_CHILD, 0, 0, 5, 5, second, nullptr, nullptr, nullptr);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      return 0;
    });
    desktop.RunUntilIdle();
    lines.clear();
  }
  bool Printed(const std::string& text) const {
    for (auto& l : lines)
      if (l.find(text) != std::string::npos) return true;
    return false;
  }
};

TEST_F(DesktopReporterTest, TopLevelWindowsAreReportedByTitle) {
  StartProgram();
  ShowWindow(top, SW_SHOW);
  desktop.RunUntilIdle();
  EXPECT_TRUE(Printed("window \"Main\" shown"));
  EXPECT_TRUE(Printed("window \"Main\" foreground"));
  ShowWindow(top, SW_HIDE);
  desktop.RunUntilIdle();
  EXPECT_TRUE(Printed("window \"Main\" hidden"));
  PostMessageW(top, WM_CLOSE, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(lines.back(), "[00:00.000] window \"Main\" destroyed");
}

TEST_F(DesktopReporterTest, AWindowNeverShownGoesUnnoticed) {
  StartProgram();
  PostMessageW(top, WM_CLOSE, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_TRUE(lines.empty());
}

TEST_F(DesktopReporterTest, ChildWindowsAreNotReportedAsWindows) {
  StartProgram();
  ShowWindow(first, SW_SHOW);
  desktop.RunUntilIdle();
  EXPECT_FALSE(Printed("window"));
}

TEST_F(DesktopReporterTest, PostedClickNamesTheTopLevelTitleAndTheChildsPosition) {
  StartProgram();
  desktop.AdvanceBy(1500);
  PostMessageW(second, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageW(second, WM_LBUTTONUP, 0, 0);
  PostMessageW(nested, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageW(top, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  desktop.RunUntilIdle();
  ASSERT_EQ(lines.size(), 2u) << "one line per button-down on a child; none for the top-level window";
  EXPECT_EQ(lines[0], "[00:01.500] click \"Main\" 2");
  EXPECT_EQ(lines[1], "[00:01.500] click \"Main\" 2.1");
}

TEST_F(DesktopReporterTest, KeyboardLinesShowTheVirtualKeyInUpperCaseHex) {
  keybd_event(VK_MENU, 0, 0, 0);
  keybd_event('C', 0, 0, 0);
  keybd_event('C', 0, KEYEVENTF_KEYUP, 0);
  EXPECT_EQ(lines,
            (std::vector<std::string>{"[00:00.000] keyboard 0x12 down", "[00:00.000] keyboard 0x43 down",
                                      "[00:00.000] keyboard 0x43 up"}));
}

TEST_F(DesktopReporterTest, KeysTheWorldPressesItselfAreNotReported) {
  reporter.set_world_typing(true);
  keybd_event(VK_RETURN, 0, 0, 0);
  reporter.set_world_typing(false);
  EXPECT_TRUE(lines.empty());
}

TEST_F(DesktopReporterTest, DebugOutputOnlyWhenSwitchedOnAndWithoutLineEnds) {
  reporter.OnDebugString(1, u"hidden\r\n");
  EXPECT_TRUE(lines.empty());
  reporter.set_debug_output(true);
  reporter.OnDebugString(1, u"Messenger: \"gone\"\r\n");
  reporter.OnDebugString(1, u"one\ntwo");
  EXPECT_EQ(lines, (std::vector<std::string>{"[00:00.000] debug \"Messenger: \\\"gone\\\"\"",
                                             "[00:00.000] debug \"one\"", "[00:00.000] debug \"two\""}));
}

TEST_F(DesktopReporterTest, ProcessesAreReportedWhenTheyStartAndEnd) {
  desktop.StartProcess(sim::ProcessInfo{0, u"Tellbud.exe", u"Z:\\t\\Tellbud.exe", u"x"}, [] { return 3; });
  desktop.RunUntilIdle();
  EXPECT_EQ(lines, (std::vector<std::string>{"[00:00.000] process Tellbud.exe started",
                                             "[00:00.000] process Tellbud.exe ended (exit code 3)"}));
}

class TrayLinesTest : public DesktopReporterTest {
 protected:
  HWND owner = reinterpret_cast<HWND>(0x1234);
  HICON ok1 = reinterpret_cast<HICON>(0x10), ok2 = reinterpret_cast<HICON>(0x14),
        nodevice = reinterpret_cast<HICON>(0x18), resource = reinterpret_cast<HICON>(0x1c);
  static constexpr UINT kIcon = 0x2, kTip = 0x4;
  void SetUp() override {
    DesktopReporterTest::SetUp();
    reporter.SetIconDescriber([this](HICON icon) -> std::string {
      if (icon == ok1 || icon == ok2) return "ok.ico";
      if (icon == nodevice) return "nodevice.ico";
      if (icon == resource) return "#128";
      return "?";
    });
  }
};

TEST_F(TrayLinesTest, AddPrintsTheTipThenTheIcon) {
  reporter.OnTrayIconAdded(owner, 1, resource, u"Tellbud");
  EXPECT_EQ(lines,
            (std::vector<std::string>{"[00:00.000] tray add \"Tellbud\"", "[00:00.000] tray icon #128"}));
}

TEST_F(TrayLinesTest, AnIconWithoutPictureIsNone) {
  reporter.OnTrayIconAdded(owner, 1, nullptr, u"");
  EXPECT_EQ(lines.back(), "[00:00.000] tray icon none");
}

TEST_F(TrayLinesTest, SettingWhatIsAlreadyShownPrintsNothing) {
  reporter.OnTrayIconAdded(owner, 1, ok1, u"Ready");
  lines.clear();
  reporter.OnTrayIconChanged(owner, 1, kIcon | kTip, ok1, u"Ready");
  reporter.OnTrayIconChanged(owner, 1, kIcon, ok2, u"ignored");  // a new handle of the same file
  EXPECT_TRUE(lines.empty());
}

TEST_F(TrayLinesTest, ChangesPrintOnlyWhatChanged) {
  reporter.OnTrayIconAdded(owner, 1, ok1, u"Ready");
  lines.clear();
  reporter.OnTrayIconChanged(owner, 1, kIcon | kTip, nodevice, u"Ready");
  reporter.OnTrayIconChanged(owner, 1, kIcon | kTip, nodevice, u"No device");
  reporter.OnTrayIconChanged(owner, 1, kTip, ok1, u"No device");  // the icon is not part of this change
  EXPECT_EQ(lines, (std::vector<std::string>{"[00:00.000] tray icon nodevice.ico",
                                             "[00:00.000] tray tip \"No device\""}));
}

TEST_F(TrayLinesTest, IconsOfDifferentOwnersAreTrackedApart) {
  HWND other = reinterpret_cast<HWND>(0x5678);
  reporter.OnTrayIconAdded(owner, 1, ok1, u"A");
  reporter.OnTrayIconAdded(other, 1, nodevice, u"B");
  lines.clear();
  reporter.OnTrayIconChanged(owner, 1, kIcon, ok2, u"A");
  EXPECT_TRUE(lines.empty());
  reporter.OnTrayIconChanged(other, 1, kIcon, ok2, u"B");
  EXPECT_EQ(lines, (std::vector<std::string>{"[00:00.000] tray icon ok.ico"}));
}

TEST_F(TrayLinesTest, RemovedIconIsForgotten) {
  reporter.OnTrayIconAdded(owner, 1, ok1, u"A");
  reporter.OnTrayIconRemoved(owner, 1);
  reporter.OnTrayIconAdded(owner, 1, ok1, u"A");
  EXPECT_EQ(lines, (std::vector<std::string>{"[00:00.000] tray add \"A\"", "[00:00.000] tray icon ok.ico",
                                             "[00:00.000] tray remove", "[00:00.000] tray add \"A\"",
                                             "[00:00.000] tray icon ok.ico"}));
}

}  // namespace
