// The script driver's commands for what the user does at the PC, with real mouse and keyboard
// input: the tray icon, pop-up menus, the contact list, dialog buttons and edits, Enter and
// Escape, and the main window's close button.
#include <windows.h>
#include <commctrl.h>

#include "tests/wine/desktop.h"
#include "tests/wine/remote_list_view.h"
#include "tests/wine/script_driver.h"
#include "tests/wine/script_text.h"
#include "world/console/numbers.h"

namespace wine_test {

namespace {

constexpr DWORD kUiTimeoutMs = 10000;

// The pop-up menus' items as Tellbud's resources define them (res/tellbud_resources.cpp), "-"
// a separator. On Wine the items of another process's menu cannot be read, so an item is chosen
// by its position with the keyboard.
const std::vector<std::string> kTrayMenu = {"AutoRun", "SelectLanguage", "SetAudio", "Option", "About", "-",
                                            "Exit"};
const std::vector<std::string> kContactMenu = {"StartVoice", "StartChat", "Rename", "SpeedDialNumber"};

std::string Join(const std::vector<std::string>& words, size_t from = 0) {
  std::string out;
  for (size_t i = from; i < words.size(); ++i) out += (out.empty() ? "" : " ") + words[i];
  return out;
}

std::string DescribeItems(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items)
    out += (out.empty() ? "" : ", ") + (item == "-" ? item : "\"" + item + "\"");
  return out;
}

std::string DescribeWindow(HWND hWnd) {
  if (!hWnd) return "no window";
  wchar_t cls[64] = {};
  GetClassNameW(hWnd, cls, 64);
  HWND top = GetAncestor(hWnd, GA_ROOT);
  return "a \"" + Utf8(cls) + "\" window of " + Quoted(WindowText(top ? top : hWnd));
}

// A person clicks what they see: a click waits until `target` is the window under the point (a
// window just shown or just closed takes a moment on a real desktop); the error names the window
// that would take it instead.
std::string WaitUnderPoint(HWND target, POINT point) {
  HWND seen = nullptr;
  if (WaitFor([&] { return (seen = WindowFromPoint(point)) == target || IsChild(target, seen); },
              kUiTimeoutMs))
    return "";
  return "the click at (" + std::to_string(point.x) + "," + std::to_string(point.y) + ") would land on " +
         DescribeWindow(seen);
}

std::string ClickMiddle(HWND hWnd, bool right) {
  RECT rc{};
  GetWindowRect(hWnd, &rc);
  POINT middle{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  std::string error = WaitUnderPoint(hWnd, middle);
  if (error.empty()) Click(middle, right);
  return error;
}

struct FindTitle {
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND hWnd, LPARAM param) {
  auto* f = reinterpret_cast<FindTitle*>(param);
  if (!IsWindowVisible(hWnd) || WindowText(hWnd) != f->title) return TRUE;
  f->found = hWnd;
  return FALSE;
}

// The topmost visible top-level window with this title, of any process.
HWND VisibleWindowTitled(const std::wstring& title) {
  FindTitle find{title};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

std::wstring WithoutAccelerators(std::wstring text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

BOOL CALLBACK MatchButton(HWND hWnd, LPARAM param) {
  auto* f = reinterpret_cast<FindTitle*>(param);
  wchar_t cls[32] = {};
  GetClassNameW(hWnd, cls, 32);
  if (lstrcmpiW(cls, L"Button") || !IsWindowVisible(hWnd) || !IsWindowEnabled(hWnd) ||
      WithoutAccelerators(WindowText(hWnd)) != f->title)
    return TRUE;
  f->found = hWnd;
  return FALSE;
}

// The enabled, visible button of the dialog whose text (without its '&') is `text`.
HWND DialogButton(HWND dialog, const std::wstring& text) {
  FindTitle find{text};
  EnumChildWindows(dialog, MatchButton, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

struct TopLevelOf {
  DWORD pid;
  HWND main;
  HWND found = nullptr;
};

// A dialog of the process other than its main window, visible and enabled.
BOOL CALLBACK MatchDialog(HWND hWnd, LPARAM param) {
  auto* f = reinterpret_cast<TopLevelOf*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hWnd, &pid);
  wchar_t cls[16] = {};
  GetClassNameW(hWnd, cls, 16);
  if (pid != f->pid || hWnd == f->main || !IsWindowVisible(hWnd) || !IsWindowEnabled(hWnd) ||
      std::wstring(cls) != L"#32770")
    return TRUE;
  f->found = hWnd;
  return FALSE;
}

}  // namespace

HWND CScriptDriver::MainWindow() const {
  if (!m_bStarted || m_run->HasExited()) return nullptr;
  for (HWND hWnd = FindWindowExW(nullptr, nullptr, nullptr, L"Tellbud<1.0>"); hWnd;
       hWnd = FindWindowExW(nullptr, hWnd, nullptr, L"Tellbud<1.0>")) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == m_run->ProcessId()) return hWnd;
  }
  return nullptr;
}

CScriptDriver::Result CScriptDriver::Tray(const Call& call) {
  const std::string action = call.args.size() == 1 ? call.args[0] : "";
  if (action != "dblclick" && action != "rclick" && action != "click")
    return Result::Failed("usage: tray dblclick | tray rclick | tray click");
  if (!TrayShowsIcon()) return Result::Failed("there is no icon in the notification area");
  if (action == "dblclick") {
    DoubleClick(TrayIconPoint());
  } else if (action == "click") {
    Click(TrayIconPoint(), false);
  } else {
    if (!OpenTrayMenuOf(m_run->ProcessId(), kUiTimeoutMs / 2))
      return Result::Failed("the tray menu did not open after three right-clicks");
    m_openedMenu = OpenedMenu::kTray;
    Sleep(300);  // the menu takes the keyboard once it is drawn
  }
  return Result::Ok();
}

CScriptDriver::Result CScriptDriver::Menu(const Call& call) {
  std::string item = Join(call.args);
  if (item.empty()) return Result::Failed("usage: menu ITEM | menu none");
  DWORD pid = m_bStarted ? m_run->ProcessId() : 0;
  // In real time a menu opens a moment after the click that asks for it.
  if (!WaitFor([&] { return PopupMenuOf(pid) != nullptr; }, kUiTimeoutMs))
    return Result::Failed("no pop-up menu is open" + DescribeListSelection());
  if (item == "none") {
    PressKey(VK_ESCAPE);
  } else {
    const std::vector<std::string>& items = m_openedMenu == OpenedMenu::kContact ? kContactMenu : kTrayMenu;
    int downs = 0;
    bool found = false;
    for (const std::string& candidate : items) {
      if (candidate == "-") continue;
      ++downs;
      if ((found = candidate == item)) break;
    }
    if (!found)
      return Result::Failed("the menu has no item '" + item + "' (it has " + DescribeItems(items) + ")");
    for (int i = 0; i < downs; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
  }
  m_openedMenu = OpenedMenu::kNone;
  if (!WaitFor([&] { return !PopupMenuOf(pid); }, kUiTimeoutMs))
    return Result::Failed("the menu stayed open");
  return Result::Ok();
}

// The rows the contact list shows selected and its selection mark, for a click that opened no
// menu: the program acts only on a marked row that is still selected.
std::string CScriptDriver::DescribeListSelection() {
  HWND main = MainWindow();
  HWND list = main ? FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
  if (!list) return "";
  std::string selected;
  for (LRESULT row = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); row >= 0;
       row = SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))
    selected += (selected.empty() ? "" : ", ") + std::to_string(row + 1);
  LRESULT mark = SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0);
  return " (selected rows: " + (selected.empty() ? std::string("none") : selected) +
         "; marked row: " + (mark >= 0 ? std::to_string(mark + 1) : std::string("none")) + ")";
}

CScriptDriver::Result CScriptDriver::List(const Call& call) {
  const std::string action = call.args.size() == 2 ? call.args[0] : "";
  if (action != "click" && action != "dblclick" && action != "rclick")
    return Result::Failed("usage: list click|dblclick|rclick ROW");
  auto row = console::ParseNumber(call.args[1]);
  if (!row || *row == 0 || *row > 100000)
    return Result::Failed("not a row: '" + call.args[1] + "' (1 is the first)");
  HWND main = MainWindow();
  HWND list = main ? FindWindowExW(main, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
  if (!list) return Result::Failed("Tellbud has no contact list");
  // A dialog that was just closed takes a moment to give the main window back, as a person sees.
  if (!WaitFor([&] { return IsWindowVisible(main) && IsWindowEnabled(main); }, kUiTimeoutMs))
    return Result::Failed("the contact list does not take the mouse now (hidden or disabled)");
  // A row Messenger's contacts fill in comes a moment after the window, as a person sees.
  RECT rc{};
  auto rowShown = [&] {
    rc = ListViewRowRect(list, static_cast<int>(*row) - 1);
    return rc.right > rc.left;
  };
  if (!WaitFor(rowShown, kUiTimeoutMs)) return Result::Failed("the contact list has no row " + call.args[1]);
  POINT point{rc.left + 20, (rc.top + rc.bottom) / 2};
  if (std::string error = WaitUnderPoint(list, point); !error.empty()) return Result::Failed(error);
  if (action == "dblclick") {
    DoubleClick(point);
  } else {
    Click(point, action == "rclick");
  }
  if (action == "rclick") {
    m_openedMenu = OpenedMenu::kContact;
    Sleep(300);
  }
  return Result::Ok();
}

CScriptDriver::Result CScriptDriver::Button(const Call& call) {
  if (call.args.size() != 2) return Result::Failed("usage: button \"DIALOG TITLE\" \"TEXT\"");
  HWND dialog = VisibleWindowTitled(Wide(call.args[0]));
  if (!dialog) return Result::Failed("no open dialog titled '" + call.args[0] + "'");
  HWND button = DialogButton(dialog, Wide(call.args[1]));
  if (!button) return Result::Failed("the dialog has no enabled button '" + call.args[1] + "'");
  if (std::string error = ClickMiddle(button, false); !error.empty()) return Result::Failed(error);
  return Result::Ok();
}

// Selects the whole text and types the new one over it; an empty text is Backspace on the
// selection.
CScriptDriver::Result CScriptDriver::Type(const Call& call) {
  if (call.args.size() != 3) return Result::Failed("usage: type \"DIALOG TITLE\" ID \"TEXT\"");
  HWND dialog = VisibleWindowTitled(Wide(call.args[0]));
  if (!dialog) return Result::Failed("no open dialog titled '" + call.args[0] + "'");
  auto id = console::ParseNumber(call.args[1]);
  HWND edit = id && *id <= 0xFFFF ? GetDlgItem(dialog, static_cast<int>(*id)) : nullptr;
  if (!edit) return Result::Failed("the dialog '" + call.args[0] + "' has no control " + call.args[1]);
  wchar_t cls[32] = {};
  GetClassNameW(edit, cls, 32);
  if (lstrcmpiW(cls, L"Edit")) return Result::Failed("control " + call.args[1] + " is not an edit");
  if (!IsWindowVisible(edit) || !IsWindowEnabled(edit))
    return Result::Failed("the edit does not take typing now (hidden or disabled)");
  if (std::string error = ClickMiddle(edit, false); !error.empty()) return Result::Failed(error);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  if (call.args[2].empty()) {
    PressKey(VK_BACK);
  } else {
    TypeText(Wide(call.args[2]));
  }
  return Result::Ok();
}

// A key pressed on Tellbud's active dialog: its topmost enabled dialog over the main window,
// else the main window, brought to the front first.
CScriptDriver::Result CScriptDriver::Key(const Call& call) {
  const std::string name = call.args.size() == 1 ? call.args[0] : "";
  WORD vk = name == "enter" ? VK_RETURN : name == "escape" ? VK_ESCAPE : 0;
  if (!vk) return Result::Failed("usage: key enter | key escape");
  HWND main = MainWindow();
  if (!main) return Result::Failed("Tellbud has no main window");
  TopLevelOf find{m_run->ProcessId(), main};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&find));
  HWND target = find.found ? find.found : main;
  if (!IsWindowVisible(target)) return Result::Failed("Tellbud's main window is not visible");
  SetForegroundWindow(target);
  if (!WaitKeyboardReady(target, kUiTimeoutMs))
    return Result::Failed("the window " + Quoted(WindowText(target)) + " did not take the keyboard");
  PressKey(vk);
  return Result::Ok();
}

// The caption's close button: Windows turns the click into WM_SYSCOMMAND SC_CLOSE.
CScriptDriver::Result CScriptDriver::Window(const Call& call) {
  if (call.args.size() != 1 || call.args[0] != "close")
    return Result::Failed(
        "only 'window close' is carried out by the Windows script driver; Messenger's "
        "conversation windows are the simulated world's (mark the line [sim])");
  HWND main = MainWindow();
  if (!main) return Result::Failed("Tellbud has no main window");
  if (!IsWindowVisible(main)) return Result::Failed("Tellbud's main window is not visible");
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  return Result::Ok();
}

}  // namespace wine_test
