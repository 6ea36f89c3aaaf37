// Rows of the report view on screen (a header, then rows of equal height from the first row
// scrolled into view), and what the user's mouse and keys do to them: a click selects the row
// it hits (or clears the selection below the last row) before the parent hears NM_CLICK,
// NM_DBLCLK or NM_RCLICK.
#include <algorithm>

#include "controls/control.h"
#include "controls/listview.h"

namespace sim::controls {

namespace {

int Count(const ListViewData& d) { return static_cast<int>(d.items.size()); }

int FocusedItem(const ListViewData& d) {
  for (int i = 0; i < Count(d); ++i)
    if (d.items[static_cast<size_t>(i)].state & LVIS_FOCUSED) return i;
  return -1;
}

UINT KeyFlags() {
  UINT flags = 0;
  if (GetKeyState(VK_MENU) & 0x8000) flags |= LVKF_ALT;
  if (GetKeyState(VK_CONTROL) & 0x8000) flags |= LVKF_CONTROL;
  if (GetKeyState(VK_SHIFT) & 0x8000) flags |= LVKF_SHIFT;
  return flags;
}

POINT PointOf(LPARAM lp) { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

void NotifyActivate(HWND list, UINT code, int item, int subitem, POINT pt) {
  NMITEMACTIVATE nm{};
  nm.iItem = item;
  nm.iSubItem = subitem;
  nm.ptAction = pt;
  nm.uKeyFlags = KeyFlags();
  NotifyParent(list, code, &nm.hdr);
}

// A press of either button: the list takes the focus and the row under the mouse is chosen.
int Press(HWND list, LPARAM lp, bool right, bool toggle) {
  SetFocus(list);
  POINT pt = PointOf(lp);
  int item = HitTest(list, pt);
  ListViewData* d = DataOf<ListViewData>(list);
  if (!d) return -1;
  if (item < 0) {
    DeselectAll(list);
  } else if (toggle && !(GetWindowLongW(list, GWL_STYLE) & LVS_SINGLESEL)) {
    UINT selected = d->items[static_cast<size_t>(item)].state & LVIS_SELECTED;
    SetItemState(list, item, (selected ^ LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if ((d = DataOf<ListViewData>(list))) d->selection_mark = item;
  } else if (right && (d->items[static_cast<size_t>(item)].state & LVIS_SELECTED)) {
    // A right click on a selected row keeps the selection and moves the focus to it.
    SetItemState(list, item, LVIS_FOCUSED, LVIS_FOCUSED);
    if ((d = DataOf<ListViewData>(list))) d->selection_mark = item;
  } else {
    SelectOnly(list, item);
  }
  return item;
}

void Release(HWND list, LPARAM lp, UINT code, int* pressed) {
  if (*pressed == -2) return;
  int item = *pressed;
  *pressed = -2;
  int subitem = 0;
  HitTest(list, PointOf(lp), &subitem);
  NotifyActivate(list, code, item, item < 0 ? 0 : subitem, PointOf(lp));
}

void OnKey(HWND list, WPARAM key) {
  NMLVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  NotifyParent(list, LVN_KEYDOWN, &nm.hdr);
  ListViewData* d = DataOf<ListViewData>(list);
  if (!d) return;
  int count = Count(*d), focus = FocusedItem(*d), page = std::max(1, CountPerPage(list));
  int next;
  switch (key) {
    case VK_DOWN:
      next = focus + 1;
      break;
    case VK_UP:
      next = focus < 0 ? 0 : focus - 1;
      break;
    case VK_HOME:
      next = 0;
      break;
    case VK_END:
      next = count - 1;
      break;
    case VK_NEXT:
      next = focus + page;
      break;
    case VK_PRIOR:
      next = focus - page;
      break;
    case VK_SPACE:
      next = focus;
      break;
    case VK_RETURN: {
      NMHDR header{};
      NotifyParent(list, NM_RETURN, &header);
      return;
    }
    default:
      return;
  }
  if (count == 0) return;
  next = std::clamp(next, 0, count - 1);
  SelectOnly(list, next);
  EnsureVisible(list, next);
}

}  // namespace

int HeaderHeight(HWND list) {
  DWORD style = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
  return (style & LVS_TYPEMASK) == LVS_REPORT && !(style & LVS_NOCOLUMNHEADER) ? kListHeaderHeight : 0;
}

int CountPerPage(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  return std::max(0, static_cast<int>(client.bottom - HeaderHeight(list)) / kListRowHeight);
}

BOOL EnsureVisible(HWND list, int item) {
  ListViewData* d = DataOf<ListViewData>(list);
  if (!d || item < 0 || item >= Count(*d)) return FALSE;
  int page = CountPerPage(list);
  if (item < d->top) {
    d->top = item;
  } else if (page > 0 && item >= d->top + page) {
    d->top = item - page + 1;
  }
  InvalidateRect(list, nullptr, FALSE);
  return TRUE;
}

RECT RowRect(HWND list, int item) {
  RECT client{};
  GetClientRect(list, &client);
  ListViewData* d = DataOf<ListViewData>(list);
  int top = HeaderHeight(list) + (item - (d ? d->top : 0)) * kListRowHeight;
  return RECT{0, top, client.right, top + kListRowHeight};
}

int HitTest(HWND list, POINT pt, int* subitem, UINT* flags) {
  ListViewData* d = DataOf<ListViewData>(list);
  if (subitem) *subitem = 0;
  if (flags) *flags = LVHT_NOWHERE;
  if (!d) return -1;
  RECT client{};
  GetClientRect(list, &client);
  int header = HeaderHeight(list);
  if (pt.x < 0 || pt.x >= client.right || pt.y < header || pt.y >= client.bottom) {
    if (flags)
      *flags = pt.x < 0               ? LVHT_TOLEFT
               : pt.x >= client.right ? LVHT_TORIGHT
               : pt.y < header        ? LVHT_ABOVE
                                      : LVHT_BELOW;
    return -1;
  }
  int item = d->top + (pt.y - header) / kListRowHeight;
  if (item >= Count(*d)) return -1;
  // The column under the point; without LVS_EX_FULLROWSELECT only the first column is the item.
  int left = 0, column_subitem = -1, first_width = client.right;
  for (size_t c = 0; c < d->columns.size(); ++c) {
    if (c == 0) first_width = d->columns[0].width;
    if (pt.x >= left && pt.x < left + d->columns[c].width) column_subitem = d->columns[c].subitem;
    left += d->columns[c].width;
  }
  if (!(d->ex_style & LVS_EX_FULLROWSELECT) && pt.x >= first_width) return -1;
  if (subitem) *subitem = std::max(column_subitem, 0);
  if (flags) *flags = LVHT_ONITEMLABEL;
  return item;
}

bool OnListInput(HWND list, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  *result = 0;
  ListViewData* d = DataOf<ListViewData>(list);
  if (!d) return false;
  switch (msg) {
    case WM_LBUTTONDOWN: {
      int item = Press(list, lp, false, (wp & MK_CONTROL) != 0);
      if ((d = DataOf<ListViewData>(list))) d->pressed_item = item;
      return true;
    }
    case WM_LBUTTONUP:
      Release(list, lp, NM_CLICK, &d->pressed_item);
      return true;
    case WM_LBUTTONDBLCLK: {
      int item = Press(list, lp, false, false);
      if ((d = DataOf<ListViewData>(list))) d->pressed_item = -2;  // the release that follows is no click
      int subitem = 0;
      HitTest(list, PointOf(lp), &subitem);
      NotifyActivate(list, NM_DBLCLK, item, item < 0 ? 0 : subitem, PointOf(lp));
      if (item >= 0) NotifyActivate(list, LVN_ITEMACTIVATE, item, subitem, PointOf(lp));
      return true;
    }
    case WM_RBUTTONDOWN: {
      int item = Press(list, lp, true, false);
      if ((d = DataOf<ListViewData>(list))) d->rpressed_item = item;
      return true;
    }
    case WM_RBUTTONUP:
      Release(list, lp, NM_RCLICK, &d->rpressed_item);
      return true;
    case WM_KEYDOWN:
      OnKey(list, wp);
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      NMHDR header{};
      NotifyParent(list, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, &header);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace sim::controls
