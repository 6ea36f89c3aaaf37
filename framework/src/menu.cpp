#include <framework/menu.h>

#include <framework/resources.h>
#include <framework/wnd.h>

CMenu::~CMenu() {
  if (m_bOwned) DestroyMenu();
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
  if (m_hMenu) return FALSE;
  HMENU menu = AfxLoadMenu(nIDResource);
  return menu ? Attach(menu) : FALSE;
}

BOOL CMenu::CreateMenu() { return m_hMenu ? FALSE : Attach(::CreateMenu()); }

BOOL CMenu::CreatePopupMenu() { return m_hMenu ? FALSE : Attach(::CreatePopupMenu()); }

BOOL CMenu::Attach(HMENU hMenu) {
  if (m_hMenu || !hMenu || !::IsMenu(hMenu)) return FALSE;
  m_hMenu = hMenu;
  m_bOwned = true;
  return TRUE;
}

void CMenu::WrapUnowned(HMENU hMenu) {
  if (m_hMenu != hMenu) m_subMenus.clear();
  m_hMenu = hMenu;
  m_bOwned = false;
}

HMENU CMenu::Detach() {
  HMENU menu = m_hMenu;
  m_hMenu = nullptr;
  m_bOwned = false;
  m_subMenus.clear();
  return menu;
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  m_subMenus.clear();
  BOOL ok = ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  m_bOwned = false;
  return ok;
}

CMenu* CMenu::GetSubMenu(int nPos) {
  HMENU sub = m_hMenu ? ::GetSubMenu(m_hMenu, nPos) : nullptr;
  if (!sub) return nullptr;
  std::unique_ptr<CMenu>& wrapper = m_subMenus[sub];
  if (!wrapper) {
    wrapper = std::make_unique<CMenu>();
    wrapper->WrapUnowned(sub);
  }
  return wrapper.get();
}

int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
  return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
  return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
  return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
  return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
  // A deleted pop-up is destroyed with its item; forget wrappers that may refer to it.
  m_subMenus.clear();
  return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
  return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd ? pWnd->GetSafeHwnd() : nullptr, lptpm);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->GetSafeHwnd() : nullptr, lpRect);
}
