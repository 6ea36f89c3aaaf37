// Shared fixture of the dialog, control and menu tests: a desktop, an application process whose
// main thread runs the code under test, a scriptable dialog procedure and template building.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/user/dialog_template_writer.h"

namespace dialog_test {

using TemplateWriter = sim::user::DialogTemplateWriter;

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kComboAtom = 0x0085;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// What the dialog procedure saw, and what it does. The default behaviour is the usual one:
// WM_INITDIALOG returns TRUE, IDOK and IDCANCEL end the dialog with their id.
struct DialogScript {
  std::vector<UINT> messages;
  std::vector<std::pair<int, int>> commands;  // (id, notification code)
  std::vector<UINT> notifications;            // WM_NOTIFY codes
  std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> handler;
};
inline DialogScript* g_script = nullptr;

inline INT_PTR CALLBACK ScriptedDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (!g_script) return FALSE;
  g_script->messages.push_back(msg);
  if (msg == WM_COMMAND) g_script->commands.emplace_back(LOWORD(wp), HIWORD(wp));
  if (msg == WM_NOTIFY) g_script->notifications.push_back(reinterpret_cast<NMHDR*>(lp)->code);
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
  wc.lpszClassName = u"DialogTestOwner";
  RegisterClassW(&wc);
  return CreateWindowExW(0, u"DialogTestOwner", u"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                         nullptr, nullptr, nullptr, nullptr);
}

inline int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

// A dialog with OK and Cancel buttons (OK the default) and an edit, as most tests need.
inline TemplateWriter OkCancelTemplate(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME) {
  TemplateWriter t(style, 0, 10, 10, 160, 80, u"Test dialog");
  t.AddItem(kEditAtom, u"", 100, kChild | WS_TABSTOP | WS_BORDER, 7, 7, 100, 12);
  t.AddItem(kButtonAtom, u"OK", IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 30, 55, 50, 14);
  t.AddItem(kButtonAtom, u"Cancel", IDCANCEL, kChild | WS_TABSTOP | BS_PUSHBUTTON, 90, 55, 50, 14);
  return t;
}

class DesktopTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  DialogScript script;
  DWORD pid = 0;

  void SetUp() override { g_script = &script; }
  void TearDown() override { g_script = nullptr; }

  // Starts the application process; `main` runs on its main thread. Runs until it blocks.
  DWORD StartApp(std::function<int()> main) {
    pid = desktop.StartProcess(sim::ProcessInfo{0, u"app.exe", u"C:\\app.exe", u"app.exe"}, std::move(main));
    desktop.RunUntilIdle();
    return pid;
  }

  // A key press and release through the keyboard, to the focus of the foreground window.
  void PressKey(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    desktop.RunUntilIdle();
  }
};

}  // namespace dialog_test
