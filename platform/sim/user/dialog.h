// Internal state of the dialog manager, shared by its files (creation, the modal loop, keyboard
// navigation, dialog items, message boxes).
#pragma once

#include <windows.h>

#include "user/user.h"

namespace sim::user {

// Dialog base units of every 8-point dialog font: fixed, so sizes are the same on every run.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;

struct DialogData : ControlData {
  int base_x = kBaseUnitX;
  int base_y = kBaseUnitY;
  HFONT font = nullptr;
  UINT def_id = 0;                // DM_SETDEFID, or a BS_DEFPUSHBUTTON of the template
  HWND saved_focus = nullptr;     // the control that had the focus when the dialog was deactivated
  bool ended = false;             // EndDialog was called
  INT_PTR result = 0;             // its result
  HWND disabled_owner = nullptr;  // the owner a modal dialog disabled, until it is enabled again
};

// The dialog state of a window, created on first use (any window may act as a dialog once
// DefDlgProcW handles its messages).
DialogData& DialogOf(Window& w);
// The dialog state if the window has one, else nullptr.
DialogData* FindDialogData(HWND hwnd);

// Creates a dialog from a template; `modal` makes it disable its owner before WM_INITDIALOG,
// as DialogBox does.
HWND CreateDialogFromTemplate(HINSTANCE instance, LPCDLGTEMPLATEW tmpl, HWND parent, DLGPROC proc,
                              LPARAM param, bool modal);
// Runs the modal loop of a dialog made by CreateDialogFromTemplate(modal) and destroys it.
INT_PTR RunModalDialog(HWND dialog);

// Whether a control is a candidate for the focus: WS_VISIBLE and not WS_DISABLED.
bool IsFocusable(HWND hwnd);
// Gives a control the focus the way the dialog manager does: an edit's text gets selected.
void SetDialogFocus(HWND dialog, HWND control);
// WM_NEXTDLGCTL: lParam TRUE gives the focus to the control wParam; otherwise to the next
// (wParam 0) or previous tab stop.
void MoveDialogFocus(HWND dialog, WPARAM wp, LPARAM lp);

}  // namespace sim::user
