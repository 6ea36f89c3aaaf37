// The standard and common controls as the world sees them: what a control shows (read from the
// control's own state, without sending it messages) and what a person does to it.
//
// Actions arrive the way input does: they are posted to the control's thread (mouse clicks and
// typed characters as the messages a real mouse and keyboard produce) and take effect when that
// thread runs (Desktop::RunUntilIdle or AdvanceBy). An action returns false, and posts nothing,
// when a person could not do it: the control is missing, hidden or disabled, its window is
// disabled (a modal dialog owns it), or the item does not exist.
#pragma once

#include <commctrl.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace sim {

// ---- Reading --------------------------------------------------------------------------------------
struct ListViewColumnInfo {
  std::u16string title;
  int width = 0;
  int subitem = 0;
};
struct ListViewRowInfo {
  std::vector<std::u16string> texts;  // one per column, in column order
  int image = -1;
  bool selected = false;
  bool focused = false;
  LPARAM param = 0;
};
struct ListViewInfo {
  std::vector<ListViewColumnInfo> columns;
  std::vector<ListViewRowInfo> rows;
  int selection_mark = -1;
  DWORD extended_style = 0;
  int top_index = 0;
  HIMAGELIST small_images = nullptr;  // LVSIL_SMALL
  bool enabled = true;
  bool visible = false;
};
std::optional<ListViewInfo> InspectListView(HWND list);
// The icons of an image list, by image index (what a row's image shows).
std::vector<HICON> ImageListIcons(HIMAGELIST images);

struct ComboBoxInfo {
  std::vector<std::u16string> items;
  int selection = -1;
  std::u16string text;  // what the closed combo box shows
  bool dropped = false;
  bool enabled = true;
  bool visible = false;
};
std::optional<ComboBoxInfo> InspectComboBox(HWND combo);

struct EditInfo {
  std::u16string text;
  UINT limit = 0;
  DWORD selection_start = 0;
  DWORD selection_end = 0;
  bool read_only = false;
  bool enabled = true;
  bool visible = false;
};
std::optional<EditInfo> InspectEdit(HWND edit);

struct TrackbarInfo {
  LONG position = 0;
  LONG range_min = 0;
  LONG range_max = 0;
  bool enabled = true;
  bool visible = false;
};
std::optional<TrackbarInfo> InspectTrackbar(HWND trackbar);

// Buttons and statics.
struct ControlInfo {
  std::u16string class_name;
  std::u16string text;
  int id = 0;
  bool enabled = true;
  bool visible = false;
  bool checked = false;     // check boxes and radio buttons
  bool is_default = false;  // BS_DEFPUSHBUTTON
  HICON icon = nullptr;     // SS_ICON statics
};
std::optional<ControlInfo> InspectControl(HWND control);

// The child control of `parent` with this id, or whose text (without '&' markers) is `text`.
HWND FindControl(HWND parent, int id);
HWND FindControlByText(HWND parent, const std::u16string& text);

// ---- Acting as the user --------------------------------------------------------------------------
// A left click in the middle of a button (WM_LBUTTONDOWN, WM_LBUTTONUP).
bool ClickButton(HWND button);
bool ClickButton(HWND parent, int id);
bool ClickButton(HWND parent, const std::u16string& text);

// Mouse actions on a row of a report-view list; row -1 (or past the last row) clicks the empty
// space below the rows.
bool ClickListViewRow(HWND list, int row);
bool DoubleClickListViewRow(HWND list, int row);
bool RightClickListViewRow(HWND list, int row);

// Opens the drop-down list and picks an item, by index or by its exact text.
bool ChooseComboBoxItem(HWND combo, int index);
bool ChooseComboBoxItem(HWND combo, const std::u16string& text);

// Clicks into the edit (focus, caret after the text) and types `text` as WM_CHAR messages; with
// `replace`, the existing text is selected first so the typing replaces it. '\b' is Backspace.
bool TypeIntoEdit(HWND edit, const std::u16string& text, bool replace = false);

// Drags the thumb to `position` (clamped to the range) and releases it.
bool DragTrackbar(HWND trackbar, LONG position);

}  // namespace sim
