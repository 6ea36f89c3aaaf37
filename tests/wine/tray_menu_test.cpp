// The tray icon and its menu on Wine, with real mouse and keyboard input: double-click and
// right-click on the icon, the AutoRun check mark and its shortcut in the Startup folder, About
// and Exit.
#include "tests/wine/harness.h"

#include "tests/wine/desktop.h"
#include "tests/wine/tellbud_run.h"

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

class WineTray : public ::testing::Test {
 protected:
  void SetUp() override {
    m_strLink = StartupFolder() + L"\\Tellbud.lnk";
    DeleteFileW(m_strLink.c_str());
    ASSERT_TRUE(m_run.Start());
    m_hMain = m_run.WaitMainWindow(30000);
    ASSERT_TRUE(m_hMain) << m_run.DebugOutputText();
    ASSERT_TRUE(WaitFor([] { return TrayIconsArea().right > TrayIconsArea().left; }, 10000));
  }
  void TearDown() override { DeleteFileW(m_strLink.c_str()); }

  // The middle of the first icon in the notification area.
  POINT Icon() const {
    RECT area = TrayIconsArea();
    int size = area.bottom - area.top;
    return POINT{area.left + size / 2, area.top + size / 2};
  }
  // Right-clicks the icon and waits for the program's pop-up menu.
  HWND OpenMenu() {
    Click(Icon(), true);
    HWND menu = nullptr;
    WaitFor([&] { return (menu = PopupMenuOf(m_run.ProcessId())) != nullptr; }, 5000);
    return menu;
  }
  // Opens the menu and chooses the item reached with `downs` presses of the Down key (Up when
  // negative), then Enter.
  void Choose(int downs) {
    HWND menu = OpenMenu();
    ASSERT_TRUE(menu) << "the tray menu did not open";
    for (int i = 0; i < (downs < 0 ? -downs : downs); ++i) PressKey(downs < 0 ? VK_UP : VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !PopupMenuOf(m_run.ProcessId()); }, 5000));
  }
  // Dark pixels where the first item's check mark is drawn, in the menu opened now.
  int CheckMarkPixels() {
    HWND menu = OpenMenu();
    if (!menu) return -1;
    Sleep(300);
    RECT rc;
    GetWindowRect(menu, &rc);
    RECT mark{rc.left + 2, rc.top + 2, rc.left + GetSystemMetrics(SM_CXMENUCHECK) + 4,
              rc.top + GetSystemMetrics(SM_CYMENU)};
    int dark = CountDarkPixels(CaptureScreen(), mark);
    PressKey(VK_ESCAPE);
    WaitFor([&] { return !PopupMenuOf(m_run.ProcessId()); }, 5000);
    return dark;
  }

  CTellbudRun m_run{L"tray"};
  HWND m_hMain = nullptr;
  std::wstring m_strLink;
};

TEST_F(WineTray, DoubleClickShowsTheHiddenWindowRightClickOpensTheMenu) {
  ShowWindow(m_hMain, SW_HIDE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(m_hMain); }, 5000));
  DoubleClick(Icon());
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(m_hMain) != FALSE; }, 5000))
      << "double-click did not show it";

  ShowWindow(m_hMain, SW_HIDE);
  HWND menu = OpenMenu();
  EXPECT_TRUE(menu) << "right-click opened no menu";
  EXPECT_TRUE(IsWindowVisible(m_hMain)) << "the window is shown before the menu opens";
  PressKey(VK_ESCAPE);
}

TEST_F(WineTray, AutoRunCopiesTheShortcutAndShowsTheCheckMark) {
  ASSERT_FALSE(StartupFolder().empty());
  int unchecked = CheckMarkPixels();
  Choose(1);  // AutoRun, the first item
  EXPECT_TRUE(WaitFor([&] { return Exists(m_strLink); }, 5000)) << "no Tellbud.lnk in the Startup folder";
  int checked = CheckMarkPixels();
  EXPECT_GT(checked, unchecked) << "no check mark at AutoRun";
  Choose(1);
  EXPECT_TRUE(WaitFor([&] { return !Exists(m_strLink); }, 5000)) << "Tellbud.lnk stayed";
}

TEST_F(WineTray, AboutOpensItsDialogAndExitEndsTheProgram) {
  Choose(-3);  // About, above the separator and Exit
  HWND about = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (about = FindWindowW(nullptr, L"About Tellbud")) != nullptr; }, 5000));
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([] { return !FindWindowW(nullptr, L"About Tellbud"); }, 5000));

  Choose(-1);  // Exit, the last item
  EXPECT_TRUE(m_run.WaitExit(10000)) << m_run.DebugOutputText();
  EXPECT_TRUE(WaitFor([] { return TrayIconsArea().right <= TrayIconsArea().left; }, 10000));
}

}  // namespace
}  // namespace wine_test
