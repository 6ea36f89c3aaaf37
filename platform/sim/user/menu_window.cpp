// Menus that belong to windows: the menu bar (GetMenu, SetMenu) and the system menu, made for a
// window on the first GetSystemMenu call with the standard commands, and the world's view of it.
#include <windows.h>

#include <sim/menus.h>

#include <functional>

#include "controls/world_input.h"
#include "user/menu.h"

namespace sim::user {

namespace {

struct StandardCommand {
  UINT id;
  const char16_t* text;
};

constexpr StandardCommand kStandardCommands[] = {
    {SC_RESTORE, u"&Restore"},     {SC_MOVE, u"&Move"},         {SC_SIZE, u"&Size"},
    {SC_MINIMIZE, u"Mi&nimize"},   {SC_MAXIMIZE, u"Ma&ximize"}, {0, nullptr},
    {SC_CLOSE, u"&Close\tAlt+F4"},
};

// Whether a standard command can be chosen in the window's present state, as Windows grays
// the system menu before it opens.
bool CommandAvailable(const Window& w, UINT id) {
  bool sized = w.minimized || w.maximized;
  switch (id) {
    case SC_RESTORE:
      return sized;
    case SC_MOVE:
      return !w.maximized;
    case SC_SIZE:
      return (w.style & WS_THICKFRAME) && !sized;
    case SC_MINIMIZE:
      return (w.style & WS_MINIMIZEBOX) && !w.minimized;
    case SC_MAXIMIZE:
      return (w.style & WS_MAXIMIZEBOX) && !w.maximized;
    default:
      return true;
  }
}

bool IsStandardCommand(UINT id) {
  return id == SC_RESTORE || id == SC_MOVE || id == SC_SIZE || id == SC_MINIMIZE || id == SC_MAXIMIZE;
}

bool ChooseSystemCommand(HWND window, const std::function<bool(const MenuItemInfo&)>& match) {
  if (!controls::UserCanReach(window)) return false;
  for (const MenuItemInfo& item : SystemMenuItems(window)) {
    if (item.separator || item.grayed || item.submenu || !match(item)) continue;
    PostMessageW(window, WM_SYSCOMMAND, item.id, 0);
    return true;
  }
  return false;
}

}  // namespace

std::vector<MenuItem> StandardSystemMenu(const Window& w) {
  std::vector<MenuItem> items;
  for (const StandardCommand& c : kStandardCommands) {
    MenuItem item;
    if (!c.text) {
      item.type = MFT_SEPARATOR;
    } else {
      item.id = c.id;
      item.text = c.text;
      if (c.id == SC_CLOSE) item.state |= MFS_DEFAULT;
      if (!CommandAvailable(w, c.id)) item.state |= MF_GRAYED;
    }
    items.push_back(std::move(item));
  }
  return items;
}

void RefreshSystemMenu(const Window& w, Menu& menu) {
  for (MenuItem& item : menu.items) {
    if (item.submenu || !IsStandardCommand(item.id)) continue;
    item.state &= ~(MF_GRAYED | MF_DISABLED);
    if (!CommandAvailable(w, item.id)) item.state |= MF_GRAYED;
  }
}

}  // namespace sim::user

using namespace sim::user;

HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || w->IsChild()) return nullptr;
  if (bRevert) {
    // Back to the standard menu: the window's own copy goes.
    if (w->system_menu) DestroyMenu(w->system_menu);
    w->system_menu = nullptr;
    return nullptr;
  }
  if (!FindMenu(w->system_menu)) {
    w->system_menu = CreatePopupMenu();
    FindMenu(w->system_menu)->items = StandardSystemMenu(*w);
  }
  return w->system_menu;
}

HMENU WINAPI GetMenu(HWND hWnd) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || w->IsChild()) return nullptr;
  return FindMenu(w->menu) ? w->menu : nullptr;
}

BOOL WINAPI SetMenu(HWND hWnd, HMENU hMenu) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return FALSE;
  if (w->IsChild()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (hMenu && !FindMenu(hMenu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  w->menu = hMenu;
  return TRUE;
}

namespace sim {

std::vector<MenuItemInfo> SystemMenuItems(HWND window) {
  user::Window* w = user::FromHandle(window);
  if (!w || w->IsChild() || !(w->style & WS_SYSMENU)) return {};
  if (user::Menu* copy = user::FindMenu(w->system_menu)) {
    user::RefreshSystemMenu(*w, *copy);
    return InspectMenu(w->system_menu);
  }
  return user::DescribeItems(user::StandardSystemMenu(*w));  // no copy yet: the standard menu
}

bool ChooseSystemMenuItem(HWND window, const std::u16string& text) {
  return user::ChooseSystemCommand(
      window, [&](const MenuItemInfo& item) { return controls::LabelMatches(item.text, text); });
}

bool ChooseSystemMenuItem(HWND window, UINT id) {
  return user::ChooseSystemCommand(window, [&](const MenuItemInfo& item) { return item.id == id; });
}

}  // namespace sim
