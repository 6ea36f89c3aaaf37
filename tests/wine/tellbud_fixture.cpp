#include "tellbud_fixture.h"

namespace wine_test {

namespace {

std::wstring CurrentTestName() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "-" + info->name() : "tellbud";
  return std::wstring(name.begin(), name.end());
}

}  // namespace

void WineTellbud::SetUp() {
  m_world = std::make_unique<CHandsetWorld>();
  m_run = std::make_unique<CTellbudRun>(CurrentTestName());
  ASSERT_TRUE(m_run->Start()) << "Tellbud.exe did not start from "
                              << ::testing::PrintToString(m_run->ExePath());
  m_hMain = m_run->WaitMainWindow(kStartTimeout);
  ASSERT_TRUE(m_hMain) << "no visible window \"Tellbud<1.0>\" within " << kStartTimeout / 1000 << " s\n"
                       << Seen();
  ASSERT_TRUE(m_world->WaitConnected(kUiTimeout))
      << "the handset control never connected; is TellbudHandset.dll registered?\n"
      << Seen();
  ASSERT_TRUE(WaitFor([] { return TrayShowsIcon(); }, kUiTimeout))
      << "the task bar shows no notification icon\n"
      << Seen();
}

void WineTellbud::TearDown() {
  m_run.reset();
  EXPECT_TRUE(WaitFor([] { return !TrayShowsIcon(); }, kUiTimeout))
      << "the tray icon stayed after Tellbud ended\n"
      << DescribeWindows();
  m_world.reset();
}

std::string WineTellbud::Seen() const {
  std::string text = DescribeWindows();
  if (m_run) text += "debugger output of Tellbud.exe:\n" + m_run->DebugOutputText();
  if (m_world) text += "handset transcript:\n" + m_world->Transcript();
  return text;
}

HWND WineTellbud::OpenTrayMenu() {
  HWND menu = OpenTrayMenuOf(m_run->ProcessId(), kUiTimeout / 2);
  Sleep(300);  // the menu takes the keyboard once it is drawn
  return menu;
}

void WineTellbud::ChooseTrayItem(TrayItem item) {
  HWND menu = OpenTrayMenu();
  if (!menu) SaveBitmap(CaptureScreen(), ResultsFolder() + L"\\failed-tray-menu.bmp");
  ASSERT_TRUE(menu) << "the tray menu did not open (the screen: failed-tray-menu.png)\n" << Seen();
  for (int i = 0; i < static_cast<int>(item); ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return !PopupMenuOf(m_run->ProcessId()); }, kUiTimeout))
      << "the tray menu stayed open\n"
      << Seen();
}

HWND WineTellbud::WaitWindow(const std::wstring& title, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowOf(m_run->ProcessId(), title)) != nullptr; }, timeoutMs);
  return found;
}

bool WineTellbud::WaitGone(HWND hWnd, DWORD timeoutMs) {
  return WaitFor([&] { return !IsWindow(hWnd) || !IsWindowVisible(hWnd); }, timeoutMs);
}

bool WineTellbud::Activate(HWND hWnd) {
  SetForegroundWindow(hWnd);
  return WaitFor([&] { return GetForegroundWindow() == hWnd; }, kUiTimeout);
}

void WineTellbud::ClickControl(HWND dialog, int id) {
  RECT rc{};
  GetWindowRect(GetDlgItem(dialog, id), &rc);
  Click(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}, false);
}

std::wstring WineTellbud::IniValue(const wchar_t* file, const wchar_t* section, const wchar_t* key) const {
  wchar_t value[256] = {};
  GetPrivateProfileStringW(section, key, L"", value, 256, (m_run->Folder() + L"\\" + file).c_str());
  return value;
}

void WineTellbud::ExpectKeysHideTheMainWindow(const char* after) {
  for (WORD key : {VK_ESCAPE, VK_RETURN}) {
    // The first key goes to the window as it is; the second to the window shown again from the
    // tray, which makes it the active window.
    if (!IsWindowVisible(m_hMain)) DoubleClick(TrayIconPoint());
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(m_hMain) != FALSE; }, kUiTimeout)) << Seen();
    // The dialog manager gives the focus back to the control that had it when the window was
    // deactivated: the contact list.
    WaitKeyboardReady(m_hMain, kUiTimeout);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(m_hMain, nullptr), &gui);
    EXPECT_EQ(gui.hwndActive, m_hMain) << after << "\n" << Seen();
    EXPECT_EQ(GetDlgCtrlID(gui.hwndFocus), 1003) << "the focus is not on the contact list " << after << "\n"
                                                 << Seen();
    PressKey(key);
    EXPECT_TRUE(WaitGone(m_hMain)) << (key == VK_ESCAPE ? "Escape" : "Enter")
                                   << " did not hide the main window " << after << "\n"
                                   << Seen();
  }
}

void WineTellbud::Screenshot(HWND hWnd, const wchar_t* name) {
  Sleep(500);  // the window finishes painting
  RECT rc{};
  GetWindowRect(hWnd, &rc);
  Screen shot = Crop(CaptureScreen(), rc);
  EXPECT_TRUE(SaveBitmap(shot, ResultsFolder() + L"\\" + name + L".bmp")) << "screenshot not saved";
  EXPECT_GE(CountColours(shot, 3), 3u) << "the screenshot is blank\n" << Seen();
}

}  // namespace wine_test
