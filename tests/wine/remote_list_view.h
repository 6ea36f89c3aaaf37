// Reading a list view of another process, as Windows requires for messages that carry
// pointers across processes: the structures and texts go through a buffer allocated in the
// list's process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wine_test {

// Memory in the process that owns a window, freed with the object.
class CRemoteBuffer {
 public:
  CRemoteBuffer(HWND owner, SIZE_T size);
  ~CRemoteBuffer();
  CRemoteBuffer(const CRemoteBuffer&) = delete;
  CRemoteBuffer& operator=(const CRemoteBuffer&) = delete;

  explicit operator bool() const { return m_pRemote != nullptr; }
  // The address in the other process of the byte at `offset`.
  BYTE* At(SIZE_T offset) const { return m_pRemote + offset; }
  bool Write(SIZE_T offset, const void* data, SIZE_T size);
  bool Read(SIZE_T offset, void* data, SIZE_T size);

 private:
  HANDLE m_hProcess = nullptr;
  BYTE* m_pRemote = nullptr;
};

struct ListViewRow {
  std::vector<std::wstring> texts;  // the first three columns
  int image = -1;
  bool selected = false;
};

std::vector<ListViewRow> ListViewRows(HWND list);
int ListViewSelectionMark(HWND list);
// The row's rectangle in screen coordinates; empty when the row is not there.
RECT ListViewRowRect(HWND list, int row);

}  // namespace wine_test
