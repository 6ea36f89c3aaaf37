// `show` on Wine: what a person sees, in tellbud-sim's forms, as far as the desktop shows it:
// Tellbud's main window with its contact rows, its other dialogs with their controls, and the
// tray icon with its tip. The handset's inner state, sound devices and the program's call state
// are the simulated world's (their `expect` lines are marked [sim]).
#include <windows.h>
#include <commctrl.h>

#include "tests/wine/desktop.h"
#include "tests/wine/remote_list_view.h"
#include "tests/wine/script_driver.h"
#include "tests/wine/script_text.h"

namespace wine_test {

namespace {

// The row's image as the program sets it: image 0 online, image 1 offline.
std::string ImageName(int image) {
  if (image < 0) return "no image";
  if (image == 0) return "online";
  if (image == 1) return "offline";
  return "image " + std::to_string(image);
}

void DescribeRows(HWND list, std::vector<std::string>& out) {
  std::vector<ListViewRow> rows = ListViewRows(list);
  int mark = ListViewSelectionMark(list);
  if (rows.empty()) out.push_back("  no rows");
  for (size_t i = 0; i < rows.size(); ++i) {
    // Appended piece by piece: GCC 12 warns falsely of "literal" + temporary here.
    std::string line = "  row ";
    line += std::to_string(i + 1);
    line += ":";
    for (const std::wstring& text : rows[i].texts) line.append(" ").append(Quoted(text));
    line.append(" ").append(ImageName(rows[i].image));
    if (rows[i].selected) line += " selected";
    if (static_cast<int>(i) == mark) line += " marked";
    out.push_back(line);
  }
}

std::wstring ClassName(HWND hWnd) {
  wchar_t cls[64] = {};
  GetClassNameW(hWnd, cls, 64);
  return cls;
}

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM param) {
  auto* out = reinterpret_cast<std::vector<HWND>*>(param);
  if (GetParent(hWnd) == out->front()) out->push_back(hWnd);
  return TRUE;
}

// One child control of a dialog: id, class, text, state, and what it holds.
std::string DescribeControl(HWND control) {
  std::wstring cls = ClassName(control);
  std::string line = "  control " + std::to_string(GetDlgCtrlID(control)) + " " + Utf8(cls) + " " +
                     Quoted(WindowText(control));
  if (!IsWindowEnabled(control)) line += " disabled";
  if (!IsWindowVisible(control)) line += " hidden";
  if (lstrcmpiW(cls.c_str(), WC_COMBOBOXW) == 0)
    line += " selection " + std::to_string(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
  if (lstrcmpiW(cls.c_str(), TRACKBAR_CLASSW) == 0)
    line += " position " + std::to_string(static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0)));
  return line;
}

struct DialogsOf {
  DWORD pid;
  HWND main;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM param) {
  auto* d = reinterpret_cast<DialogsOf*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hWnd, &pid);
  if (pid == d->pid && hWnd != d->main && IsWindowVisible(hWnd) && ClassName(hWnd) == L"#32770")
    d->found.push_back(hWnd);
  return TRUE;
}

}  // namespace

CScriptDriver::Result CScriptDriver::Show(const Call&) {
  std::vector<std::string> out;
  HWND main = MainWindow();
  if (!main) {
    out.push_back(m_bStarted && !m_run->HasExited() ? "main window: none"
                                                    : "main window: none (Tellbud is not running)");
  } else {
    out.push_back("main window: " + Quoted(WindowText(main)) +
                  (IsWindowVisible(main) ? " visible" : " hidden") + (IsIconic(main) ? " minimized" : ""));
    if (HWND list = FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr)) DescribeRows(list, out);
    DialogsOf dialogs{m_run->ProcessId(), main, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs.found) {
      out.push_back("dialog " + Quoted(WindowText(dialog)) + (IsWindowEnabled(dialog) ? "" : " disabled"));
      std::vector<HWND> children{dialog};
      EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
      for (size_t i = 1; i < children.size(); ++i) out.push_back(DescribeControl(children[i]));
    }
  }
  if (!main || !TrayShowsIcon()) {
    out.push_back("tray: empty");
  } else {
    std::wstring look = CTrayLooks(m_run->Folder()).Current();
    // The task bar shows a tip only after the mouse has rested a moment; a busy one may not.
    std::wstring tip;
    for (int attempt = 0; attempt < 3 && tip.empty(); ++attempt) tip = TrayTip(3000);
    MoveMouse(POINT{400, 300});
    HideTips();
    out.push_back("tray: icon " + Utf8(look) + ", tip " + Quoted(tip));
  }
  for (const std::string& line : out) Print(line);
  return Result::Ok();
}

}  // namespace wine_test
