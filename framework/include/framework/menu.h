// CMenu: a wrapper of an HMENU. A menu loaded or created through the wrapper is destroyed with
// it; sub-menu wrappers from GetSubMenu belong to the parent wrapper and stay valid while it
// holds its menu.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

class CWnd;

class CMenu {
 public:
  CMenu() = default;
  ~CMenu();
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU m_hMenu = nullptr;

  HMENU GetSafeHmenu() const { return m_hMenu; }
  operator HMENU() const { return m_hMenu; }  // NOLINT(google-explicit-constructor)

  // Builds the menu from the resource table (see AfxLoadMenu); FALSE when there is none or this
  // wrapper already holds a menu.
  BOOL LoadMenu(UINT nIDResource);
  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // Wraps a menu and takes it over: the wrapper destroys it unless it is detached again.
  // FALSE when hMenu is not a menu or the wrapper already holds one.
  BOOL Attach(HMENU hMenu);
  HMENU Detach();
  BOOL DestroyMenu();

  // The pop-up at nPos, wrapped; nullptr when there is none.
  CMenu* GetSubMenu(int nPos);
  int GetMenuItemCount() const;
  UINT GetMenuItemID(int nPos) const;
  UINT GetMenuState(UINT nID, UINT nFlags) const;
  // The previous check state (MF_CHECKED or MF_UNCHECKED), or (UINT)-1 when the item is missing.
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr);
  BOOL DeleteMenu(UINT nPosition, UINT nFlags);
  BOOL RemoveMenu(UINT nPosition, UINT nFlags);
  // Shows the menu as a pop-up owned by pWnd; see TrackPopupMenuEx for the result.
  BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm = nullptr);
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

 private:
  friend class CWnd;
  // Wraps a menu that belongs to someone else (a parent menu, a window's system menu).
  void WrapUnowned(HMENU hMenu);

  bool m_bOwned = false;  // destroyed with the wrapper
  std::map<HMENU, std::unique_ptr<CMenu>> m_subMenus;
};
