// The "ComboBox" class, as a drop-down list (CBS_DROPDOWNLIST; CBS_DROPDOWN and CBS_SIMPLE keep
// their own text besides): the items, sorted ignoring case with CBS_SORT, the selection, prefix
// and exact searches, and the notifications of a choice made by the user. The text of the
// closed box (the selected item's) is kept as the window text, so other processes read it too.
#include <windows.h>

#include "controls/combobox.h"
#include "controls/control.h"
#include "controls/text_fold.h"

namespace sim::controls {

namespace {

bool HasEdit(HWND hwnd) {
  return (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 3) != CBS_DROPDOWNLIST;
}

int Count(const ComboData& d) { return static_cast<int>(d.items.size()); }

bool InRange(const ComboData& d, WPARAM wp) {
  auto i = static_cast<INT_PTR>(wp);
  return i >= 0 && i < Count(d);
}

// The window text follows the selection.
void ShowSelection(HWND hwnd, const ComboData& d) {
  Window* w = user::FromHandle(hwnd);
  if (d.selection >= 0) {
    w->title = d.items[static_cast<size_t>(d.selection)].text;
  } else if (!HasEdit(hwnd)) {
    w->title.clear();
  }
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Select(HWND hwnd, ComboData& d, int index) {
  d.selection = index;
  ShowSelection(hwnd, d);
}

int Insert(ComboData& d, int index, std::u16string_view text) {
  d.items.insert(d.items.begin() + index, ComboItem{std::u16string(text), 0});
  if (d.selection >= index) ++d.selection;
  return index;
}

// The first item after `start` (wrapping around; -1 or an index out of range searches all from
// the first item) whose text matches, or CB_ERR.
template <typename Match>
int Find(const ComboData& d, WPARAM wp, Match match) {
  int n = Count(d);
  auto start = static_cast<INT_PTR>(wp);
  if (start < 0 || start >= n) start = -1;
  for (int step = 1; step <= n; ++step) {
    int i = static_cast<int>((start + step) % n);
    if (match(d.items[static_cast<size_t>(i)].text)) return i;
  }
  return CB_ERR;
}

int FindPrefix(const ComboData& d, WPARAM start, LPARAM text) {
  if (!text) return CB_ERR;
  std::u16string_view prefix = TextArg(text);
  return Find(d, start, [&](const std::u16string& item) { return StartsWithIgnoreCase(item, prefix); });
}

int FindExact(const ComboData& d, WPARAM start, LPARAM text) {
  if (!text) return CB_ERR;
  std::u16string_view wanted = TextArg(text);
  return Find(d, start, [&](const std::u16string& item) { return EqualsIgnoreCase(item, wanted); });
}

void Drop(HWND hwnd, ComboData& d, bool open) {
  if (d.dropped == open) return;
  d.dropped = open;
  NotifyCommand(hwnd, open ? CBN_DROPDOWN : CBN_CLOSEUP);
}

// A choice in the open list: the list closes and the parent learns of the new selection.
void ChooseFromList(HWND hwnd, int index) {
  ComboData* d = DataOf<ComboData>(hwnd);
  if (!d || index < 0 || index >= Count(*d)) return;
  SetFocus(hwnd);
  if ((d = DataOf<ComboData>(hwnd))) Drop(hwnd, *d, true);
  if (!(d = DataOf<ComboData>(hwnd))) return;
  Select(hwnd, *d, index);
  NotifyCommand(hwnd, CBN_SELENDOK);
  if ((d = DataOf<ComboData>(hwnd))) {
    d->dropped = false;
    NotifyCommand(hwnd, CBN_CLOSEUP);
  }
  NotifyCommand(hwnd, CBN_SELCHANGE);
}

// Arrow keys and typed letters move the selection of a closed box.
void StepSelection(HWND hwnd, ComboData& d, int index) {
  if (index < 0 || index >= Count(d) || index == d.selection) return;
  Select(hwnd, d, index);
  NotifyCommand(hwnd, CBN_SELCHANGE);
}

void OnKey(HWND hwnd, ComboData& d, WPARAM key) {
  switch (key) {
    case VK_DOWN:
      StepSelection(hwnd, d, d.selection + 1);
      break;
    case VK_UP:
      StepSelection(hwnd, d, d.selection - 1);
      break;
    case VK_HOME:
      StepSelection(hwnd, d, 0);
      break;
    case VK_END:
      StepSelection(hwnd, d, Count(d) - 1);
      break;
    case VK_F4:
      Drop(hwnd, d, !d.dropped);
      break;
    case VK_RETURN:
    case VK_ESCAPE:
      if (d.dropped) {
        NotifyCommand(hwnd, key == VK_RETURN ? CBN_SELENDOK : CBN_SELENDCANCEL);
        if (ComboData* again = DataOf<ComboData>(hwnd)) Drop(hwnd, *again, false);
      }
      break;
    default:
      break;
  }
}

LRESULT DialogCode(HWND hwnd, const ComboData& d, LPARAM lp) {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (HasEdit(hwnd)) code |= DLGC_HASSETSEL;
  // While the list is open, Enter and Escape close it instead of the dialog.
  auto* msg = reinterpret_cast<const MSG*>(lp);
  if (d.dropped && msg && msg->message == WM_KEYDOWN &&
      (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
    code |= DLGC_WANTMESSAGE;
  return code;
}

LRESULT OnListMessage(HWND hwnd, ComboData& d, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case CB_ADDSTRING: {
      std::u16string_view text = TextArg(lp);
      int index = Count(d);
      if (GetWindowLongW(hwnd, GWL_STYLE) & CBS_SORT) {
        // After every item that sorts before or equal to it.
        index = 0;
        while (index < Count(d) && CompareIgnoreCase(d.items[static_cast<size_t>(index)].text, text) <= 0)
          ++index;
      }
      return Insert(d, index, text);
    }
    case CB_INSERTSTRING: {
      auto index = static_cast<INT_PTR>(wp);
      if (index == -1) index = Count(d);
      if (index < 0 || index > Count(d)) return CB_ERR;
      return Insert(d, static_cast<int>(index), TextArg(lp));
    }
    case CB_DELETESTRING: {
      if (!InRange(d, wp)) return CB_ERR;
      int index = static_cast<int>(wp);
      d.items.erase(d.items.begin() + index);
      if (d.selection == index) {
        Select(hwnd, d, -1);
      } else if (d.selection > index) {
        --d.selection;
      }
      return Count(d);
    }
    case CB_RESETCONTENT:
      d.items.clear();
      Select(hwnd, d, -1);
      return CB_OKAY;
    case CB_GETCOUNT:
      return Count(d);
    case CB_GETCURSEL:
      return d.selection;
    case CB_SETCURSEL:
      if (!InRange(d, wp)) {
        Select(hwnd, d, -1);
        return CB_ERR;
      }
      Select(hwnd, d, static_cast<int>(wp));
      return d.selection;
    case CB_GETLBTEXT: {
      if (!InRange(d, wp) || !lp) return CB_ERR;
      const std::u16string& text = d.items[wp].text;
      return static_cast<LRESULT>(CopyText(text, reinterpret_cast<LPWSTR>(lp), text.size() + 1));
    }
    case CB_GETLBTEXTLEN:
      return InRange(d, wp) ? static_cast<LRESULT>(d.items[wp].text.size()) : CB_ERR;
    case CB_FINDSTRING:
      return FindPrefix(d, wp, lp);
    case CB_FINDSTRINGEXACT:
      return FindExact(d, wp, lp);
    case CB_SELECTSTRING: {
      int found = FindPrefix(d, wp, lp);
      if (found != CB_ERR) Select(hwnd, d, found);
      return found;
    }
    case CB_GETITEMDATA:
      return InRange(d, wp) ? d.items[wp].data : CB_ERR;
    case CB_SETITEMDATA:
      if (!InRange(d, wp)) return CB_ERR;
      d.items[wp].data = lp;
      return TRUE;
    case CB_SHOWDROPDOWN:
      Drop(hwnd, d, wp != 0);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return d.dropped ? TRUE : FALSE;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) AttachData<ComboData>(hwnd);
  ComboData* d = DataOf<ComboData>(hwnd);
  if (!d) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WorldInputMessage()) {
    if (IsWindowEnabled(hwnd)) ChooseFromList(hwnd, static_cast<int>(wp));
    return 0;
  }
  switch (msg) {
    case WM_GETDLGCODE:
      return DialogCode(hwnd, *d, lp);
    case WM_SETTEXT:
      // A drop-down list has no text of its own to set.
      if (!HasEdit(hwnd)) return CB_ERR;
      return SetTextAndRedraw(hwnd, lp);
    case WM_KEYDOWN:
      OnKey(hwnd, *d, wp);
      return 0;
    case WM_CHAR:
      if (!HasEdit(hwnd) && wp >= 0x20) {
        WCHAR typed[2] = {static_cast<WCHAR>(wp), 0};
        StepSelection(hwnd, *d,
                      FindPrefix(*d, static_cast<WPARAM>(d->selection), reinterpret_cast<LPARAM>(typed)));
      }
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      if ((d = DataOf<ComboData>(hwnd))) Drop(hwnd, *d, !d->dropped);
      return 0;
    case WM_SETFOCUS:
      NotifyCommand(hwnd, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (d->dropped) {
        NotifyCommand(hwnd, CBN_SELENDCANCEL);
        if ((d = DataOf<ComboData>(hwnd))) Drop(hwnd, *d, false);
      }
      NotifyCommand(hwnd, CBN_KILLFOCUS);
      return 0;
    default:
      return OnListMessage(hwnd, *d, msg, wp, lp);
  }
}

}  // namespace

void RegisterComboBoxClass() {
  RegisterControlClass(u"ComboBox", ComboBoxProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace sim::controls
