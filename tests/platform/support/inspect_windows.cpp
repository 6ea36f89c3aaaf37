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

// Keeps the first top-level window of the dialog class in this process, as the programs are
// threads here (a modal dialog box is shown only once its loop first finds the queue empty).
BOOL CALLBACK KeepDialogOfThisProcess(HWND hwnd, LPARAM found) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  WCHAR cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (pid != GetCurrentProcessId() || WString(cls) != L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

HWND FirstOpenDialog() {
  HWND found = nullptr;
  EnumWindows(KeepDialogOfThisProcess, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace platform_test
