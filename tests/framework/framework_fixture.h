// Shared set-up for the framework's tests: a fresh simulated desktop, a program process whose
// main thread runs the code under test, and a record of the program's debugger output.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>

#include <framework/framework.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace framework_test {

// Dialog templates the tests run.
constexpr UINT kSimpleDialog = 200;  // "Settings": OK, Cancel, an edit, a combo box, a trackbar, a list
constexpr UINT kChildDialog = 201;   // "Child": OK, Cancel
constexpr UINT kPhoneDialog = 202;   // "Phone": an ActiveX control (kPhoneClsid) and OK
constexpr UINT kParentDialog = 203;  // "Main": OK, Cancel
constexpr UINT kMissingDialog = 299;
constexpr int kEditId = 1004;
constexpr int kComboId = 1000;
constexpr int kSliderId = 1002;
constexpr int kListId = 1003;
constexpr int kPhoneId = 1001;
constexpr WCHAR kPhoneClsid[] = u"{0F3A4C21-77D2-4A5B-9E1C-2B6D8E4F0A13}";

inline CResourceTable TestResources() {
  constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  CResourceTable table;
  CDialogResource simple{kSimpleDialog, u"Settings", 0, 0, 220, 150, kDialogStyle, 0, u"MS Shell Dlg", 8, {}};
  simple.items = {
      {u"Edit", u"", static_cast<UINT>(kEditId), 7, 7, 100, 12,
       WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
      {u"ComboBox", u"", static_cast<UINT>(kComboId), 7, 24, 100, 60,
       WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST},
      {u"msctls_trackbar32", u"", static_cast<UINT>(kSliderId), 7, 40, 100, 15, WS_VISIBLE | WS_TABSTOP},
      {u"SysListView32", u"", static_cast<UINT>(kListId), 7, 58, 200, 60,
       WS_VISIBLE | WS_BORDER | LVS_REPORT},
      {u"Button", u"OK", IDOK, 110, 128, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
      {u"Button", u"Cancel", IDCANCEL, 163, 128, 50, 14, WS_VISIBLE | WS_TABSTOP},
  };
  CDialogResource child{kChildDialog, u"Child", 10, 10, 120, 60, kDialogStyle, 0, u"MS Shell Dlg", 8, {}};
  child.items = {
      {u"Button", u"OK", IDOK, 10, 40, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
      {u"Button", u"Cancel", IDCANCEL, 63, 40, 50, 14, WS_VISIBLE | WS_TABSTOP},
  };
  CDialogResource parent{kParentDialog, u"Main", 0, 0, 160, 80, kDialogStyle, 0, u"MS Shell Dlg", 8, {}};
  parent.items = child.items;
  CDialogResource phone{kPhoneDialog, u"Phone", 0, 0, 120, 60, kDialogStyle, 0, u"MS Shell Dlg", 8, {}};
  phone.items = {
      {kPhoneClsid, nullptr, static_cast<UINT>(kPhoneId), 5, 5, 20, 20, WS_TABSTOP},
      {u"Button", u"OK", IDOK, 10, 40, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
  };
  table.dialogs = {simple, child, phone, parent};
  table.strings = {{101, u"About Tellbud..."}};
  return table;
}

class DebugLog : public sim::Observer {
 public:
  void OnDebugString(DWORD, const std::u16string& text) override { lines.push_back(text); }
  bool Contains(const std::u16string& part) const {
    for (const auto& line : lines) {
      if (line.find(part) != std::u16string::npos) return true;
    }
    return false;
  }
  std::vector<std::u16string> lines;
};

class FrameworkTest : public ::testing::Test {
 protected:
  FrameworkTest() {
    desktop.AddObserver(&debug);
    AfxSetResourceTable(TestResources());
  }
  // The desktop goes first, before the derived fixtures' members that the program may still use.
  void TearDown() override {
    desktop.RemoveObserver(&debug);
    owned_desktop_.reset();
  }

  // Starts "Tellbud.exe" with `main` as its main thread and lets it run until it waits.
  DWORD Start(std::function<int()> main) {
    pid = desktop.StartProcess(
        sim::ProcessInfo{0, u"Tellbud.exe", u"C:\\Program Files\\Tellbud\\Tellbud.exe", u"Tellbud.exe"},
        std::move(main));
    desktop.RunUntilIdle();
    return pid;
  }
  bool Running() const { return desktop.IsProcessRunning(pid); }
  std::optional<int> ExitCode() const { return desktop.ProcessExitCode(pid); }

  // A visible or hidden top-level dialog of the program with this title.
  HWND FindDialog(LPCWSTR title) { return FindWindowW(u"#32770", title); }

  // Posts a command to a window as its button or menu would, and lets the program run.
  void Command(HWND hWnd, int id) {
    PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    desktop.RunUntilIdle();
  }

  // Presses and releases a key on the foreground window, and lets the program run.
  void PressKey(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    desktop.RunUntilIdle();
  }

  std::unique_ptr<sim::Desktop> owned_desktop_ = std::make_unique<sim::Desktop>();
  sim::Desktop& desktop = *owned_desktop_;
  DebugLog debug;
  DWORD pid = 0;
};

// Texts of the static controls of a dialog (a message box's text is one of them).
inline std::vector<std::u16string> StaticTexts(HWND dialog) {
  std::vector<std::u16string> texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    WCHAR cls[64] = {};
    GetClassNameW(child, cls, 64);
    if (lstrcmpiW(cls, u"Static") != 0) continue;
    WCHAR text[512] = {};
    GetWindowTextW(child, text, 512);
    texts.emplace_back(text);
  }
  return texts;
}

inline std::u16string WindowText(HWND hWnd) {
  WCHAR text[512] = {};
  GetWindowTextW(hWnd, text, 512);
  return text;
}

}  // namespace framework_test
