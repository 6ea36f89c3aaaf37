// The "Edit" class: text typed by the user (WM_CHAR) within the text limit and the ES_NUMBER
// and case styles, the selection, and the notifications a change brings (EN_UPDATE, EN_CHANGE,
// EN_MAXTEXT). WM_SETTEXT is not cut by the limit, as on Windows.
#include <windows.h>

#include <unicode/uchar.h>

#include <algorithm>

#include "controls/control.h"

namespace sim::controls {

namespace {

constexpr UINT kDefaultLimit = 30000;
constexpr UINT kMaxSingleLineLimit = 0x7FFFFFFE;
constexpr UINT kMaxMultiLineLimit = 0xFFFFFFFF;

struct EditData : user::ControlData {
  UINT limit = kDefaultLimit;
  size_t anchor = 0;  // where the selection started
  size_t caret = 0;   // where it ends; the caret
};

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

std::u16string& TextOf(HWND hwnd) { return user::FromHandle(hwnd)->title; }

size_t SelStart(const EditData& d) { return std::min(d.anchor, d.caret); }
size_t SelEnd(const EditData& d) { return std::max(d.anchor, d.caret); }

void Changed(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, TRUE);
  NotifyCommand(hwnd, EN_UPDATE);
  NotifyCommand(hwnd, EN_CHANGE);
}

// Replaces the selection with `insert`, cut to what the limit leaves room for.
void ReplaceSelection(HWND hwnd, EditData& d, std::u16string insert) {
  std::u16string& text = TextOf(hwnd);
  size_t start = std::min(SelStart(d), text.size());
  size_t end = std::min(SelEnd(d), text.size());
  size_t kept = text.size() - (end - start);
  size_t room = d.limit > kept ? d.limit - kept : 0;
  bool cut = insert.size() > room;
  if (cut) insert.resize(room);
  if (insert.empty() && start == end) {
    if (cut) NotifyCommand(hwnd, EN_MAXTEXT);
    return;
  }
  text.replace(start, end - start, insert);
  d.anchor = d.caret = start + insert.size();
  Changed(hwnd);
  if (cut) NotifyCommand(hwnd, EN_MAXTEXT);
}

void DeleteAround(HWND hwnd, EditData& d, bool before) {
  std::u16string& text = TextOf(hwnd);
  if (SelStart(d) == SelEnd(d)) {
    if (before && d.caret > 0) {
      d.anchor = d.caret - 1;
    } else if (!before && d.caret < text.size()) {
      d.anchor = d.caret + 1;
    } else {
      return;
    }
  }
  ReplaceSelection(hwnd, d, u"");
}

void TypeCharacter(HWND hwnd, EditData& d, WCHAR ch) {
  DWORD style = StyleOf(hwnd);
  if (style & ES_READONLY) {
    MessageBeep(MB_OK);
    return;
  }
  if (ch == VK_BACK) {
    DeleteAround(hwnd, d, true);
    return;
  }
  std::u16string insert(1, ch);
  if (ch == u'\r') {
    if (!(style & ES_MULTILINE)) return;
    insert = u"\r\n";
  } else if (ch < 0x20) {
    return;  // control characters other than Backspace and Enter type nothing
  }
  if ((style & ES_NUMBER) && !(ch >= u'0' && ch <= u'9')) {
    MessageBeep(MB_OK);  // refused; the text stays as it was
    return;
  }
  if (style & ES_UPPERCASE) insert[0] = static_cast<WCHAR>(u_toupper(ch));
  if (style & ES_LOWERCASE) insert[0] = static_cast<WCHAR>(u_tolower(ch));
  ReplaceSelection(hwnd, d, insert);
}

void MoveCaret(HWND hwnd, EditData& d, WPARAM key) {
  size_t size = TextOf(hwnd).size();
  size_t caret = d.caret;
  switch (key) {
    case VK_LEFT:
      caret = caret > 0 ? caret - 1 : 0;
      break;
    case VK_RIGHT:
      caret = std::min(caret + 1, size);
      break;
    case VK_HOME:
      caret = 0;
      break;
    case VK_END:
      caret = size;
      break;
    default:
      return;
  }
  d.caret = caret;
  if (!(GetKeyState(VK_SHIFT) & 0x8000)) d.anchor = caret;
}

LRESULT DialogCode(HWND hwnd, LPARAM lp) {
  LRESULT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
  if (!(StyleOf(hwnd) & ES_MULTILINE)) return code;
  // A multi-line edit keeps the keys, except those the dialog needs to go on working.
  code |= DLGC_WANTALLKEYS;
  if (auto* msg = reinterpret_cast<const MSG*>(lp); msg && msg->message == WM_KEYDOWN) {
    if (msg->wParam == VK_ESCAPE || msg->wParam == VK_TAB ||
        (msg->wParam == VK_RETURN && !(StyleOf(hwnd) & ES_WANTRETURN)))
      code &= ~DLGC_WANTALLKEYS;
  }
  return code;
}

LRESULT GetSelection(EditData& d, WPARAM wp, LPARAM lp) {
  auto start = static_cast<DWORD>(SelStart(d)), end = static_cast<DWORD>(SelEnd(d));
  if (auto* p = reinterpret_cast<DWORD*>(wp)) *p = start;
  if (auto* p = reinterpret_cast<DWORD*>(lp)) *p = end;
  return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
}

void SetSelection(HWND hwnd, EditData& d, WPARAM wp, LPARAM lp) {
  size_t size = TextOf(hwnd).size();
  auto start = static_cast<INT_PTR>(wp), end = static_cast<INT_PTR>(lp);
  if (start == -1) {
    d.anchor = d.caret;  // deselects, the caret stays
    return;
  }
  auto clamp = [&](INT_PTR v) { return v < 0 ? size : std::min(static_cast<size_t>(v), size); };
  d.anchor = clamp(start);
  d.caret = clamp(end);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) AttachData<EditData>(hwnd);
  EditData* d = DataOf<EditData>(hwnd);
  if (!d) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_GETDLGCODE:
      return DialogCode(hwnd, lp);
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
      if ((d = DataOf<EditData>(hwnd))) d->anchor = d->caret = 0;
      if (!(StyleOf(hwnd) & ES_MULTILINE)) {
        Changed(hwnd);
      } else {
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return r;
    }
    case WM_CHAR:
      TypeCharacter(hwnd, *d, static_cast<WCHAR>(wp));
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_DELETE) {
        if (StyleOf(hwnd) & ES_READONLY) return 0;
        DeleteAround(hwnd, *d, false);
      } else {
        MoveCaret(hwnd, *d, wp);
      }
      return 0;
    case WM_LBUTTONDOWN:
      // A click after the text: the edit takes the focus and the caret goes to the end.
      SetFocus(hwnd);
      if ((d = DataOf<EditData>(hwnd))) d->anchor = d->caret = TextOf(hwnd).size();
      return 0;
    case WM_SETFOCUS:
      NotifyCommand(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      NotifyCommand(hwnd, EN_KILLFOCUS);
      return 0;
    case EM_GETSEL:
      return GetSelection(*d, wp, lp);
    case EM_SETSEL:
      SetSelection(hwnd, *d, wp, lp);
      return 0;
    case EM_REPLACESEL:
      ReplaceSelection(hwnd, *d, std::u16string(TextArg(lp)));
      return 0;
    case EM_LIMITTEXT:
      d->limit = wp ? static_cast<UINT>(wp)
                    : ((StyleOf(hwnd) & ES_MULTILINE) ? kMaxMultiLineLimit : kMaxSingleLineLimit);
      return 0;
    case EM_GETLIMITTEXT:
      return d->limit;
    case EM_SETREADONLY: {
      DWORD style = StyleOf(hwnd);
      SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(wp ? style | ES_READONLY : style & ~ES_READONLY));
      return TRUE;
    }
    case EM_GETLINECOUNT: {
      if (!(StyleOf(hwnd) & ES_MULTILINE)) return 1;
      const std::u16string& text = TextOf(hwnd);
      return 1 + std::count(text.begin(), text.end(), u'\n');
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

void RegisterEditClass() { RegisterControlClass(u"Edit", EditProc, CS_DBLCLKS); }

bool InspectEditState(HWND hwnd, UINT* limit, DWORD* sel_start, DWORD* sel_end) {
  EditData* d = DataOf<EditData>(hwnd);
  if (!d) return false;
  *limit = d->limit;
  *sel_start = static_cast<DWORD>(SelStart(*d));
  *sel_end = static_cast<DWORD>(SelEnd(*d));
  return true;
}

}  // namespace sim::controls
