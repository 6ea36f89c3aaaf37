// State of a "SysListView32" control and the pieces its files share: items and columns
// (listview.cpp), item states and their notifications (listview_state.cpp), rows on screen and
// the user's mouse and keys (listview_input.cpp). The world's view reads it (sim/controls.h).
#pragma once

#include <commctrl.h>

#include <string>
#include <vector>

#include "user/user.h"

namespace sim::controls {

struct ListViewColumn {
  std::u16string text;
  int width = 0;
  int format = LVCFMT_LEFT;
  int subitem = 0;
  int image = -1;
  int order = 0;
};

struct ListViewItem {
  std::vector<std::u16string> texts;  // by subitem; [0] is the item's own text
  int image = 0;
  UINT state = 0;
  LPARAM param = 0;
  int indent = 0;

  const std::u16string& Text(size_t subitem) const {
    static const std::u16string empty;
    return subitem < texts.size() ? texts[subitem] : empty;
  }
};

struct ListViewData : user::ControlData {
  std::vector<ListViewColumn> columns;
  std::vector<ListViewItem> items;
  int selection_mark = -1;
  DWORD ex_style = 0;
  HIMAGELIST images[3] = {};
  int top = 0;             // the first row shown
  int pressed_item = -2;   // the row under a left button press, until it is released (-2: none)
  int rpressed_item = -2;  // the same for the right button
  COLORREF colors[3] = {CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT};  // background, text, text background
};

// ---- listview_state.cpp ------------------------------------------------------------------------
// Changes the bits `mask` of an item's state to `state`, as LVM_SETITEMSTATE does: with
// LVS_SINGLESEL a selected item deselects the others, a focused item takes the focus from the
// one that had it; every change is offered with LVN_ITEMCHANGING (the parent may refuse it) and
// told with LVN_ITEMCHANGED. Item -1 means every item (the focus cannot go to all). Returns
// FALSE for an item that does not exist.
BOOL SetItemState(HWND list, int item, UINT state, UINT mask);
// What a click on an item does: it alone is selected, it has the focus and the selection mark.
void SelectOnly(HWND list, int item);
// Clears the selection of every item.
void DeselectAll(HWND list);
// Keeps the selection mark and the scroll position valid after item `index` was removed or
// (`inserted`) added.
void AdjustAfterInsert(ListViewData& d, int index);
void AdjustAfterDelete(ListViewData& d, int index);
// LVN_* notifications with an NMLISTVIEW for one item.
LRESULT NotifyItem(HWND list, UINT code, int item, UINT new_state = 0, UINT old_state = 0, UINT changed = 0);

// ---- listview_input.cpp ------------------------------------------------------------------------
constexpr int kListHeaderHeight = 24;
constexpr int kListRowHeight = 17;
int HeaderHeight(HWND list);
int CountPerPage(HWND list);
// Scrolls so that the item is shown; FALSE when there is no such item.
BOOL EnsureVisible(HWND list, int item);
// The client rectangle of an item's row, as it is scrolled now.
RECT RowRect(HWND list, int item);
// The item at a client point, or -1; `subitem` receives the column's subitem under it.
int HitTest(HWND list, POINT pt, int* subitem = nullptr, UINT* flags = nullptr);
// Mouse and keyboard messages; true when handled.
bool OnListInput(HWND list, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

}  // namespace sim::controls
