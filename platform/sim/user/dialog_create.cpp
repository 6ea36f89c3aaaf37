// Creating dialogs from templates, the modal dialog loop and EndDialog.
#include <windows.h>

#include <map>

#include "user/dialog.h"
#include "user/dialog_template.h"

namespace sim::user {

namespace {

constexpr WORD kDialogClassOrdinal = 0x8002;  // the atom of "#32770"

// Dialog fonts are identified by face and size; each gets a handle of its own, shared by the
// dialogs that use it, so WM_SETFONT and WM_GETFONT carry a stable value.
struct DialogFonts {
  std::map<std::pair<std::u16string, WORD>, HFONT> fonts;
  uintptr_t next = 0x0A000010;
};

HFONT DialogFont(const std::u16string& face, WORD point_size) {
  auto& state = Desktop::Current().Module<DialogFonts>();
  auto key = std::make_pair(face, point_size);
  auto it = state.fonts.find(key);
  if (it != state.fonts.end()) return it->second;
  HFONT font = reinterpret_cast<HFONT>(state.next);
  state.next += 4;
  state.fonts.emplace(key, font);
  return font;
}

// Base units grow with the point size from 6 x 13 at 8 points.
void BaseUnitsFor(const DialogTemplate& t, int* bx, int* by) {
  *bx = kBaseUnitX;
  *by = kBaseUnitY;
  if (t.has_font && t.point_size != 8 && t.point_size > 0) {
    *bx = (kBaseUnitX * t.point_size + 4) / 8;
    *by = (kBaseUnitY * t.point_size + 4) / 8;
  }
}

std::u16string ClassNameOf(const TemplateName& name, bool* ok) {
  *ok = true;
  if (!name.present) return u"#32770";
  if (!name.is_ordinal) return name.text;
  if (name.ordinal == kDialogClassOrdinal) return u"#32770";
  std::u16string predefined = PredefinedClassName(name.ordinal);
  *ok = !predefined.empty();
  return predefined;
}

// The dialog window's rectangle: the template gives the client area in dialog units; the
// window adds its frame around it.
RECT DialogWindowRect(const DialogTemplate& t, DWORD style, DWORD ex_style, HWND parent, int bx, int by) {
  int cx = t.cx * bx / 4, cy = t.cy * by / 8;
  RECT in = FrameInsets(style, ex_style);
  int width = cx + in.left + in.right, height = cy + in.top + in.bottom;
  int x = t.x * bx / 4, y = t.y * by / 8;
  if (!(style & WS_CHILD)) {
    if (t.style & DS_CENTER) {
      x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2 + in.left;
      y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2 + in.top;
    } else if (parent && !(t.style & DS_ABSALIGN)) {
      POINT origin{0, 0};
      ClientToScreen(parent, &origin);
      x += origin.x;
      y += origin.y;
    }
  }
  return RECT{x - in.left, y - in.top, x - in.left + width, y - in.top + height};
}

HWND CreateControl(HWND dialog, const TemplateItem& item, HINSTANCE instance, int bx, int by,
                   bool* class_ok) {
  std::u16string cls =
      item.class_name.is_ordinal ? PredefinedClassName(item.class_name.ordinal) : item.class_name.text;
  *class_ok = !cls.empty();
  if (!*class_ok) return nullptr;
  // An ordinal title (an icon resource of an SS_ICON static) reaches the control in its
  // template form, 0xFFFF and the ordinal, terminated here so it is safe to read as a string.
  WCHAR ordinal_title[3] = {0xFFFF, item.title.ordinal, 0};
  LPCWSTR title = item.title.is_ordinal ? ordinal_title : item.title.text.c_str();
  DWORD style = (item.style | WS_CHILD) & ~WS_POPUP;
  return CreateWindowExW(item.ex_style | WS_EX_NOPARENTNOTIFY, cls.c_str(), title, style, item.x * bx / 4,
                         item.y * by / 8, item.cx * bx / 4, item.cy * by / 8, dialog,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance,
                         const_cast<BYTE*>(item.creation_data));
}

void EnableAgain(HWND owner) {
  if (owner && IsWindow(owner)) EnableWindow(owner, TRUE);
}

}  // namespace

HWND CreateDialogFromTemplate(HINSTANCE instance, LPCDLGTEMPLATEW tmpl, HWND parent, DLGPROC proc,
                              LPARAM param, bool modal) {
  if (!tmpl) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (parent && !IsWindow(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  DialogTemplate t = ParseDialogTemplate(tmpl);
  bool class_ok = true;
  std::u16string cls = ClassNameOf(t.class_name, &class_ok);
  if (!class_ok) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  DWORD style = t.style & ~WS_VISIBLE;
  DWORD ex_style = t.ex_style;
  if (t.style & DS_MODALFRAME) ex_style |= WS_EX_DLGMODALFRAME;
  if (t.style & DS_CONTROL) ex_style |= WS_EX_CONTROLPARENT;
  int bx, by;
  BaseUnitsFor(t, &bx, &by);
  RECT r = DialogWindowRect(t, style, ex_style, parent, bx, by);

  // A modal dialog disables its owner before its controls exist, so WM_INITDIALOG already
  // finds the owner disabled, as with DialogBox.
  HWND owner = parent && !(style & WS_CHILD) ? RootOf(parent) : nullptr;
  HWND disabled_owner = nullptr;
  if (modal && owner && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    disabled_owner = owner;
  }
  HWND dlg = CreateWindowExW(ex_style, cls.c_str(), t.title.c_str(), style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, parent, nullptr, instance, nullptr);
  Window* w = FromHandle(dlg);
  if (!w) {
    EnableAgain(disabled_owner);
    return nullptr;
  }
  DialogData& data = DialogOf(*w);
  data.base_x = bx;
  data.base_y = by;
  data.disabled_owner = disabled_owner;
  SetWindowLongPtrW(dlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));

  HFONT font = t.has_font ? DialogFont(t.face, t.point_size) : nullptr;
  if (font) SendMessageW(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (const TemplateItem& item : t.items) {
    if (!IsWindow(dlg)) break;
    HWND control = CreateControl(dlg, item, instance, bx, by, &class_ok);
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      DWORD error = class_ok ? GetLastError() : ERROR_CANNOT_FIND_WND_CLASS;
      if (IsWindow(dlg)) DestroyWindow(dlg);
      EnableAgain(disabled_owner);
      SetLastError(error);
      return nullptr;
    }
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
      if (DialogData* d = FindDialogData(dlg)) d->def_id = item.id;
    }
  }
  if (!IsWindow(dlg)) {
    EnableAgain(disabled_owner);
    return nullptr;
  }

  HWND first = GetNextDlgTabItem(dlg, nullptr, FALSE);
  LRESULT wants_focus = SendMessageW(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (!IsWindow(dlg)) return nullptr;
  DialogData* d = FindDialogData(dlg);
  if (wants_focus && !(d && d->ended)) {
    if (HWND target = GetNextDlgTabItem(dlg, nullptr, FALSE)) SetDialogFocus(dlg, target);
  }
  if ((t.style & WS_VISIBLE) && !(d && d->ended) && IsWindow(dlg)) ShowWindow(dlg, SW_SHOWNORMAL);
  return IsWindow(dlg) ? dlg : nullptr;
}

INT_PTR RunModalDialog(HWND dialog) {
  DialogData* d = FindDialogData(dialog);
  if (!d) return -1;
  HWND disabled_owner = d->disabled_owner;
  if (!d->ended && !IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
  INT_PTR result = 0;
  for (;;) {
    d = FindDialogData(dialog);
    if (!d || d->ended) break;
    MSG msg;
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // WM_QUIT ends the dialog and stays for the loop outside it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if ((d = FindDialogData(dialog)) && d->ended) result = d->result;
  EnableAgain(disabled_owner);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}

}  // namespace sim::user

using namespace sim::user;

HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  return CreateDialogFromTemplate(hInstance, lpTemplate, hWndParent, lpDialogFunc, dwInitParam, false);
}

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  if (hWndParent && !IsWindow(hWndParent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  HWND dialog =
      CreateDialogFromTemplate(hInstance, hDialogTemplate, hWndParent, lpDialogFunc, dwInitParam, true);
  if (!dialog) return -1;
  return RunModalDialog(dialog);
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
  Window* w = CheckedFromHandle(hDlg);
  if (!w) return FALSE;
  DialogData& d = DialogOf(*w);
  d.ended = true;
  d.result = nResult;
  // The owner is enabled before the dialog hides, so the activation can return to it; an
  // active dialog hands the activation to its owner, which then gets its WM_ACTIVATE.
  HWND disabled_owner = d.disabled_owner;
  d.disabled_owner = nullptr;
  EnableAgain(disabled_owner);
  HWND owner = GetWindow(hDlg, GW_OWNER);
  if (owner && GetActiveWindow() == hDlg && IsWindowVisible(owner) && IsWindowEnabled(owner))
    SetActiveWindow(owner);
  if (IsWindow(hDlg) && (GetWindowLongW(hDlg, GWL_STYLE) & WS_VISIBLE))
    SetWindowPos(hDlg, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Wakes a modal loop that waits for a message, e.g. when another thread ended the dialog.
  if (IsWindow(hDlg)) PostMessageW(hDlg, WM_NULL, 0, 0);
  return TRUE;
}
