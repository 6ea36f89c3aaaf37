#include <framework/controls.h>

#include <vector>

namespace {

LPARAM Text(LPCWSTR text) { return reinterpret_cast<LPARAM>(text ? text : TEXT("")); }

}  // namespace

int CComboBox::AddString(LPCWSTR lpszString) {
  return static_cast<int>(SendMessage(CB_ADDSTRING, 0, Text(lpszString)));
}

int CComboBox::InsertString(int nIndex, LPCWSTR lpszString) {
  return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), Text(lpszString)));
}

int CComboBox::DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int nSelect) {
  return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}

int CComboBox::FindString(int nStartAfter, LPCWSTR lpszString) const {
  return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszString)));
}

int CComboBox::FindStringExact(int nIndexStart, LPCWSTR lpszFind) const {
  return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), Text(lpszFind)));
}

int CComboBox::SelectString(int nStartAfter, LPCWSTR lpszString) {
  return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), Text(lpszString)));
}

int CComboBox::GetLBTextLen(int nIndex) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
}

int CComboBox::GetLBText(int nIndex, LPWSTR lpszText) const {
  if (!lpszText) return CB_ERR;
  return static_cast<int>(
      SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText)));
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
  int length = GetLBTextLen(nIndex);
  if (length < 0) {
    rString.Empty();
    return;
  }
  // CB_GETLBTEXT has no buffer size: give it room for the length it reported, and a margin.
  std::vector<WCHAR> buffer(static_cast<size_t>(length) + 2, 0);
  int copied = GetLBText(nIndex, buffer.data());
  buffer.back() = 0;
  rString = copied < 0 ? CString() : CString(buffer.data());
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const {
  return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
  return static_cast<int>(
      SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
}
