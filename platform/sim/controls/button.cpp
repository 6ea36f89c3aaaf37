// The "Button" class: push buttons, check boxes, radio buttons and group boxes. A click is a
// left button press and release inside the button (or BM_CLICK, or the space bar) and tells the
// parent with WM_COMMAND BN_CLICKED; a disabled button ignores them all.
#include <windows.h>

#include "controls/control.h"

namespace sim::controls {

namespace {

struct ButtonData : user::ControlData {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
};

DWORD TypeOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsPushButton(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON; }
bool IsRadio(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

LRESULT DialogCode(HWND hwnd) {
  DWORD type = TypeOf(hwnd);
  switch (type) {
    case BS_PUSHBUTTON:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
      return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_GROUPBOX:
      return DLGC_STATIC;
    default:
      return IsRadio(type) ? DLGC_BUTTON | DLGC_RADIOBUTTON : DLGC_BUTTON;
  }
}

// An automatic radio button checks itself and clears the others of its group.
void CheckRadioInGroup(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
  if (!parent) return;
  for (HWND other = GetNextDlgGroupItem(parent, hwnd, FALSE); other && other != hwnd;) {
    if (TypeOf(other) == BS_AUTORADIOBUTTON) SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
    HWND next = GetNextDlgGroupItem(parent, other, FALSE);
    if (next == other) break;
    other = next;
  }
}

void Click(HWND hwnd) {
  DWORD type = TypeOf(hwnd);
  if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE) {
    ButtonData* d = DataOf<ButtonData>(hwnd);
    UINT next = BST_UNCHECKED;
    if (d && d->check == BST_UNCHECKED) next = BST_CHECKED;
    if (d && d->check == BST_CHECKED && type == BS_AUTO3STATE) next = BST_INDETERMINATE;
    SendMessageW(hwnd, BM_SETCHECK, next, 0);
  } else if (type == BS_AUTORADIOBUTTON) {
    CheckRadioInGroup(hwnd);
  }
  NotifyCommand(hwnd, BN_CLICKED);
}

bool Inside(HWND hwnd, LPARAM lp) {
  RECT r;
  GetClientRect(hwnd, &r);
  int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) AttachData<ButtonData>(hwnd);
  ButtonData* d = DataOf<ButtonData>(hwnd);
  if (!d) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_GETDLGCODE:
      return DialogCode(hwnd);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!IsWindowEnabled(hwnd) || TypeOf(hwnd) == BS_GROUPBOX) return 0;
      d->pushed = true;
      SetCapture(hwnd);
      SetFocus(hwnd);
      return 0;
    case WM_LBUTTONUP: {
      if (!d->pushed) return 0;
      d->pushed = false;
      if (GetCapture() == hwnd) ReleaseCapture();
      if (IsWindowEnabled(hwnd) && Inside(hwnd, lp)) Click(hwnd);
      return 0;
    }
    case WM_KEYDOWN:
      if (wp == VK_SPACE && IsWindowEnabled(hwnd)) d->pushed = true;
      return 0;
    case WM_KEYUP:
      if (wp == VK_SPACE && d->pushed) {
        d->pushed = false;
        Click(hwnd);
      }
      return 0;
    case BM_CLICK:
      if (!IsWindowEnabled(hwnd)) return 0;
      SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case BM_GETCHECK:
      return IsPushButton(TypeOf(hwnd)) ? BST_UNCHECKED : d->check;
    case BM_SETCHECK:
      if (!IsPushButton(TypeOf(hwnd))) {
        d->check = wp == BST_INDETERMINATE ? BST_INDETERMINATE : (wp ? BST_CHECKED : BST_UNCHECKED);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case BM_GETSTATE:
      return d->check | (d->pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
      d->pushed = wp != 0;
      return 0;
    case BM_SETSTYLE: {
      LONG style = GetWindowLongW(hwnd, GWL_STYLE);
      SetWindowLongW(hwnd, GWL_STYLE,
                     static_cast<LONG>((static_cast<DWORD>(style) & ~BS_TYPEMASK) | (wp & BS_TYPEMASK)));
      if (lp) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_SETTEXT:
      return SetTextAndRedraw(hwnd, lp);
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

void RegisterButtonClass() {
  RegisterControlClass(u"Button", ButtonProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

bool ButtonChecked(HWND hwnd) {
  ButtonData* d = DataOf<ButtonData>(hwnd);
  return d && d->check == BST_CHECKED;
}

}  // namespace sim::controls
