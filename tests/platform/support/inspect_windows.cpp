#include "inspect.h"

#include <commctrl.h>

namespace platform_test {

WString EditText(HWND edit) {
  WString text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, 0);
  text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::vector<WString> ComboItems(HWND combo) {
  std::vector<WString> items;
  auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (WPARAM i = 0; static_cast<LRESULT>(i) < count; ++i) {
    WString item(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, 0);
    item.resize(
        static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(item);
  }
  return items;
}

std::vector<WString> ListViewFirstColumn(HWND list) {
  std::vector<WString> texts;
  auto count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  for (WPARAM i = 0; static_cast<LRESULT>(i) < count; ++i) {
    WCHAR buffer[512] = {};
    LVITEMW item{};
    item.pszText = buffer;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    texts.push_back(buffer);
  }
  return texts;
}

}  // namespace platform_test
