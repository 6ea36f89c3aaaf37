// Wrappers of the standard and common controls over their window messages, and of image lists.
// A wrapper is bound to its control with DDX_Control (or Attach); calls on an unbound wrapper
// go to a null window and fail as the messages do.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <framework/cstring.h>
#include <framework/wnd.h>

class CButton : public CWnd {
 public:
  int GetCheck() const;
  void SetCheck(int nCheck);
  void Click();
};

class CStatic : public CWnd {
 public:
  // STM_SETICON; returns the previous icon.
  HICON SetIcon(HICON hIcon);
  HICON GetIcon() const;
};

class CEdit : public CWnd {
 public:
  // EM_LIMITTEXT (0: the largest limit).
  void LimitText(int nChars = 0);
  UINT GetLimitText() const;
  void SetSel(int nStartChar, int nEndChar);
  void ReplaceSel(LPCWSTR lpszNewText);
};

class CComboBox : public CWnd {
 public:
  // The new item's index, or CB_ERR / CB_ERRSPACE.
  int AddString(LPCWSTR lpszString);
  int InsertString(int nIndex, LPCWSTR lpszString);
  int DeleteString(UINT nIndex);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  // -1 clears the selection; CB_ERR for an index out of range.
  int SetCurSel(int nSelect);
  // The first item after nStartAfter (-1: from the start) that begins with the text, ignoring
  // case, or CB_ERR.
  int FindString(int nStartAfter, LPCWSTR lpszString) const;
  int FindStringExact(int nIndexStart, LPCWSTR lpszFind) const;
  int SelectString(int nStartAfter, LPCWSTR lpszString);
  int GetLBTextLen(int nIndex) const;
  // Copies the item's text (the buffer must hold GetLBTextLen + 1 characters); CB_ERR when
  // there is no such item.
  int GetLBText(int nIndex, LPWSTR lpszText) const;
  // The item's text; an empty string when there is no such item.
  void GetLBText(int nIndex, CString& rString) const;
  DWORD_PTR GetItemData(int nIndex) const;
  int SetItemData(int nIndex, DWORD_PTR dwItemData);
};

class CSliderCtrl : public CWnd {
 public:
  void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
  int GetRangeMin() const;
  int GetRangeMax() const;
  int GetPos() const;
  // Moves the thumb and redraws the control.
  void SetPos(int nPos);
};

class CImageList {
 public:
  CImageList() = default;
  ~CImageList();
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;

  // FALSE when the list could not be created or this wrapper already holds one.
  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  // The new image's index, or -1.
  int Add(HICON hIcon);
  BOOL Replace(int nImage, HICON hIcon);
  int GetImageCount() const;
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  operator HIMAGELIST() const { return m_hImageList; }  // NOLINT(google-explicit-constructor)
  BOOL Attach(HIMAGELIST hImageList);
  HIMAGELIST Detach();
  BOOL DeleteImageList();
};

class CListCtrl : public CWnd {
 public:
  // The previous extended style.
  DWORD SetExtendedStyle(DWORD dwNewStyle);
  DWORD GetExtendedStyle() const;
  // The new column's index, or -1. A negative width leaves the control's default.
  int InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
  // The new item's index, or -1.
  int InsertItem(int nItem, LPCWSTR lpszItem);
  int InsertItem(int nItem, LPCWSTR lpszItem, int nImage);
  BOOL SetItemText(int nItem, int nSubItem, LPCWSTR lpszText);
  // Copies at most nLen - 1 characters and a terminator; returns the characters copied.
  int GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const;
  CString GetItemText(int nItem, int nSubItem) const;
  BOOL DeleteItem(int nItem);
  BOOL DeleteAllItems();
  int GetItemCount() const;
  int GetSelectionMark() const;
  // The item at `pt` (client coordinates), or -1 when the point is on no item.
  int HitTest(POINT pt) const;
  // The previous mark.
  int SetSelectionMark(int iIndex);
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  UINT GetItemState(int nItem, UINT nMask) const;
  int GetNextItem(int nItem, int nFlags) const;
  BOOL EnsureVisible(int nItem, BOOL bPartialOK);
  // The matching item's index, or -1 (nStart -1: from the first item).
  int FindItem(LVFINDINFOW* pFindInfo, int nStart = -1) const;
  // Sets the list's image list of that kind (LVSIL_SMALL...); returns the previous one.
  HIMAGELIST SetImageList(CImageList* pImageList, int nImageListType);
};
