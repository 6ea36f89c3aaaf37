// Keyboard handling of dialogs: IsDialogMessageW (Tab, Enter, Escape, arrow keys) and the
// order of controls for the focus (tab stops and groups).
#include <windows.h>

#include <functional>
#include <vector>

#include "user/dialog.h"

namespace sim::user {

namespace {

// The dialog's controls in creation order; the children of a WS_EX_CONTROLPARENT control count
// as controls of the dialog, as Windows searches them.
std::vector<HWND> DialogControls(HWND dialog) {
  std::vector<HWND> out;
  std::function<void(HWND)> walk = [&](HWND parent) {
    Window* p = FromHandle(parent);
    if (!p) return;
    for (HWND c : p->children) {
      Window* cw = FromHandle(c);
      if (!cw) continue;
      if (cw->ex_style & WS_EX_CONTROLPARENT) {
        walk(c);
      } else {
        out.push_back(c);
      }
    }
  };
  walk(dialog);
  return out;
}

bool HasStyle(HWND hwnd, DWORD style) { return (GetWindowLongW(hwnd, GWL_STYLE) & style) == style; }

int IndexOf(const std::vector<HWND>& list, HWND hwnd) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == hwnd) return static_cast<int>(i);
  return -1;
}

// The first control after `from` (or before it, going back), wrapping around and stopping
// short of `from`, that passes `accept`. `from` -1 starts at either end.
HWND Search(const std::vector<HWND>& list, int from, bool previous, const std::function<bool(HWND)>& accept) {
  int n = static_cast<int>(list.size());
  if (n == 0) return nullptr;
  int start = from < 0 ? (previous ? 0 : n - 1) : from;
  for (int step = 1; step <= n; ++step) {
    int i = previous ? (start - step + n * 2) % n : (start + step) % n;
    if (from >= 0 && i == from) break;
    if (accept(list[i])) return list[i];
  }
  return nullptr;
}

void PressDefaultButton(HWND dialog) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus)) {
    LRESULT code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
      if (IsWindowEnabled(focus))
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                     reinterpret_cast<LPARAM>(focus));
      return;
    }
  }
  DWORD def = static_cast<DWORD>(SendMessageW(dialog, DM_GETDEFID, 0, 0));
  if (HIWORD(def) == DC_HASDEFID) {
    HWND button = GetDlgItem(dialog, LOWORD(def));
    if (!button || IsWindowEnabled(button))
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(def), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return;
  }
  SendMessageW(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

void MoveInGroup(HWND dialog, HWND from, bool previous) {
  HWND next = GetNextDlgGroupItem(dialog, from, previous ? TRUE : FALSE);
  if (next && next != from) SetDialogFocus(dialog, next);
}

// Handles a key the focused control does not want; true when it was a dialog key.
bool HandleDialogKey(HWND dialog, const MSG& msg, LRESULT code) {
  switch (msg.wParam) {
    case VK_TAB:
      if (code & DLGC_WANTTAB) return false;
      SendMessageW(dialog, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
      return true;
    case VK_RETURN:
      PressDefaultButton(dialog);
      return true;
    case VK_ESCAPE:
      SendMessageW(dialog, WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (code & DLGC_WANTARROWS) return false;
      MoveInGroup(dialog, msg.hwnd, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
      return true;
    default:
      return false;
  }
}

}  // namespace

void SetDialogFocus(HWND dialog, HWND control) {
  (void)dialog;
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void MoveDialogFocus(HWND dialog, WPARAM wp, LPARAM lp) {
  HWND target;
  if (LOWORD(lp)) {
    target = reinterpret_cast<HWND>(wp);
  } else {
    HWND focus = GetFocus();
    if (focus && !IsChild(dialog, focus)) focus = nullptr;
    target = GetNextDlgTabItem(dialog, focus, wp != 0);
  }
  if (target && IsChild(dialog, target)) SetDialogFocus(dialog, target);
}

}  // namespace sim::user

using namespace sim::user;

BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg) {
  if (!hDlg || !lpMsg || !IsWindow(hDlg)) return FALSE;
  if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)) return FALSE;
  switch (lpMsg->message) {
    case WM_KEYDOWN: {
      LRESULT code = SendMessageW(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg));
      if (!(code & DLGC_WANTMESSAGE) && HandleDialogKey(hDlg, *lpMsg, code)) return TRUE;
      break;
    }
    case WM_CHAR: {
      // A Tab character the control does not want is dropped; the key already moved the focus.
      LRESULT code = SendMessageW(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg));
      if (lpMsg->wParam == '\t' && !(code & (DLGC_WANTTAB | DLGC_WANTMESSAGE | DLGC_WANTCHARS))) return TRUE;
      break;
    }
    default:
      break;
  }
  TranslateMessage(lpMsg);
  DispatchMessageW(lpMsg);
  return TRUE;
}

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  if (!CheckedFromHandle(hDlg)) return nullptr;
  std::vector<HWND> controls = DialogControls(hDlg);
  int from = hCtl ? IndexOf(controls, hCtl) : -1;
  HWND found = Search(controls, from, bPrevious != FALSE,
                      [](HWND c) { return HasStyle(c, WS_TABSTOP) && IsFocusable(c); });
  return found ? found : hCtl;
}

HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  if (!CheckedFromHandle(hDlg)) return nullptr;
  std::vector<HWND> controls = DialogControls(hDlg);
  int at = hCtl ? IndexOf(controls, hCtl) : 0;
  if (at < 0 || controls.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // The group runs from the control with WS_GROUP at or before `at` to the next WS_GROUP.
  int begin = at;
  while (begin > 0 && !HasStyle(controls[begin], WS_GROUP)) --begin;
  int end = at + 1;
  while (end < static_cast<int>(controls.size()) && !HasStyle(controls[end], WS_GROUP)) ++end;
  std::vector<HWND> group(controls.begin() + begin, controls.begin() + end);
  HWND found = Search(group, at - begin, bPrevious != FALSE, IsFocusable);
  return found ? found : controls[at];
}
