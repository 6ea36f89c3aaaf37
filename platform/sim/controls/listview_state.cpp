// Item states of the list view (selection and focus) with their notifications, and the
// selection mark kept in step with insertions and deletions.
#include "controls/control.h"
#include "controls/listview.h"

namespace sim::controls {

namespace {

int Count(HWND list) {
  ListViewData* d = DataOf<ListViewData>(list);
  return d ? static_cast<int>(d->items.size()) : 0;
}

bool SingleSelection(HWND list) { return (GetWindowLongW(list, GWL_STYLE) & LVS_SINGLESEL) != 0; }

// One item's change, offered to the parent first. The parent may change the list while it is
// told, so the item is looked up again after each notification.
bool ChangeOne(HWND list, int item, UINT state, UINT mask) {
  ListViewData* d = DataOf<ListViewData>(list);
  if (!d || item < 0 || item >= static_cast<int>(d->items.size())) return false;
  UINT old = d->items[static_cast<size_t>(item)].state;
  UINT next = (old & ~mask) | (state & mask);
  if (next == old) return true;
  if (NotifyItem(list, LVN_ITEMCHANGING, item, next, old, LVIF_STATE)) return false;
  d = DataOf<ListViewData>(list);
  if (!d || item >= static_cast<int>(d->items.size())) return false;
  old = d->items[static_cast<size_t>(item)].state;
  next = (old & ~mask) | (state & mask);
  d->items[static_cast<size_t>(item)].state = next;
  InvalidateRect(list, nullptr, FALSE);
  NotifyItem(list, LVN_ITEMCHANGED, item, next, old, LVIF_STATE);
  return true;
}

// Takes `bit` away from every item but `keep`.
void ClearOthers(HWND list, int keep, UINT bit) {
  for (int j = 0; j < Count(list); ++j) {
    ListViewData* d = DataOf<ListViewData>(list);
    if (j != keep && d && (d->items[static_cast<size_t>(j)].state & bit)) ChangeOne(list, j, 0, bit);
  }
}

}  // namespace

LRESULT NotifyItem(HWND list, UINT code, int item, UINT new_state, UINT old_state, UINT changed) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  nm.uNewState = new_state;
  nm.uOldState = old_state;
  nm.uChanged = changed;
  ListViewData* d = DataOf<ListViewData>(list);
  if (d && item >= 0 && item < static_cast<int>(d->items.size()))
    nm.lParam = d->items[static_cast<size_t>(item)].param;
  return NotifyParent(list, code, &nm.hdr);
}

BOOL SetItemState(HWND list, int item, UINT state, UINT mask) {
  if (!DataOf<ListViewData>(list)) return FALSE;
  if (item == -1) {
    // The focus cannot go to every item, nor can every item be selected in a single-selection list.
    UINT all_mask = mask;
    if (state & LVIS_FOCUSED) all_mask &= ~LVIS_FOCUSED;
    if ((state & LVIS_SELECTED) && SingleSelection(list)) all_mask &= ~LVIS_SELECTED;
    for (int j = 0; j < Count(list); ++j) ChangeOne(list, j, state, all_mask);
    return TRUE;
  }
  if (item < 0 || item >= Count(list)) return FALSE;
  if ((mask & state & LVIS_SELECTED) && SingleSelection(list)) ClearOthers(list, item, LVIS_SELECTED);
  if (mask & state & LVIS_FOCUSED) ClearOthers(list, item, LVIS_FOCUSED);
  ChangeOne(list, item, state, mask);
  return TRUE;
}

void SelectOnly(HWND list, int item) {
  ClearOthers(list, item, LVIS_SELECTED);
  SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  if (ListViewData* d = DataOf<ListViewData>(list)) d->selection_mark = item;
}

void DeselectAll(HWND list) { SetItemState(list, -1, 0, LVIS_SELECTED); }

void AdjustAfterInsert(ListViewData& d, int index) {
  if (d.selection_mark >= index) ++d.selection_mark;
}

void AdjustAfterDelete(ListViewData& d, int index) {
  if (d.selection_mark == index) {
    d.selection_mark = -1;
  } else if (d.selection_mark > index) {
    --d.selection_mark;
  }
  int count = static_cast<int>(d.items.size());
  if (d.top >= count) d.top = count > 0 ? count - 1 : 0;
}

}  // namespace sim::controls
