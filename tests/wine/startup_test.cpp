// Tellbud.exe on Wine: what start-up leaves on the desktop and in its folder, one instance at a
// time, and the two ways a second start acts on the first.
#include "tests/wine/harness.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "tests/wine/desktop.h"
#include "tests/wine/tellbud_run.h"

namespace wine_test {
namespace {

constexpr DWORD kStartTimeout = 30000;

bool TrayShowsIcon() {
  RECT area = TrayIconsArea();
  return area.right > area.left;
}

TEST(WineStartUp, WindowColumnsFilesAndScreenshot) {
  CTellbudRun run(L"startup");
  std::vector<std::wstring> shipped = ListFiles(run.Folder());
  ASSERT_FALSE(shipped.empty()) << "nothing to copy from TELLBUD_BIN_DIR";
  ASSERT_TRUE(run.Start());
  HWND main = run.WaitMainWindow(kStartTimeout);
  ASSERT_TRUE(main) << "no visible window \"Tellbud<1.0>\"; debugger output:\n" << run.DebugOutputText();

  // The single-instance mutex carries the window's title.
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Tellbud<1.0>");
  EXPECT_TRUE(mutex);
  if (mutex) CloseHandle(mutex);

  wchar_t title[64] = {};
  GetWindowTextW(main, title, 64);
  EXPECT_STREQ(L"Tellbud<1.0>", title);
  HWND list = FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
  ASSERT_TRUE(list);
  EXPECT_EQ(GetDlgCtrlID(list), 1003);
  std::vector<std::wstring> columns = ListViewColumns(list);
  EXPECT_EQ((std::vector<std::wstring>{L"FriendlyName", L"SpeedNumber", L"SigninName"}), columns);
  EXPECT_EQ(0, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_TRUE(WaitFor(TrayShowsIcon, 10000)) << "the notification area shows no icon";

  // Start-up creates an empty Custom.ini and writes nothing else.
  std::vector<std::wstring> expected = shipped;
  expected.push_back(L"Custom.ini");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, ListFiles(run.Folder()));
  WIN32_FILE_ATTRIBUTE_DATA custom{};
  ASSERT_TRUE(GetFileAttributesExW((run.Folder() + L"\\Custom.ini").c_str(), GetFileExInfoStandard, &custom));
  EXPECT_EQ(0u, custom.nFileSizeLow);

  // The desktop after start-up, kept beside the test results.
  Sleep(500);
  Screen screen = CaptureScreen();
  EXPECT_TRUE(SaveBitmap(screen, ResultsFolder() + L"\\startup.bmp"));
  EXPECT_GE(CountColours(screen, 16), 16u) << "the screenshot is blank";
}

TEST(WineStartUp, SecondStartShowsTheFirstAndExitMarkerEndsIt) {
  CTellbudRun run(L"instances");
  ASSERT_TRUE(run.Start());
  HWND main = run.WaitMainWindow(kStartTimeout);
  ASSERT_TRUE(main) << run.DebugOutputText();
  ASSERT_TRUE(WaitFor(TrayShowsIcon, 10000));
  RECT oneIcon = TrayIconsArea();

  // Escape hides the window; the program runs on in the tray.
  SetForegroundWindow(main);
  WaitFor([&] { return GetForegroundWindow() == main; }, 5000);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }, 5000));

  // A plain second start brings the first one's window back and adds no icon of its own.
  EXPECT_EQ(0u, run.RunAnother(L"", kStartTimeout));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000));
  EXPECT_FALSE(run.HasExited());
  RECT afterSecond = TrayIconsArea();
  EXPECT_EQ(oneIcon.right - oneIcon.left, afterSecond.right - afterSecond.left);

  // The marker only in exactly this form ends the running instance.
  EXPECT_NE(STILL_ACTIVE, run.RunAnother(L"*EXIT*", kStartTimeout));
  Sleep(1000);
  EXPECT_FALSE(run.HasExited());
  EXPECT_NE(STILL_ACTIVE, run.RunAnother(L"*exit*", kStartTimeout));
  EXPECT_TRUE(run.WaitExit(kStartTimeout)) << run.DebugOutputText();
  EXPECT_TRUE(WaitFor([] { return !TrayShowsIcon(); }, 10000)) << "the tray icon stayed";
  EXPECT_FALSE(FindWindowW(nullptr, L"Tellbud<1.0>"));
}

}  // namespace
}  // namespace wine_test
