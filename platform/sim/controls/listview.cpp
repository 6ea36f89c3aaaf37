// The "SysListView32" class in report view: columns, items with subitem texts, images and
// states, searching, the selection mark, extended styles and image lists. Item states and the
// user's input live in listview_state.cpp and listview_input.cpp.
#include <commctrl.h>

#include <algorithm>

#include "controls/control.h"
#include "controls/listview.h"
#include "controls/text_fold.h"

namespace sim::controls {

namespace {

int Count(const ListViewData& d) { return static_cast<int>(d.items.size()); }
bool ValidItem(const ListViewData& d, INT_PTR i) { return i >= 0 && i < Count(d); }

// Text given by a caller: LPSTR_TEXTCALLBACKW asks the parent each time; it is kept as empty.
std::u16string GivenText(LPCWSTR text) {
  if (!text || text == LPSTR_TEXTCALLBACKW) return {};
  return text;
}

void SetSubitemText(ListViewItem& item, int subitem, LPCWSTR text) {
  if (item.texts.size() <= static_cast<size_t>(subitem)) item.texts.resize(static_cast<size_t>(subitem) + 1);
  item.texts[static_cast<size_t>(subitem)] = GivenText(text);
}

int SortedPosition(HWND list, const ListViewData& d, const std::u16string& text) {
  DWORD style = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
  bool ascending = style & LVS_SORTASCENDING, descending = style & LVS_SORTDESCENDING;
  int i = 0;
  while (i < Count(d)) {
    int c = CompareIgnoreCase(d.items[static_cast<size_t>(i)].Text(0), text);
    if ((ascending && c > 0) || (descending && c < 0)) break;
    ++i;
  }
  return i;
}

LRESULT InsertItem(HWND list, ListViewData& d, const LVITEMW* item) {
  if (!item || item->iSubItem != 0 || item->iItem < 0) return -1;
  ListViewItem added;
  if (item->mask & LVIF_TEXT) SetSubitemText(added, 0, item->pszText);
  if (item->mask & LVIF_IMAGE) added.image = item->iImage;
  if (item->mask & LVIF_PARAM) added.param = item->lParam;
  if (item->mask & LVIF_INDENT) added.indent = item->iIndent;
  UINT state = (item->mask & LVIF_STATE) ? (item->state & item->stateMask) : 0;
  int index = std::min(item->iItem, Count(d));
  if (GetWindowLongW(list, GWL_STYLE) & (LVS_SORTASCENDING | LVS_SORTDESCENDING))
    index = SortedPosition(list, d, added.Text(0));
  // Selection and focus arrive through SetItemState, so the other items give them up.
  added.state = state & ~(LVIS_SELECTED | LVIS_FOCUSED);
  d.items.insert(d.items.begin() + index, std::move(added));
  AdjustAfterInsert(d, index);
  InvalidateRect(list, nullptr, FALSE);
  NotifyItem(list, LVN_INSERTITEM, index);
  if (state & (LVIS_SELECTED | LVIS_FOCUSED)) SetItemState(list, index, state, LVIS_SELECTED | LVIS_FOCUSED);
  return index;
}

BOOL SetItem(HWND list, ListViewData& d, const LVITEMW* item) {
  if (!item || !ValidItem(d, item->iItem) || item->iSubItem < 0) return FALSE;
  ListViewItem& target = d.items[static_cast<size_t>(item->iItem)];
  if (item->mask & LVIF_TEXT) SetSubitemText(target, item->iSubItem, item->pszText);
  if (item->iSubItem == 0) {
    if (item->mask & LVIF_IMAGE) target.image = item->iImage;
    if (item->mask & LVIF_PARAM) target.param = item->lParam;
    if (item->mask & LVIF_INDENT) target.indent = item->iIndent;
  }
  InvalidateRect(list, nullptr, FALSE);
  if (item->iSubItem == 0 && (item->mask & LVIF_STATE))
    SetItemState(list, item->iItem, item->state, item->stateMask);
  return TRUE;
}

BOOL GetItem(const ListViewData& d, LVITEMW* item) {
  if (!item || !ValidItem(d, item->iItem) || item->iSubItem < 0) return FALSE;
  const ListViewItem& source = d.items[static_cast<size_t>(item->iItem)];
  if ((item->mask & LVIF_TEXT) && item->cchTextMax > 0)
    CopyText(source.Text(static_cast<size_t>(item->iSubItem)), item->pszText,
             static_cast<size_t>(item->cchTextMax));
  if (item->mask & LVIF_IMAGE) item->iImage = source.image;
  if (item->mask & LVIF_PARAM) item->lParam = source.param;
  if (item->mask & LVIF_STATE) item->state = source.state & item->stateMask;
  if (item->mask & LVIF_INDENT) item->iIndent = source.indent;
  return TRUE;
}

LRESULT GetItemText(const ListViewData& d, WPARAM index, LVITEMW* item) {
  if (!item || item->cchTextMax <= 0 || !item->pszText) return 0;
  if (!ValidItem(d, static_cast<INT_PTR>(index)) || item->iSubItem < 0) {
    item->pszText[0] = 0;
    return 0;
  }
  const std::u16string& text = d.items[index].Text(static_cast<size_t>(item->iSubItem));
  return static_cast<LRESULT>(CopyText(text, item->pszText, static_cast<size_t>(item->cchTextMax)));
}

BOOL DeleteItem(HWND list, WPARAM index) {
  ListViewData* d = DataOf<ListViewData>(list);
  if (!d || !ValidItem(*d, static_cast<INT_PTR>(index))) return FALSE;
  int i = static_cast<int>(index);
  NotifyItem(list, LVN_DELETEITEM, i);
  if (!(d = DataOf<ListViewData>(list)) || !ValidItem(*d, i)) return FALSE;
  d->items.erase(d->items.begin() + i);
  AdjustAfterDelete(*d, i);
  InvalidateRect(list, nullptr, TRUE);
  return TRUE;
}

BOOL DeleteAllItems(HWND list) {
  // A parent that answers TRUE to LVN_DELETEALLITEMS does not want LVN_DELETEITEM for each.
  bool quiet = NotifyItem(list, LVN_DELETEALLITEMS, -1) != 0;
  ListViewData* d = DataOf<ListViewData>(list);
  if (!quiet) {
    for (int i = 0; d && i < Count(*d); ++i) {
      NotifyItem(list, LVN_DELETEITEM, i);
      d = DataOf<ListViewData>(list);
    }
  }
  if (!d) return FALSE;
  d->items.clear();
  d->selection_mark = -1;
  d->top = 0;
  InvalidateRect(list, nullptr, TRUE);
  return TRUE;
}

LRESULT FindItem(const ListViewData& d, WPARAM start_arg, const LVFINDINFOW* find) {
  if (!find) return -1;
  bool by_param = find->flags & LVFI_PARAM;
  bool partial = find->flags & (LVFI_PARTIAL | LVFI_SUBSTRING);
  if (!by_param && (!(find->flags & (LVFI_STRING | LVFI_PARTIAL | LVFI_SUBSTRING)) || !find->psz)) return -1;
  auto matches = [&](const ListViewItem& item) {
    if (by_param) return item.param == find->lParam;
    return partial ? StartsWithIgnoreCase(item.Text(0), find->psz)
                   : EqualsIgnoreCase(item.Text(0), find->psz);
  };
  // After `start` to the end; with LVFI_WRAP on from the first item back to `start`.
  auto start = static_cast<int>(static_cast<INT_PTR>(start_arg));
  int first = start < 0 ? 0 : start + 1;
  for (int i = first; i < Count(d); ++i)
    if (matches(d.items[static_cast<size_t>(i)])) return i;
  if (find->flags & LVFI_WRAP)
    for (int i = 0; i < std::min(first, Count(d)); ++i)
      if (matches(d.items[static_cast<size_t>(i)])) return i;
  return -1;
}

LRESULT GetNextItem(const ListViewData& d, WPARAM start_arg, LPARAM flags_arg) {
  UINT flags = LOWORD(flags_arg);
  UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
  auto start = static_cast<int>(static_cast<INT_PTR>(start_arg));
  auto fits = [&](int i) { return (d.items[static_cast<size_t>(i)].state & wanted) == wanted; };
  if (flags & (LVNI_ABOVE | LVNI_TOLEFT)) {
    for (int i = std::min(start, Count(d)) - 1; i >= 0; --i)
      if (fits(i)) return i;
    return -1;
  }
  for (int i = start < 0 ? 0 : start + 1; i < Count(d); ++i)
    if (fits(i)) return i;
  return -1;
}

LRESULT InsertColumn(HWND list, ListViewData& d, WPARAM index_arg, const LVCOLUMNW* col) {
  auto index = static_cast<INT_PTR>(index_arg);
  if (!col || index < 0) return -1;
  index = std::min<INT_PTR>(index, static_cast<INT_PTR>(d.columns.size()));
  ListViewColumn added;
  added.subitem = static_cast<int>(index);
  if (col->mask & LVCF_FMT) added.format = col->fmt;
  if (col->mask & LVCF_WIDTH) added.width = col->cx;
  if (col->mask & LVCF_TEXT) added.text = GivenText(col->pszText);
  if (col->mask & LVCF_SUBITEM) added.subitem = col->iSubItem;
  if (col->mask & LVCF_IMAGE) added.image = col->iImage;
  added.order = (col->mask & LVCF_ORDER) ? col->iOrder : static_cast<int>(index);
  d.columns.insert(d.columns.begin() + index, std::move(added));
  InvalidateRect(list, nullptr, TRUE);
  return index;
}

BOOL GetColumn(const ListViewData& d, WPARAM index, LVCOLUMNW* col) {
  if (!col || index >= d.columns.size()) return FALSE;
  const ListViewColumn& c = d.columns[index];
  if (col->mask & LVCF_FMT) col->fmt = c.format;
  if (col->mask & LVCF_WIDTH) col->cx = c.width;
  if ((col->mask & LVCF_TEXT) && col->cchTextMax > 0)
    CopyText(c.text, col->pszText, static_cast<size_t>(col->cchTextMax));
  if (col->mask & LVCF_SUBITEM) col->iSubItem = c.subitem;
  if (col->mask & LVCF_IMAGE) col->iImage = c.image;
  if (col->mask & LVCF_ORDER) col->iOrder = c.order;
  return TRUE;
}

BOOL SetColumn(HWND list, ListViewData& d, WPARAM index, const LVCOLUMNW* col) {
  if (!col || index >= d.columns.size()) return FALSE;
  ListViewColumn& c = d.columns[index];
  if (col->mask & LVCF_FMT) c.format = col->fmt;
  if (col->mask & LVCF_WIDTH) c.width = col->cx;
  if (col->mask & LVCF_TEXT) c.text = GivenText(col->pszText);
  if (col->mask & LVCF_SUBITEM) c.subitem = col->iSubItem;
  if (col->mask & LVCF_IMAGE) c.image = col->iImage;
  if (col->mask & LVCF_ORDER) c.order = col->iOrder;
  InvalidateRect(list, nullptr, TRUE);
  return TRUE;
}

// LVSCW_AUTOSIZE fits the widest text of the column, LVSCW_AUTOSIZE_USEHEADER the header too;
// a character is taken as six pixels wide, with some room on either side.
BOOL SetColumnWidth(HWND list, ListViewData& d, WPARAM index, int width) {
  if (index >= d.columns.size()) return FALSE;
  ListViewColumn& c = d.columns[index];
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    size_t longest = width == LVSCW_AUTOSIZE_USEHEADER ? c.text.size() : 0;
    for (const ListViewItem& item : d.items)
      longest = std::max(longest, item.Text(static_cast<size_t>(c.subitem)).size());
    width = static_cast<int>(longest) * 6 + 12;
  }
  c.width = std::max(width, 0);
  InvalidateRect(list, nullptr, TRUE);
  return TRUE;
}

LRESULT OnMessage(HWND list, ListViewData& d, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case LVM_GETITEMCOUNT:
      return Count(d);
    case LVM_INSERTITEMW:
      return InsertItem(list, d, reinterpret_cast<const LVITEMW*>(lp));
    case LVM_SETITEMW:
      return SetItem(list, d, reinterpret_cast<const LVITEMW*>(lp));
    case LVM_GETITEMW:
      return GetItem(d, reinterpret_cast<LVITEMW*>(lp));
    case LVM_SETITEMTEXTW: {
      auto* item = reinterpret_cast<const LVITEMW*>(lp);
      if (!item || !ValidItem(d, static_cast<INT_PTR>(wp)) || item->iSubItem < 0) return FALSE;
      SetSubitemText(d.items[wp], item->iSubItem, item->pszText);
      InvalidateRect(list, nullptr, FALSE);
      return TRUE;
    }
    case LVM_GETITEMTEXTW:
      return GetItemText(d, wp, reinterpret_cast<LVITEMW*>(lp));
    case LVM_DELETEITEM:
      return DeleteItem(list, wp);
    case LVM_DELETEALLITEMS:
      return DeleteAllItems(list);
    case LVM_FINDITEMW:
      return FindItem(d, wp, reinterpret_cast<const LVFINDINFOW*>(lp));
    case LVM_GETNEXTITEM:
      return GetNextItem(d, wp, lp);
    case LVM_SETITEMSTATE: {
      auto* item = reinterpret_cast<const LVITEMW*>(lp);
      if (!item) return FALSE;
      return SetItemState(list, static_cast<int>(static_cast<INT_PTR>(wp)), item->state, item->stateMask);
    }
    case LVM_GETITEMSTATE:
      return ValidItem(d, static_cast<INT_PTR>(wp))
                 ? static_cast<LRESULT>(d.items[wp].state & static_cast<UINT>(lp))
                 : 0;
    case LVM_GETSELECTEDCOUNT:
      return std::count_if(d.items.begin(), d.items.end(),
                           [](const ListViewItem& i) { return (i.state & LVIS_SELECTED) != 0; });
    case LVM_GETSELECTIONMARK:
      return d.selection_mark;
    case LVM_SETSELECTIONMARK: {
      int old = d.selection_mark;
      d.selection_mark = static_cast<int>(lp);
      return old;
    }
    case LVM_INSERTCOLUMNW:
      return InsertColumn(list, d, wp, reinterpret_cast<const LVCOLUMNW*>(lp));
    case LVM_GETCOLUMNW:
      return GetColumn(d, wp, reinterpret_cast<LVCOLUMNW*>(lp));
    case LVM_SETCOLUMNW:
      return SetColumn(list, d, wp, reinterpret_cast<const LVCOLUMNW*>(lp));
    case LVM_DELETECOLUMN:
      if (wp >= d.columns.size()) return FALSE;
      d.columns.erase(d.columns.begin() + static_cast<std::ptrdiff_t>(wp));
      InvalidateRect(list, nullptr, TRUE);
      return TRUE;
    case LVM_GETCOLUMNWIDTH:
      return wp < d.columns.size() ? d.columns[wp].width : 0;
    case LVM_SETCOLUMNWIDTH:
      return SetColumnWidth(list, d, wp, static_cast<short>(LOWORD(lp)));
    case LVM_ENSUREVISIBLE:
      return EnsureVisible(list, static_cast<int>(static_cast<INT_PTR>(wp)));
    case LVM_GETTOPINDEX:
      return d.top;
    case LVM_GETCOUNTPERPAGE:
      return CountPerPage(list);
    case LVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lp);
      if (!rect || !ValidItem(d, static_cast<INT_PTR>(wp))) return FALSE;
      *rect = RowRect(list, static_cast<int>(wp));
      return TRUE;
    }
    case LVM_HITTEST: {
      auto* info = reinterpret_cast<LVHITTESTINFO*>(lp);
      if (!info) return -1;
      info->iItem = HitTest(list, info->pt, &info->iSubItem, &info->flags);
      return info->iItem;
    }
    case LVM_SCROLL:
      d.top = std::clamp(d.top + static_cast<int>(lp) / kListRowHeight, 0, std::max(0, Count(d) - 1));
      InvalidateRect(list, nullptr, FALSE);
      return TRUE;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      DWORD old = d.ex_style;
      DWORD mask = wp ? static_cast<DWORD>(wp) : 0xFFFFFFFF;
      d.ex_style = (old & ~mask) | (static_cast<DWORD>(lp) & mask);
      InvalidateRect(list, nullptr, TRUE);
      return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return d.ex_style;
    case LVM_SETIMAGELIST: {
      if (wp > LVSIL_STATE) return 0;
      HIMAGELIST old = d.images[wp];
      d.images[wp] = reinterpret_cast<HIMAGELIST>(lp);
      InvalidateRect(list, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETIMAGELIST:
      return wp <= LVSIL_STATE ? reinterpret_cast<LRESULT>(d.images[wp]) : 0;
    case LVM_SETBKCOLOR:
    case LVM_SETTEXTCOLOR:
    case LVM_SETTEXTBKCOLOR:
      d.colors[msg == LVM_SETBKCOLOR ? 0 : msg == LVM_SETTEXTCOLOR ? 1 : 2] = static_cast<COLORREF>(lp);
      return TRUE;
    case LVM_GETBKCOLOR:
      return d.colors[0];
    case LVM_GETTEXTCOLOR:
      return d.colors[1];
    case LVM_GETTEXTBKCOLOR:
      return d.colors[2];
    case LVM_SETITEMCOUNT:
    case LVM_SETCALLBACKMASK:
    case LVM_REDRAWITEMS:
    case LVM_UPDATE:
    case LVM_ARRANGE:
    case LVM_SETUNICODEFORMAT:
    case LVM_GETUNICODEFORMAT:
      return TRUE;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default: {
      LRESULT result;
      if (OnListInput(list, msg, wp, lp, &result)) return result;
      return DefWindowProcW(list, msg, wp, lp);
    }
  }
}

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) AttachData<ListViewData>(hwnd);
  ListViewData* d = DataOf<ListViewData>(hwnd);
  if (!d) return DefWindowProcW(hwnd, msg, wp, lp);
  return OnMessage(hwnd, *d, msg, wp, lp);
}

}  // namespace

void RegisterListViewClass() { RegisterControlClass(WC_LISTVIEWW, ListViewProc, CS_DBLCLKS); }

}  // namespace sim::controls
