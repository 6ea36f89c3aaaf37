// Pop-up menus held open by TrackPopupMenu(Ex): the calling thread keeps dispatching its
// messages (timers go on) until the world chooses a command or dismisses the menu, or EndMenu
// closes it. The choice arrives as a posted WM_COMMAND, or as the result with TPM_RETURNCMD.
#include <windows.h>

#include <sim/menus.h>

#include <functional>

#include "controls/world_input.h"
#include "user/menu.h"

namespace sim::user {

namespace {

bool IsSystemMenu(HMENU menu, HWND* window) {
  for (auto& [h, w] : State().windows) {
    if (w->system_menu == menu) {
      *window = h;
      return true;
    }
  }
  return false;
}

// Runs the thread's messages until the open menu closes. Keys go to the menu, not to windows:
// Escape dismisses it. A WM_QUIT dismisses it and stays queued for the thread's own loop.
void RunMenuLoop(HWND owner) {
  MenuState& s = Menus();
  while (s.open && !s.open->done) {
    if (!IsWindow(owner)) {
      ClosePopup(0);
      break;
    }
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      ClosePopup(0);
    } else if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) ClosePopup(0);
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

// Every enabled command of a menu and its sub-menus, depth first.
const MenuItem* FindChoice(HMENU menu, const std::function<bool(const MenuItem&)>& match) {
  Menu* m = FindMenu(menu);
  if (!m) return nullptr;
  for (const MenuItem& item : m->items) {
    if ((item.type & MFT_SEPARATOR) || (item.state & (MF_GRAYED | MF_DISABLED))) continue;
    if (item.submenu) {
      if (const MenuItem* inner = FindChoice(item.submenu, match)) return inner;
    } else if (match(item)) {
      return &item;
    }
  }
  return nullptr;
}

bool Choose(const std::function<bool(const MenuItem&)>& match) {
  MenuState& s = Menus();
  if (!s.open || s.open->done) return false;
  const MenuItem* item = FindChoice(s.open->menu, match);
  if (!item) return false;
  ClosePopup(item->id);
  return true;
}

}  // namespace

std::vector<MenuItemInfo> DescribeItems(const std::vector<MenuItem>& items) {
  std::vector<MenuItemInfo> out;
  for (const MenuItem& item : items) {
    MenuItemInfo info;
    info.text = item.text;
    info.id = item.submenu ? 0 : item.id;
    info.checked = (item.state & MF_CHECKED) != 0;
    info.grayed = (item.state & (MF_GRAYED | MF_DISABLED)) != 0;
    info.separator = (item.type & MFT_SEPARATOR) != 0;
    info.is_default = (item.state & MFS_DEFAULT) != 0;
    info.submenu = item.submenu;
    if (item.submenu) info.submenu_items = sim::InspectMenu(item.submenu);
    out.push_back(std::move(info));
  }
  return out;
}

void ClosePopup(UINT chosen) {
  MenuState& s = Menus();
  if (!s.open || s.open->done) return;
  s.open->done = true;
  s.open->chosen = chosen;
  // Wakes the thread if it waits for a message; the message itself does nothing.
  PostThreadMessageW(s.open->thread_id, WM_NULL, 0, 0);
}

}  // namespace sim::user

using namespace sim::user;

BOOL WINAPI TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int, int, HWND hwnd, LPTPMPARAMS) {
  if (!FindMenu(hMenu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  if (!CheckedFromHandle(hwnd)) return FALSE;
  MenuState& s = Menus();
  if (s.open) {
    SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
    return FALSE;
  }
  bool notify = !(uFlags & TPM_NONOTIFY);
  if (notify) {
    SendMessageW(hwnd, WM_ENTERMENULOOP, TRUE, 0);
    SendMessageW(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
    SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(0, FALSE));
  }
  if (!FindMenu(hMenu) || !IsWindow(hwnd) || s.open) return FALSE;
  s.open = OpenPopup{hMenu, hwnd, GetCurrentThreadId(), false, 0};
  sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnPopupMenuOpened(hMenu, hwnd); });
  UINT chosen = 0;
  {
    // The menu closes also when the thread is ended inside the loop (its process ends), so the
    // next pop-up menu on the desktop can open.
    struct Closer {
      HMENU menu;
      UINT* chosen;
      ~Closer() {
        MenuState& state = Menus();
        *chosen = state.open ? state.open->chosen : 0;
        state.open.reset();
        sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnPopupMenuClosed(menu, *chosen); });
      }
    } closer{hMenu, &chosen};
    RunMenuLoop(hwnd);
  }
  if (notify && IsWindow(hwnd)) SendMessageW(hwnd, WM_EXITMENULOOP, TRUE, 0);
  if (!chosen) return FALSE;
  if (uFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (notify && IsWindow(hwnd)) {
    HWND system_window = nullptr;
    if (IsSystemMenu(hMenu, &system_window)) {
      PostMessageW(system_window, WM_SYSCOMMAND, chosen, 0);
    } else {
      PostMessageW(hwnd, WM_COMMAND, chosen, 0);
    }
  }
  return TRUE;
}

BOOL WINAPI TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*) {
  return TrackPopupMenuEx(hMenu, uFlags, x, y, hWnd, nullptr);
}

BOOL WINAPI EndMenu(void) {
  ClosePopup(0);
  return TRUE;
}

// ---- The world's view -----------------------------------------------------------------------------

namespace sim {

std::vector<MenuItemInfo> InspectMenu(HMENU menu) {
  user::Menu* m = user::FindMenu(menu);
  return m ? user::DescribeItems(m->items) : std::vector<MenuItemInfo>{};
}

std::optional<PopupMenuInfo> OpenPopupMenu() {
  auto& open = user::Menus().open;
  if (!open || open->done) return std::nullopt;
  return PopupMenuInfo{open->menu, open->owner, InspectMenu(open->menu)};
}

bool ChoosePopupMenuItem(const std::u16string& text) {
  return user::Choose([&](const user::MenuItem& item) { return controls::LabelMatches(item.text, text); });
}

bool ChoosePopupMenuItem(UINT id) {
  return user::Choose([&](const user::MenuItem& item) { return item.id == id; });
}

bool DismissPopupMenu() {
  auto& open = user::Menus().open;
  if (!open || open->done) return false;
  user::ClosePopup(0);
  return true;
}

}  // namespace sim
