#include "remote_list_view.h"

#include <commctrl.h>

namespace wine_test {

CRemoteBuffer::CRemoteBuffer(HWND owner, SIZE_T size) {
  DWORD pid = 0;
  GetWindowThreadProcessId(owner, &pid);
  m_hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (m_hProcess)
    m_pRemote = static_cast<BYTE*>(VirtualAllocEx(m_hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
}

CRemoteBuffer::~CRemoteBuffer() {
  if (m_pRemote) VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
  if (m_hProcess) CloseHandle(m_hProcess);
}

bool CRemoteBuffer::Write(SIZE_T offset, const void* data, SIZE_T size) {
  return m_pRemote && WriteProcessMemory(m_hProcess, m_pRemote + offset, data, size, nullptr);
}

bool CRemoteBuffer::Read(SIZE_T offset, void* data, SIZE_T size) {
  return m_pRemote && ReadProcessMemory(m_hProcess, m_pRemote + offset, data, size, nullptr);
}

namespace {

constexpr int kChars = 256;

std::wstring ItemText(HWND list, CRemoteBuffer& buffer, int row, int column) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<LPWSTR>(buffer.At(sizeof(LVITEMW)));
  item.cchTextMax = kChars;
  wchar_t text[kChars] = {};
  if (!buffer.Write(0, &item, sizeof item) || !buffer.Write(sizeof item, text, sizeof text)) return {};
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(buffer.At(0)));
  if (!buffer.Read(sizeof item, text, sizeof text)) return {};
  text[kChars - 1] = 0;
  return text;
}

}  // namespace

std::vector<ListViewRow> ListViewRows(HWND list) {
  std::vector<ListViewRow> rows;
  CRemoteBuffer buffer(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  if (!buffer) return rows;
  int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    ListViewRow row;
    for (int column = 0; column < 3; ++column) row.texts.push_back(ItemText(list, buffer, i, column));
    LVITEMW item{};
    item.mask = LVIF_IMAGE | LVIF_STATE;
    item.iItem = i;
    item.stateMask = LVIS_SELECTED;
    if (buffer.Write(0, &item, sizeof item) &&
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.At(0))) &&
        buffer.Read(0, &item, sizeof item)) {
      row.image = item.iImage;
      row.selected = (item.state & LVIS_SELECTED) != 0;
    }
    rows.push_back(row);
  }
  return rows;
}

int ListViewSelectionMark(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
}

RECT ListViewRowRect(HWND list, int row) {
  RECT rc{LVIR_BOUNDS, 0, 0, 0};
  CRemoteBuffer buffer(list, sizeof rc);
  if (!buffer.Write(0, &rc, sizeof rc) ||
      !SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(buffer.At(0))) ||
      !buffer.Read(0, &rc, sizeof rc))
    return RECT{};
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

}  // namespace wine_test
