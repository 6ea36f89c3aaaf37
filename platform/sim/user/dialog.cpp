// The dialog manager's window class "#32770" and its default procedure, DefDlgProcW: the dialog
// procedure stored with the dialog sees each message first; what it leaves (FALSE) gets the
// dialog's default handling, and what it handles returns its result through DWLP_MSGRESULT.
#include <windows.h>

#include <cstring>

#include "user/dialog.h"

namespace sim::user {

namespace {

LONG_PTR ReadExtra(const Window& w, int offset) {
  LONG_PTR v = 0;
  if (offset >= 0 && static_cast<size_t>(offset) + sizeof v <= w.extra.size())
    std::memcpy(&v, w.extra.data() + offset, sizeof v);
  return v;
}

void WriteExtra(Window& w, int offset, LONG_PTR v) {
  if (offset >= 0 && static_cast<size_t>(offset) + sizeof v <= w.extra.size())
    std::memcpy(w.extra.data() + offset, &v, sizeof v);
}

// Messages whose result the dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT msg) {
  switch (msg) {
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case 0x0132:  // WM_CTLCOLORMSGBOX
    case 0x0133:  // WM_CTLCOLOREDIT
    case 0x0134:  // WM_CTLCOLORLISTBOX
    case 0x0135:  // WM_CTLCOLORBTN
    case 0x0137:  // WM_CTLCOLORSCROLLBAR
    case 0x0039:  // WM_COMPAREITEM
    case 0x002E:  // WM_VKEYTOITEM
    case 0x002F:  // WM_CHARTOITEM
      return true;
    default:
      return false;
  }
}

void SaveFocus(HWND dlg) {
  HWND focus = GetFocus();
  if (focus && IsChild(dlg, focus)) {
    if (DialogData* d = FindDialogData(dlg)) d->saved_focus = focus;
  }
}

void RestoreFocus(HWND dlg) {
  DialogData* d = FindDialogData(dlg);
  HWND target = d ? d->saved_focus : nullptr;
  if (!target || !IsChild(dlg, target) || !IsFocusable(target))
    target = GetNextDlgTabItem(dlg, nullptr, FALSE);
  if (target) SetDialogFocus(dlg, target);
}

// DM_SETDEFID: the old default push button becomes a plain push button and the new one the
// default, as the dialog manager restyles them.
void SetDefaultId(HWND dlg, UINT id) {
  DialogData* d = FindDialogData(dlg);
  if (!d) return;
  auto restyle = [&](UINT ctl_id, DWORD type) {
    HWND button = ctl_id ? GetDlgItem(dlg, static_cast<int>(ctl_id)) : nullptr;
    if (!button) return;
    LRESULT code = SendMessageW(button, WM_GETDLGCODE, 0, 0);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) SendMessageW(button, BM_SETSTYLE, type, TRUE);
  };
  UINT old = d->def_id;
  d->def_id = id;
  if (old != id) restyle(old, BS_PUSHBUTTON);
  restyle(id, BS_DEFPUSHBUTTON);
}

LRESULT DefaultDialogHandling(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(dlg, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_SHOWWINDOW:
      if (!wp) SaveFocus(dlg);
      return DefWindowProcW(dlg, msg, wp, lp);
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        SaveFocus(dlg);
      } else {
        RestoreFocus(dlg);
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(dlg);
      return 0;
    case DM_SETDEFID:
      SetDefaultId(dlg, static_cast<UINT>(wp));
      return TRUE;
    case DM_GETDEFID: {
      DialogData* d = FindDialogData(dlg);
      if (!d || !d->def_id) return 0;
      return MAKELRESULT(d->def_id, DC_HASDEFID);
    }
    case WM_NEXTDLGCTL:
      MoveDialogFocus(dlg, wp, lp);
      return 0;
    case WM_CLOSE: {
      // The default is the Cancel button's command, posted; a disabled Cancel button refuses.
      HWND cancel = GetDlgItem(dlg, IDCANCEL);
      if (cancel && !IsWindowEnabled(cancel)) {
        MessageBeep(0);
        return 0;
      }
      PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_SETFONT:
      if (DialogData* d = FindDialogData(dlg)) d->font = reinterpret_cast<HFONT>(wp);
      return 0;
    case WM_GETFONT: {
      DialogData* d = FindDialogData(dlg);
      return reinterpret_cast<LRESULT>(d ? d->font : nullptr);
    }
    default:
      return DefWindowProcW(dlg, msg, wp, lp);
  }
}

}  // namespace

DialogData& DialogOf(Window& w) {
  if (auto* d = dynamic_cast<DialogData*>(w.control.get())) return *d;
  w.control = std::make_unique<DialogData>();
  return static_cast<DialogData&>(*w.control);
}

DialogData* FindDialogData(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  return w ? dynamic_cast<DialogData*>(w->control.get()) : nullptr;
}

// The control's own styles count, not its dialog's: a hidden dialog's controls can be chosen
// for the focus before it is shown.
bool IsFocusable(HWND hwnd) {
  DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  return IsWindow(hwnd) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

void RegisterDialogClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefDlgProcW;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.lpszClassName = u"#32770";
  RegisterSystemClass(wc);
}

}  // namespace sim::user

using namespace sim::user;

LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = FromHandle(hDlg);
  if (!w) return 0;
  DialogOf(*w);
  WriteExtra(*w, DWLP_MSGRESULT, 0);
  auto proc = reinterpret_cast<DLGPROC>(ReadExtra(*w, DWLP_DLGPROC));
  INT_PTR handled = proc ? proc(hDlg, Msg, wParam, lParam) : 0;
  w = FromHandle(hDlg);
  if (!w) return ReturnsDirectly(Msg) ? handled : 0;
  if (!handled) return DefaultDialogHandling(hDlg, Msg, wParam, lParam);
  if (ReturnsDirectly(Msg)) return handled;
  return ReadExtra(*w, DWLP_MSGRESULT);
}
