// The person at the PC through the console: the tray icon, pop-up menus and the main window's
// keys, against a small program that behaves as a tray program does.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "world/console/console.h"
#include "world/console_fixture.h"
#include "world/core/menu_text.h"

namespace {

constexpr UINT kTrayMessage = WM_USER + 100;
constexpr UINT kAutoRun = 32776, kExit = 32771;

// What the tray program saw, for the test to check.
struct Seen {
  std::vector<UINT> commands;
  std::vector<LPARAM> tray_mouse;
  std::vector<WPARAM> keys;
};
Seen* g_seen = nullptr;

LRESULT CALLBACK TrayProgramProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case kTrayMessage:
      g_seen->tray_mouse.push_back(l);
      if (l == WM_RBUTTONUP) {
        HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING | MF_CHECKED, kAutoRun, u"&AutoRun");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kExit, u"E&xit");
        TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, 10, 10, h, nullptr);
        DestroyMenu(menu);
      }
      return 0;
    case WM_COMMAND:
      g_seen->commands.push_back(LOWORD(w));
      return 0;
    case WM_KEYDOWN:
      g_seen->keys.push_back(w);
      return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

class DesktopCommandsTest : public ConsoleFixture {
 protected:
  Seen seen;
  HWND window = nullptr;

  void SetUp() override {
    g_seen = &seen;
    ConsoleFixture::SetUp();
  }
  void TearDown() override { g_seen = nullptr; }

  // A program named Tellbud.exe with a visible window and a tray icon loaded from a file beside
  // the executable; a right click on the icon opens its pop-up menu.
  void StartTrayProgram() {
    sim::ProcessInfo info{0, u"Tellbud.exe", world.ModulePath(), u"\"" + world.ModulePath() + u"\""};
    std::u16string icon_path =
        world.ModulePath().substr(0, world.ModulePath().rfind(u'\\')) + u"\\nodevice.ico";
    world.desktop().StartProcess(info, [this, icon_path] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = TrayProgramProc;
      wc.lpszClassName = u"TrayProgram";
      RegisterClassW(&wc);
      window = CreateWindowExW(0, u"TrayProgram", u"Tray Program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               100, 100, nullptr, nullptr, nullptr, nullptr);
      NOTIFYICONDATAW nid{};
      nid.cbSize = sizeof nid;
      nid.hWnd = window;
      nid.uID = 1;
      nid.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
      nid.uCallbackMessage = kTrayMessage;
      nid.hIcon =
          static_cast<HICON>(LoadImageW(nullptr, icon_path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
      lstrcpynW(nid.szTip, u"No device", 128);
      Shell_NotifyIconW(NIM_ADD, &nid);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      return 0;
    });
    world.Settle();
  }
};

TEST_F(DesktopCommandsTest, TrayIconFromAFileIsReportedByItsName) {
  StartTrayProgram();
  EXPECT_TRUE(Printed("tray add \"No device\""));
  EXPECT_TRUE(Printed("tray icon nodevice.ico"));
}

TEST_F(DesktopCommandsTest, DoubleClickReachesTheTrayIconsOwner) {
  StartTrayProgram();
  ASSERT_EQ(console.ExecuteLine("tray dblclick").outcome, console::Outcome::kOk);
  EXPECT_EQ(seen.tray_mouse,
            (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(DesktopCommandsTest, RightClickOpensTheMenuAndTheChoiceArrivesAsACommand) {
  StartTrayProgram();
  ASSERT_EQ(console.ExecuteLine("tray rclick").outcome, console::Outcome::kOk);
  EXPECT_TRUE(Printed("menu open \"AutoRun\" [x], -, \"Exit\""));
  ASSERT_EQ(console.ExecuteLine("menu exit").outcome, console::Outcome::kOk)
      << "the text matches ignoring case";
  EXPECT_TRUE(Printed("menu chose \"Exit\""));
  EXPECT_EQ(seen.commands, (std::vector<UINT>{kExit}));
}

TEST_F(DesktopCommandsTest, UnknownItemLeavesTheMenuOpenAndNoneDismissesIt) {
  StartTrayProgram();
  console.ExecuteLine("tray rclick");
  auto result = console.ExecuteLine("menu Frobnicate");
  EXPECT_EQ(result.outcome, console::Outcome::kFailed);
  EXPECT_NE(result.message.find("\"AutoRun\" [x]"), std::string::npos) << result.message;
  ASSERT_EQ(console.ExecuteLine("menu none").outcome, console::Outcome::kOk);
  EXPECT_TRUE(Printed("menu dismissed"));
  EXPECT_TRUE(seen.commands.empty());
}

}  // namespace

namespace {

TEST(MenuTextTest, LabelsLoseTheirAccessMarkers) {
  EXPECT_EQ(world::MenuItemLabel(u"E&xit"), u"Exit");
  EXPECT_EQ(world::MenuItemLabel(u"Fish && Chips"), u"Fish & Chips");
  EXPECT_EQ(world::MenuItemLabel(u"&Open\tCtrl+O"), u"Open Ctrl+O");
}

TEST(MenuTextTest, SubMenusAndGrayedItemsAreShown) {
  sim::MenuItemInfo sub{u"&Language",
                        0,
                        false,
                        false,
                        false,
                        false,
                        reinterpret_cast<HMENU>(1),
                        {{u"English", 1, true, false, false, false, nullptr, {}}}};
  sim::MenuItemInfo grayed{u"About", 2, false, true, false, false, nullptr, {}};
  EXPECT_EQ(world::DescribeMenuItems({sub, grayed}), "\"Language\" {\"English\" [x]}, \"About\" [grayed]");
  EXPECT_EQ(world::DescribeMenuCommand({sub, grayed}, 1), "\"English\"");
  EXPECT_EQ(world::DescribeMenuCommand({sub, grayed}, 7), "7");
}

}  // namespace
