// Internal state of menus, shared by their files: menu objects and items (menu.cpp), pop-up
// menus held open by TrackPopupMenu (menu_track.cpp), window and system menus (menu_window.cpp).
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sim/menus.h>

#include "user/user.h"

namespace sim::user {

using sim::MenuItemInfo;

struct MenuItem {
  UINT type = MFT_STRING;  // MFT_SEPARATOR, MFT_BITMAP, MFT_OWNERDRAW, MFT_RADIOCHECK, breaks
  UINT state = 0;          // MFS_CHECKED, MF_GRAYED, MF_DISABLED, MFS_HILITE, MFS_DEFAULT
  UINT id = 0;
  HMENU submenu = nullptr;
  std::u16string text;
  ULONG_PTR data = 0;
  HBITMAP bitmap = nullptr;
};

struct Menu {
  bool popup = false;
  std::vector<MenuItem> items;
};

// The pop-up menu that TrackPopupMenu holds open (one at a time on the desktop).
struct OpenPopup {
  HMENU menu = nullptr;
  HWND owner = nullptr;
  DWORD thread_id = 0;
  bool done = false;
  UINT chosen = 0;
};

struct MenuState {
  std::map<HMENU, Menu> menus;
  std::optional<OpenPopup> open;
};

MenuState& Menus();
Menu* FindMenu(HMENU menu);
// An item by position (MF_BYPOSITION) or by command id, searching sub-menus depth first as
// Windows does; `owner` receives the menu that holds it and `index` its position there.
MenuItem* FindItem(HMENU menu, UINT item, UINT flags, HMENU* owner = nullptr, size_t* index = nullptr);

// The standard items of a window's system menu, grayed as the window's state makes them.
std::vector<MenuItem> StandardSystemMenu(const Window& w);
// Grays the standard commands of a system menu as the window's state requires now.
void RefreshSystemMenu(const Window& w, Menu& menu);

// The world's description of menu items (sim/menus.h), sub-menus included.
std::vector<MenuItemInfo> DescribeItems(const std::vector<MenuItem>& items);

// Closes the open pop-up menu with a command (0 when dismissed) and wakes its thread.
void ClosePopup(UINT chosen);

}  // namespace sim::user
