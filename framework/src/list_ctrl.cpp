#include <framework/controls.h>

#include <vector>

namespace {

LPWSTR MutableText(LPCWSTR text) { return const_cast<LPWSTR>(text ? text : TEXT("")); }

}  // namespace

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
  return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
}

DWORD CListCtrl::GetExtendedStyle() const {
  return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

int CListCtrl::InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat, int nWidth) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.fmt = nFormat;
  column.pszText = MutableText(lpszColumnHeading);
  if (nWidth >= 0) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  return static_cast<int>(
      SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = nItem;
  item.pszText = MutableText(lpszItem);
  return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem, int nImage) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = nItem;
  item.pszText = MutableText(lpszItem);
  item.iImage = nImage;
  return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCWSTR lpszText) {
  LVITEMW item{};
  item.iSubItem = nSubItem;
  item.pszText = MutableText(lpszText);
  return static_cast<BOOL>(
      SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const {
  if (!lpszText || nLen <= 0) return 0;
  lpszText[0] = 0;
  LVITEMW item{};
  item.iSubItem = nSubItem;
  item.pszText = lpszText;
  item.cchTextMax = nLen;
  return static_cast<int>(
      SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  // The message cannot tell the text's length: grow the buffer until the text fits with room.
  for (int size = 256;; size *= 2) {
    std::vector<WCHAR> buffer(static_cast<size_t>(size), 0);
    int copied = GetItemText(nItem, nSubItem, buffer.data(), size);
    if (copied < size - 1 || size >= (1 << 24)) {
      buffer.back() = 0;
      return CString(buffer.data());
    }
  }
}

BOOL CListCtrl::DeleteItem(int nItem) {
  return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(nItem)));
}
BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
int CListCtrl::GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }

int CListCtrl::HitTest(POINT pt) const {
  LVHITTESTINFO info{};
  info.pt = pt;
  return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::SetSelectionMark(int iIndex) {
  return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(iIndex)));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEMW item{};
  item.state = nState;
  item.stateMask = nMask;
  return static_cast<BOOL>(
      SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
  return static_cast<UINT>(
      SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), static_cast<LPARAM>(nMask)));
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
  return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL bPartialOK) {
  return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK));
}

int CListCtrl::FindItem(LVFINDINFOW* pFindInfo, int nStart) const {
  if (!pFindInfo) return -1;
  return static_cast<int>(
      SendMessage(LVM_FINDITEMW, static_cast<WPARAM>(nStart), reinterpret_cast<LPARAM>(pFindInfo)));
}

HIMAGELIST CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  HIMAGELIST list = pImageList ? pImageList->GetSafeHandle() : nullptr;
  return reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), reinterpret_cast<LPARAM>(list)));
}
