// The tray icon and its menu on Wine, with real mouse and keyboard input: double-click and
// right-click on the icon, every command of the menu, and Enter and Escape hiding the main window,
// also once a dialog opened from the menu has closed.
#include <gtest/gtest.h>

#include "tests/wine/tellbud_fixture.h"

namespace wine_test {
namespace {

// The user's Startup folder, as the shell's registry value names it.
std::wstring StartupFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD size = sizeof path;
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               L"StartUp", RRF_RT_REG_SZ, nullptr, path, &size);
  return path;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class WineTray : public WineTellbud {
 protected:
  void SetUp() override {
    m_strLink = StartupFolder() + L"\\Tellbud.lnk";
    DeleteFileW(m_strLink.c_str());
    WineTellbud::SetUp();
  }
  void TearDown() override {
    WineTellbud::TearDown();
    DeleteFileW(m_strLink.c_str());
  }

  // Dark pixels where the first item's check mark is drawn, in the menu opened now.
  int CheckMarkPixels() {
    HWND menu = OpenTrayMenu();
    if (!menu) return -1;
    Sleep(300);
    RECT rc;
    GetWindowRect(menu, &rc);
    RECT mark{rc.left + 2, rc.top + 2, rc.left + GetSystemMetrics(SM_CXMENUCHECK) + 4,
              rc.top + GetSystemMetrics(SM_CYMENU)};
    int dark = CountDarkPixels(CaptureScreen(), mark);
    PressKey(VK_ESCAPE);
    WaitFor([&] { return !PopupMenuOf(m_run->ProcessId()); }, kUiTimeout);
    return dark;
  }

  std::wstring m_strLink;
};

TEST_F(WineTray, DoubleClickShowsTheHiddenWindowRightClickOpensTheMenu) {
  ShowWindow(m_hMain, SW_HIDE);
  ASSERT_TRUE(WaitGone(m_hMain));
  DoubleClick(TrayIconPoint());
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(m_hMain) != FALSE; }, kUiTimeout))
      << "double-click did not show it\n"
      << Seen();

  ShowWindow(m_hMain, SW_HIDE);
  HWND menu = OpenTrayMenu();
  ASSERT_TRUE(menu) << "right-click opened no menu\n" << Seen();
  EXPECT_TRUE(IsWindowVisible(m_hMain)) << "the window is shown before the menu opens";
  MoveMouse(POINT{400, 300});
  HideTips();
  Screenshot(menu, L"tray-menu");
  PressKey(VK_ESCAPE);
}

TEST_F(WineTray, AutoRunCopiesTheShortcutAndShowsTheCheckMark) {
  ASSERT_FALSE(StartupFolder().empty());
  int unchecked = CheckMarkPixels();
  ChooseTrayItem(TrayItem::kAutoRun);
  EXPECT_TRUE(WaitFor([&] { return Exists(m_strLink); }, kUiTimeout))
      << "no Tellbud.lnk in the Startup folder";
  int checked = CheckMarkPixels();
  EXPECT_GT(checked, unchecked) << "no check mark at AutoRun";
  ChooseTrayItem(TrayItem::kAutoRun);
  EXPECT_TRUE(WaitFor([&] { return !Exists(m_strLink); }, kUiTimeout)) << "Tellbud.lnk stayed";
}

TEST_F(WineTray, EnterAndEscapeHideTheMainWindow) {
  ClickInside(m_hMain);
  ExpectKeysHideTheMainWindow("after a click in it");
}

TEST_F(WineTray, AboutOpensItsDialogAndTheKeysHideTheWindowAfterIt) {
  ChooseTrayItem(TrayItem::kAbout);
  HWND about = WaitWindow(L"About Tellbud");
  ASSERT_TRUE(about) << "About did not open\n" << Seen();
  Screenshot(about, L"about");
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitGone(about)) << Seen();
  ExpectKeysHideTheMainWindow("after About closed with Enter");

  ChooseTrayItem(TrayItem::kAbout);
  about = WaitWindow(L"About Tellbud");
  ASSERT_TRUE(about) << Seen();
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitGone(about)) << "Escape did not close About\n" << Seen();
  ExpectKeysHideTheMainWindow("after About closed with Escape");
}

TEST_F(WineTray, SelectLanguageCancelledKeepsTheFileAndTheKeysHideTheWindowAfterIt) {
  std::wstring before = IniValue(L"Tellbud.ini", L"LanguageType", L"0");
  ChooseTrayItem(TrayItem::kSelectLanguage);
  HWND dialog = WaitWindow(L"Select language");
  ASSERT_TRUE(dialog) << "Select language did not open\n" << Seen();
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitGone(dialog)) << Seen();
  EXPECT_EQ(before, IniValue(L"Tellbud.ini", L"LanguageType", L"0"));
  ExpectKeysHideTheMainWindow("after Select language was cancelled");
}

// SetAudio needs Messenger and Option the handset; without them the commands do nothing.
TEST_F(WineTray, SetAudioAndOptionDoNothingWithoutMessengerAndHandset) {
  for (TrayItem item : {TrayItem::kSetAudio, TrayItem::kOption}) {
    ChooseTrayItem(item);
    Sleep(1500);
    EXPECT_FALSE(WaitWindow(L"Ring style", 0)) << Seen();
    EXPECT_EQ(GetForegroundWindow(), m_hMain) << "a window other than the main window came up\n" << Seen();
    EXPECT_FALSE(m_run->HasExited());
  }
}

// The contact menu needs Messenger: a right-click in the empty list opens none.
TEST_F(WineTray, RightClickInTheListOpensNoMenuWithoutMessenger) {
  ASSERT_TRUE(WaitFor([&] { return !PopupMenuOf(m_run->ProcessId()); }, kUiTimeout))
      << "a menu was open before the click\n"
      << Seen();
  RECT rc{};
  GetWindowRect(FindWindowExW(m_hMain, nullptr, L"SysListView32", nullptr), &rc);
  POINT middle{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  MoveMouse(middle);
  Sleep(500);
  Click(middle, true);
  Sleep(1500);
  EXPECT_FALSE(PopupMenuOf(m_run->ProcessId())) << Seen();
  EXPECT_FALSE(m_run->HasExited());
}

TEST_F(WineTray, ExitEndsTheProgramAndRemovesTheIcon) {
  ChooseTrayItem(TrayItem::kExit);
  EXPECT_TRUE(m_run->WaitExit(kUiTimeout)) << Seen();
  EXPECT_TRUE(WaitFor([] { return !TrayShowsIcon(); }, kUiTimeout)) << "the tray icon stayed\n" << Seen();
}

}  // namespace
}  // namespace wine_test
