// Menus as the world sees them: the pop-up menu that TrackPopupMenu(Ex) holds open, and a
// window's system menu. Choosing closes the pop-up menu; the thread that opened it goes on when
// the desktop runs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct MenuItemInfo {
  std::u16string text;  // as given, with '&' markers and any "\t" accelerator text
  UINT id = 0;
  bool checked = false;
  bool grayed = false;  // MF_GRAYED or MF_DISABLED
  bool separator = false;
  bool is_default = false;
  HMENU submenu = nullptr;
  std::vector<MenuItemInfo> submenu_items;
};

struct PopupMenuInfo {
  HMENU menu = nullptr;
  HWND owner = nullptr;
  std::vector<MenuItemInfo> items;
};

std::vector<MenuItemInfo> InspectMenu(HMENU menu);

// The pop-up menu open now, if any.
std::optional<PopupMenuInfo> OpenPopupMenu();
// Chooses an enabled command of the open menu, also inside sub-menus. The text matches with or
// without its '&' markers and accelerator text, ignoring case. False when there is no open menu
// or no such enabled command (the menu then stays open).
bool ChoosePopupMenuItem(const std::u16string& text);
bool ChoosePopupMenuItem(UINT id);
// Closes the open menu without a choice (a click outside it, or Escape).
bool DismissPopupMenu();

// A window's system menu: its own copy when the program made one with GetSystemMenu, otherwise
// the standard items. Empty when the window has no WS_SYSMENU.
std::vector<MenuItemInfo> SystemMenuItems(HWND window);
// Chooses an enabled item of the system menu: posts WM_SYSCOMMAND with its id to the window.
bool ChooseSystemMenuItem(HWND window, const std::u16string& text);
bool ChooseSystemMenuItem(HWND window, UINT id);

}  // namespace sim
