// Shared fixture of the dialog, control and menu tests: a desktop, an application process whose
// main thread runs the code under test, a scriptable dialog procedure and template building.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/user/dialog_template_writer.h"
#include "support/test_desktop.h"

namespace dialog_test {

using TemplateWriter = sim::user::DialogTemplateWriter;

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kComboAtom = 0x0085;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// A notification the dialog received from one of its controls.
struct ControlEvent {
  UINT msg = 0;   // WM_COMMAND, WM_NOTIFY, WM_HSCROLL or WM_VSCROLL
  UINT code = 0;  // notification code (WM_COMMAND: HIWORD; scrolls: LOWORD)
  int id = 0;
  int item = 0;  // list view notifications: iItem; scrolls: the position
  UINT new_state = 0;
  UINT old_state = 0;
  LPARAM from = 0;  // the control's window
};

// The list view notifications that come with an NMLISTVIEW (or NMITEMACTIVATE, which starts
// alike); others, such as LVN_KEYDOWN, carry smaller structures.
inline bool IsListViewItemNotification(UINT code) {
  switch (code) {
    case LVN_ITEMCHANGING:
    case LVN_ITEMCHANGED:
    case LVN_INSERTITEM:
    case LVN_DELETEITEM:
    case LVN_DELETEALLITEMS:
    case LVN_ITEMACTIVATE:
    case NM_CLICK:
    case NM_DBLCLK:
    case NM_RCLICK:
      return true;
    default:
      return false;
  }
}

inline ControlEvent EventOf(UINT msg, WPARAM wp, LPARAM lp) {
  ControlEvent e;
  e.msg = msg;
  if (msg == WM_COMMAND) {
    e.code = HIWORD(wp);
    e.id = LOWORD(wp);
    e.from = lp;
  } else if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    e.code = header->code;
    e.id = static_cast<int>(header->idFrom);
    e.from = reinterpret_cast<LPARAM>(header->hwndFrom);
    if (IsListViewItemNotification(header->code)) {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(lp);
      e.item = nm->iItem;
      e.new_state = nm->uNewState;
      e.old_state = nm->uOldState;
    }
  } else {
    e.code = LOWORD(wp);
    e.item = static_cast<short>(HIWORD(wp));
    e.from = lp;
  }
  return e;
}

// What the dialog procedure saw, and what it does. The default behaviour is the usual one:
// WM_INITDIALOG returns TRUE, IDOK and IDCANCEL end the dialog with their id.
struct DialogScript {
  std::vector<UINT> messages;
  std::vector<std::pair<int, int>> commands;  // (id, notification code)
  std::vector<UINT> notifications;            // WM_NOTIFY codes
  std::vector<ControlEvent> events;           // WM_COMMAND, WM_NOTIFY and scroll messages
  std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> handler;
};
inline DialogScript* g_script = nullptr;

inline INT_PTR CALLBACK ScriptedDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (!g_script) return FALSE;
  g_script->messages.push_back(msg);
  if (msg == WM_COMMAND) g_script->commands.emplace_back(LOWORD(wp), HIWORD(wp));
  if (msg == WM_NOTIFY) g_script->notifications.push_back(reinterpret_cast<NMHDR*>(lp)->code);
  if (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_HSCROLL || msg == WM_VSCROLL)
    g_script->events.push_back(EventOf(msg, wp, lp));
  if (g_script->handler) return g_script->handler(dlg, msg, wp, lp);
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    EndDialog(dlg, LOWORD(wp));
    return TRUE;
  }
  return FALSE;
}

inline LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

// A visible top-level window to own dialogs.
inline HWND CreateOwnerWindow(WNDPROC proc = OwnerProc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = TEXT("DialogTestOwner");
  RegisterClassW(&wc);
  return CreateWindowExW(0, TEXT("DialogTestOwner"), TEXT("Owner"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                         400, 300, nullptr, nullptr, nullptr, nullptr);
}

inline int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

// The message loop of a thread with a modeless dialog: the dialog's messages go through
// IsDialogMessageW, the others are dispatched.
inline int RunDialogLoop(const HWND& dialog) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsWindow(dialog) && IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

// A dialog with OK and Cancel buttons (OK the default) and an edit, as most tests need.
inline TemplateWriter OkCancelTemplate(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME) {
  TemplateWriter t(style, 0, 10, 10, 160, 80, TEXT("Test dialog"));
  t.AddItem(kEditAtom, TEXT(""), 100, kChild | WS_TABSTOP | WS_BORDER, 7, 7, 100, 12);
  t.AddItem(kButtonAtom, TEXT("OK"), IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 30, 55, 50, 14);
  t.AddItem(kButtonAtom, TEXT("Cancel"), IDCANCEL, kChild | WS_TABSTOP | BS_PUSHBUTTON, 90, 55, 50, 14);
  return t;
}

class DesktopTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
  DialogScript script;
  DWORD pid = 0;

  void SetUp() override { g_script = &script; }

  // The ids of the BN_CLICKED commands the dialog received (focus notifications of edits and
  // other controls come in between).
  std::vector<int> ClickedIds() {
    std::vector<int> ids;
    for (auto& [id, code] : script.commands)
      if (code == BN_CLICKED) ids.push_back(id);
    return ids;
  }
  void TearDown() override { g_script = nullptr; }

  // Starts the application process; `main` runs on its main thread. Runs until it blocks.
  DWORD StartApp(std::function<int()> main) {
    pid = desktop.StartProgram(TEXT("app.exe"), std::move(main));
    return pid;
  }

  // A key press and release through the keyboard, to the focus of the foreground window.
  void PressKey(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    desktop.RunUntilIdle();
  }
};

// A visible modeless dialog holding the controls under test, with a message loop that gives it
// its keys through IsDialogMessageW.
class ControlTest : public DesktopTest {
 protected:
  HWND dialog = nullptr;

  void Open(TemplateWriter t) {
    StartApp([this, t]() mutable {
      dialog = CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, ScriptedDialogProc, 0);
      return RunDialogLoop(dialog);
    });
  }
  // A dialog with one control of the given class, id 100, 150 x 100 dialog units.
  void OpenWith(TemplateWriter::ClassRef cls, DWORD style, const WCHAR* title = TEXT("")) {
    TemplateWriter t(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 0, 200, 120, TEXT("Controls"));
    t.AddItem(cls, title, 100, kChild | WS_TABSTOP | style, 5, 5, 150, 100);
    Open(t);
  }
  HWND Item(int id = 100) { return GetDlgItem(dialog, id); }
  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(Item(), msg, wp, lp); }
  template <typename T>
  LRESULT Send(UINT msg, WPARAM wp, T* p) {
    return SendMessageW(Item(), msg, wp, reinterpret_cast<LPARAM>(p));
  }
  // The codes of the events of one kind, in order.
  std::vector<UINT> Codes(UINT msg) {
    std::vector<UINT> out;
    for (auto& e : script.events)
      if (e.msg == msg) out.push_back(e.code);
    return out;
  }
};

}  // namespace dialog_test
