#include <framework/controls.h>

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  if (m_hImageList) return FALSE;
  m_hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
  return m_hImageList != nullptr;
}

int CImageList::Add(HICON hIcon) {
  return m_hImageList ? ImageList_ReplaceIcon(m_hImageList, -1, hIcon) : -1;
}

BOOL CImageList::Replace(int nImage, HICON hIcon) {
  return m_hImageList && nImage >= 0 && ImageList_ReplaceIcon(m_hImageList, nImage, hIcon) == nImage;
}

int CImageList::GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }

BOOL CImageList::Attach(HIMAGELIST hImageList) {
  if (m_hImageList || !hImageList) return FALSE;
  m_hImageList = hImageList;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_hImageList;
  m_hImageList = nullptr;
  return list;
}

BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  BOOL ok = ImageList_Destroy(m_hImageList);
  m_hImageList = nullptr;
  return ok;
}
