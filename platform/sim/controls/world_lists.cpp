// The world's view of list views, combo boxes and trackbars, and the user's actions on them
// (sim/controls.h).
#include <sim/controls.h>

#include <algorithm>

#include "controls/combobox.h"
#include "controls/control.h"
#include "controls/imagelist.h"
#include "controls/listview.h"
#include "controls/trackbar.h"
#include "controls/world_input.h"

namespace sim {

namespace {

// Where a person clicks to hit a row: a little inside the first column, in the middle of the
// row, after scrolling the row into view. Row -1 (or past the end) is the empty space below the
// last row, if there is any. `scroll` tells whether the list must scroll first.
bool RowPoint(HWND list, const controls::ListViewData& d, int row, POINT* pt, bool* scroll) {
  int count = static_cast<int>(d.items.size());
  int page = controls::CountPerPage(list);
  int top = d.top;
  *scroll = false;
  if (row >= 0 && row < count) {
    if (row < top) top = row;
    if (page > 0 && row >= top + page) top = row - page + 1;
    *scroll = top != d.top;
  } else {
    row = count;
  }
  RECT client{};
  GetClientRect(list, &client);
  int y =
      controls::HeaderHeight(list) + (row - top) * controls::kListRowHeight + controls::kListRowHeight / 2;
  if (y >= client.bottom) return false;
  *pt = POINT{std::min<LONG>(2, client.right - 1), y};
  return true;
}

bool ActOnRow(HWND list, int row, std::initializer_list<UINT> messages) {
  auto* d = controls::DataOf<controls::ListViewData>(list);
  POINT pt;
  bool scroll = false;
  if (!d || !controls::UserCanReach(list) || !RowPoint(list, *d, row, &pt, &scroll)) return false;
  if (scroll) PostMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  for (UINT msg : messages) {
    WPARAM keys = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK ? MK_LBUTTON
                  : msg == WM_RBUTTONDOWN                          ? MK_RBUTTON
                                                                   : 0;
    PostMessageW(list, msg, keys, MAKELPARAM(pt.x, pt.y));
  }
  return true;
}

}  // namespace

std::optional<ListViewInfo> InspectListView(HWND list) {
  auto* d = controls::DataOf<controls::ListViewData>(list);
  if (!d) return std::nullopt;
  ListViewInfo info;
  for (const auto& c : d->columns) info.columns.push_back(ListViewColumnInfo{c.text, c.width, c.subitem});
  for (const auto& item : d->items) {
    ListViewRowInfo row;
    if (d->columns.empty()) row.texts.push_back(item.Text(0));
    for (const auto& c : d->columns)
      row.texts.push_back(item.Text(static_cast<size_t>(std::max(c.subitem, 0))));
    row.image = item.image;
    row.selected = (item.state & LVIS_SELECTED) != 0;
    row.focused = (item.state & LVIS_FOCUSED) != 0;
    row.param = item.param;
    info.rows.push_back(std::move(row));
  }
  info.selection_mark = d->selection_mark;
  info.extended_style = d->ex_style;
  info.top_index = d->top;
  info.small_images = d->images[LVSIL_SMALL];
  info.enabled = IsWindowEnabled(list) != FALSE;
  info.visible = IsWindowVisible(list) != FALSE;
  return info;
}

bool ClickListViewRow(HWND list, int row) { return ActOnRow(list, row, {WM_LBUTTONDOWN, WM_LBUTTONUP}); }

bool DoubleClickListViewRow(HWND list, int row) {
  return ActOnRow(list, row, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP});
}

bool RightClickListViewRow(HWND list, int row) { return ActOnRow(list, row, {WM_RBUTTONDOWN, WM_RBUTTONUP}); }

std::vector<HICON> ImageListIcons(HIMAGELIST images) { return controls::ImageListIcons(images); }

std::optional<ComboBoxInfo> InspectComboBox(HWND combo) {
  auto* d = controls::DataOf<controls::ComboData>(combo);
  if (!d) return std::nullopt;
  ComboBoxInfo info;
  for (const auto& item : d->items) info.items.push_back(item.text);
  info.selection = d->selection;
  info.text = user::FromHandle(combo)->title;
  info.dropped = d->dropped;
  info.enabled = IsWindowEnabled(combo) != FALSE;
  info.visible = IsWindowVisible(combo) != FALSE;
  return info;
}

bool ChooseComboBoxItem(HWND combo, int index) {
  auto* d = controls::DataOf<controls::ComboData>(combo);
  if (!d || index < 0 || index >= static_cast<int>(d->items.size()) || !controls::UserCanReach(combo))
    return false;
  PostMessageW(combo, controls::WorldInputMessage(), static_cast<WPARAM>(index), 0);
  return true;
}

bool ChooseComboBoxItem(HWND combo, const std::u16string& text) {
  auto* d = controls::DataOf<controls::ComboData>(combo);
  if (!d) return false;
  for (size_t i = 0; i < d->items.size(); ++i)
    if (d->items[i].text == text) return ChooseComboBoxItem(combo, static_cast<int>(i));
  return false;
}

std::optional<TrackbarInfo> InspectTrackbar(HWND trackbar) {
  auto* d = controls::DataOf<controls::TrackbarData>(trackbar);
  if (!d) return std::nullopt;
  return TrackbarInfo{d->pos, d->min, d->max, IsWindowEnabled(trackbar) != FALSE,
                      IsWindowVisible(trackbar) != FALSE};
}

bool DragTrackbar(HWND trackbar, LONG position) {
  if (!controls::DataOf<controls::TrackbarData>(trackbar) || !controls::UserCanReach(trackbar)) return false;
  PostMessageW(trackbar, controls::WorldInputMessage(), 0, static_cast<LPARAM>(position));
  return true;
}

}  // namespace sim
