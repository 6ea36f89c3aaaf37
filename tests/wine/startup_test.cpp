// Tellbud.exe on Wine: what start-up leaves on the desktop and in its folder, one instance at a
// time, and the two ways a second start acts on the first.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "tests/wine/desktop.h"
#include "tests/wine/tellbud_fixture.h"
#include "tests/wine/tellbud_run.h"

namespace wine_test {
namespace {

std::string Seen(const CTellbudRun& run) {
  return DescribeWindows() + "debugger output of Tellbud.exe:\n" + run.DebugOutputText();
}

TEST(WineStartUp, WindowColumnsFilesAndScreenshots) {
  CTellbudRun run(L"startup");
  std::vector<std::wstring> shipped = ListFiles(run.Folder());
  ASSERT_FALSE(shipped.empty()) << "nothing to copy from TELLBUD_BIN_DIR";
  ASSERT_TRUE(run.Start());
  HWND main = run.WaitMainWindow(kStartTimeout);
  ASSERT_TRUE(main) << "no visible window \"Tellbud<1.0>\"\n" << Seen(run);

  // The single-instance mutex carries the window's title.
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Tellbud<1.0>");
  EXPECT_TRUE(mutex);
  if (mutex) CloseHandle(mutex);

  wchar_t title[64] = {};
  GetWindowTextW(main, title, 64);
  EXPECT_STREQ(L"Tellbud<1.0>", title);
  HWND list = FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr);
  ASSERT_TRUE(list) << Seen(run);
  EXPECT_EQ(GetDlgCtrlID(list), 1003);
  std::vector<std::wstring> columns = ListViewColumns(list);
  EXPECT_EQ((std::vector<std::wstring>{L"FriendlyName", L"SpeedNumber", L"SigninName"}), columns);
  EXPECT_EQ(0, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_TRUE(WaitFor([] { return TrayShowsIcon(); }, kUiTimeout)) << "the task bar shows no icon\n"
                                                                   << Seen(run);

  // Start-up creates an empty Custom.ini and writes nothing else.
  std::vector<std::wstring> expected = shipped;
  expected.push_back(L"Custom.ini");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, ListFiles(run.Folder()));
  WIN32_FILE_ATTRIBUTE_DATA custom{};
  ASSERT_TRUE(GetFileAttributesExW((run.Folder() + L"\\Custom.ini").c_str(), GetFileExInfoStandard, &custom));
  EXPECT_EQ(0u, custom.nFileSizeLow);

  // The desktop after start-up and the main window, kept beside the test results.
  Sleep(500);
  Screen screen = CaptureScreen();
  EXPECT_TRUE(SaveBitmap(screen, ResultsFolder() + L"\\desktop.bmp"));
  EXPECT_GE(CountColours(screen, 16), 16u) << "the screenshot is blank";
  RECT rc{};
  GetWindowRect(main, &rc);
  EXPECT_TRUE(SaveBitmap(Crop(screen, rc), ResultsFolder() + L"\\main-window.bmp"));
}

TEST(WineStartUp, SecondStartShowsTheFirstAndExitMarkerEndsIt) {
  CTellbudRun run(L"instances");
  ASSERT_TRUE(run.Start());
  HWND main = run.WaitMainWindow(kStartTimeout);
  ASSERT_TRUE(main) << Seen(run);
  ASSERT_TRUE(WaitFor([] { return TrayShowsIcon(); }, kUiTimeout)) << Seen(run);

  // Escape hides the window; the program runs on in the tray.
  ClickInside(main);
  EXPECT_TRUE(WaitKeyboardReady(main, kUiTimeout)) << "a click in it did not activate it\n" << Seen(run);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }, 5000)) << Seen(run);

  // A plain second start brings the first one's window back and adds no icon of its own.
  EXPECT_EQ(0u, run.RunAnother(L"", kStartTimeout));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000)) << Seen(run);
  EXPECT_FALSE(run.HasExited());
  Sleep(1000);
  EXPECT_FALSE(TrayShowsIcon(1)) << "a second icon in the notification area\n" << Seen(run);

  // The marker only in exactly this form ends the running instance.
  EXPECT_NE(STILL_ACTIVE, run.RunAnother(L"*EXIT*", kStartTimeout));
  Sleep(1000);
  EXPECT_FALSE(run.HasExited());
  EXPECT_NE(STILL_ACTIVE, run.RunAnother(L"*exit*", kStartTimeout));
  EXPECT_TRUE(run.WaitExit(kStartTimeout)) << Seen(run);
  EXPECT_TRUE(WaitFor([] { return !TrayShowsIcon(); }, kUiTimeout)) << "the tray icon stayed\n" << Seen(run);
  EXPECT_FALSE(FindWindowW(nullptr, L"Tellbud<1.0>"));
}

}  // namespace
}  // namespace wine_test
