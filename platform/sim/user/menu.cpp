// Menu objects: creating and destroying menus, adding, changing, finding and removing items,
// and reading them back. Menu handles are user handles that fit in 32 bits.
#include <windows.h>

#include <algorithm>

#include "user/menu.h"

namespace sim::user {

namespace {

constexpr UINT kRightJustify = 0x4000;  // MF_RIGHTJUSTIFY
constexpr UINT kTypeFlags =
    MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW | MF_MENUBREAK | MF_MENUBARBREAK | MFT_RADIOCHECK | kRightJustify;
constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE;
constexpr UINT kNotFound = 0xFFFFFFFF;

HMENU NewMenu(bool popup) {
  auto& s = State();
  auto handle = reinterpret_cast<HMENU>(s.next_handle);
  s.next_handle += 2;
  Menus().menus[handle].popup = popup;
  return handle;
}

Menu* CheckedMenu(HMENU menu) {
  Menu* m = FindMenu(menu);
  if (!m) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return m;
}

// The item AppendMenu and InsertMenu describe with their flags.
bool ItemFromFlags(UINT flags, UINT_PTR id, LPCWSTR content, MenuItem* item) {
  item->type = flags & kTypeFlags;
  item->state = flags & kStateFlags;
  if (flags & MF_POPUP) {
    item->submenu = reinterpret_cast<HMENU>(id);
    if (!FindMenu(item->submenu)) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return false;
    }
    FindMenu(item->submenu)->popup = true;
  }
  item->id = static_cast<UINT>(id);
  if (flags & MF_SEPARATOR) return true;
  if (flags & MF_BITMAP) {
    item->bitmap = reinterpret_cast<HBITMAP>(const_cast<LPWSTR>(content));
  } else if (flags & MF_OWNERDRAW) {
    item->data = reinterpret_cast<ULONG_PTR>(content);
  } else if (content) {
    item->text = content;
  }
  return true;
}

// Where an insertion goes: a position (past the end appends), or before the item with a command id.
bool InsertAt(HMENU menu, UINT where, bool by_position, MenuItem item) {
  Menu* m = CheckedMenu(menu);
  if (!m) return false;
  if (by_position) {
    size_t at = std::min<size_t>(where, m->items.size());
    m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    return true;
  }
  HMENU holder = nullptr;
  size_t index = 0;
  if (!FindItem(menu, where, MF_BYCOMMAND, &holder, &index)) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return false;
  }
  Menu* target = FindMenu(holder);
  target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
  return true;
}

bool ValidInfoSize(UINT size) {
  return size == sizeof(MENUITEMINFOW) || size == offsetof(MENUITEMINFOW, hbmpItem);
}

// The string forms of MENUITEMINFO: without a buffer the length goes to cch; with one, at most
// cch - 1 characters and a terminator are copied and cch receives the number copied.
void CopyItemText(const std::u16string& text, MENUITEMINFOW* info) {
  if (!info->dwTypeData) {
    info->cch = static_cast<UINT>(text.size());
    return;
  }
  if (info->cch == 0) return;
  size_t n = std::min<size_t>(text.size(), info->cch - 1);
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), info->dwTypeData);
  info->dwTypeData[n] = 0;
  info->cch = static_cast<UINT>(n);
}

bool RemoveItem(HMENU menu, UINT item, UINT flags, bool destroy_submenu) {
  if (!CheckedMenu(menu)) return false;
  HMENU holder = nullptr;
  size_t index = 0;
  MenuItem* found = FindItem(menu, item, flags, &holder, &index);
  if (!found) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return false;
  }
  HMENU submenu = found->submenu;
  Menu* m = FindMenu(holder);
  m->items.erase(m->items.begin() + static_cast<std::ptrdiff_t>(index));
  if (destroy_submenu && submenu) DestroyMenu(submenu);
  return true;
}

}  // namespace

MenuState& Menus() { return Desktop::Current().Module<MenuState>(); }

Menu* FindMenu(HMENU menu) {
  auto& menus = Menus().menus;
  auto it = menus.find(menu);
  return it == menus.end() ? nullptr : &it->second;
}

MenuItem* FindItem(HMENU menu, UINT item, UINT flags, HMENU* owner, size_t* index) {
  Menu* m = FindMenu(menu);
  if (!m) return nullptr;
  auto found = [&](HMENU holder, size_t i) {
    if (owner) *owner = holder;
    if (index) *index = i;
    return &FindMenu(holder)->items[i];
  };
  if (flags & MF_BYPOSITION) return item < m->items.size() ? found(menu, item) : nullptr;
  // By command: the items of a sub-menu come before the sub-menu's own entry.
  std::optional<size_t> popup_match;
  for (size_t i = 0; i < m->items.size(); ++i) {
    MenuItem& it = m->items[i];
    if (it.submenu) {
      if (MenuItem* inner = FindItem(it.submenu, item, flags, owner, index)) return inner;
      if (it.id == item && !popup_match) popup_match = i;
    } else if (it.id == item && !(it.type & MF_SEPARATOR)) {
      return found(menu, i);
    }
  }
  return popup_match ? found(menu, *popup_match) : nullptr;
}

}  // namespace sim::user

using namespace sim::user;

HMENU WINAPI CreateMenu(void) { return NewMenu(false); }

HMENU WINAPI CreatePopupMenu(void) { return NewMenu(true); }

BOOL WINAPI DestroyMenu(HMENU hMenu) {
  Menu* m = CheckedMenu(hMenu);
  if (!m) return FALSE;
  std::vector<HMENU> submenus;
  for (const MenuItem& item : m->items)
    if (item.submenu) submenus.push_back(item.submenu);
  Menus().menus.erase(hMenu);
  if (Menus().open && Menus().open->menu == hMenu) ClosePopup(0);
  for (HMENU sub : submenus)
    if (FindMenu(sub)) DestroyMenu(sub);
  return TRUE;
}

BOOL WINAPI IsMenu(HMENU hMenu) { return FindMenu(hMenu) ? TRUE : FALSE; }

BOOL WINAPI InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
  if (!CheckedMenu(hMenu)) return FALSE;
  MenuItem item;
  if (!ItemFromFlags(uFlags, uIDNewItem, lpNewItem, &item)) return FALSE;
  return InsertAt(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0, std::move(item)) ? TRUE : FALSE;
}

BOOL WINAPI AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
  return InsertMenuW(hMenu, kNotFound, (uFlags & ~MF_BYCOMMAND) | MF_BYPOSITION, uIDNewItem, lpNewItem);
}

BOOL WINAPI InsertMenuItemW(HMENU hmenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOW lpmi) {
  if (!lpmi || !ValidInfoSize(lpmi->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!CheckedMenu(hmenu)) return FALSE;
  MenuItem added;
  UINT mask = lpmi->fMask;
  if (mask & (MIIM_FTYPE | MIIM_TYPE)) added.type = lpmi->fType;
  bool string_type = !(added.type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW));
  if (((mask & MIIM_STRING) || ((mask & MIIM_TYPE) && string_type)) && lpmi->dwTypeData)
    added.text = lpmi->dwTypeData;
  if (mask & MIIM_STATE) added.state = lpmi->fState;
  if (mask & MIIM_ID) added.id = lpmi->wID;
  if (mask & MIIM_DATA) added.data = lpmi->dwItemData;
  if (mask & MIIM_BITMAP) added.bitmap = lpmi->hbmpItem;
  if (mask & MIIM_SUBMENU) {
    if (lpmi->hSubMenu && !CheckedMenu(lpmi->hSubMenu)) return FALSE;
    added.submenu = lpmi->hSubMenu;
  }
  return InsertAt(hmenu, item, fByPosition != FALSE, std::move(added)) ? TRUE : FALSE;
}

BOOL WINAPI DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
  return RemoveItem(hMenu, uPosition, uFlags, true) ? TRUE : FALSE;
}

BOOL WINAPI RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
  return RemoveItem(hMenu, uPosition, uFlags, false) ? TRUE : FALSE;
}

DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
  MenuItem* item = FindItem(hMenu, uIDCheckItem, uCheck);
  if (!item) return kNotFound;
  DWORD previous = item->state & MF_CHECKED;
  item->state = (item->state & ~MF_CHECKED) | (uCheck & MF_CHECKED);
  return previous;
}

BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
  MenuItem* item = FindItem(hMenu, uIDEnableItem, uEnable);
  if (!item) return -1;
  UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
  item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
  return static_cast<BOOL>(previous);
}

HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos) {
  MenuItem* item = nPos < 0 ? nullptr : FindItem(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
  return item ? item->submenu : nullptr;
}

int WINAPI GetMenuItemCount(HMENU hMenu) {
  Menu* m = CheckedMenu(hMenu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos) {
  MenuItem* item = nPos < 0 ? nullptr : FindItem(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
  if (!item || item->submenu) return kNotFound;
  return item->id;
}

// For an item that opens a sub-menu, the low byte holds its flags and the high byte the number
// of items of the sub-menu.
UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
  MenuItem* item = FindItem(hMenu, uId, uFlags);
  if (!item) return kNotFound;
  UINT flags = item->type | item->state;
  if (!item->submenu) return flags;
  Menu* sub = FindMenu(item->submenu);
  UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
  return (count << 8) | ((flags | MF_POPUP) & 0xFF);
}

int WINAPI GetMenuStringW(HMENU hMenu, UINT uIDItem, LPWSTR lpString, int cchMax, UINT flags) {
  if (lpString && cchMax > 0) lpString[0] = 0;
  MenuItem* item = FindItem(hMenu, uIDItem, flags);
  if (!item) return 0;
  if (!lpString || cchMax <= 0) return static_cast<int>(item->text.size());
  size_t n = std::min<size_t>(item->text.size(), static_cast<size_t>(cchMax) - 1);
  std::copy(item->text.begin(), item->text.begin() + static_cast<std::ptrdiff_t>(n), lpString);
  lpString[n] = 0;
  return static_cast<int>(n);
}

BOOL WINAPI GetMenuItemInfoW(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFOW lpmii) {
  if (!lpmii || !ValidInfoSize(lpmii->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!CheckedMenu(hmenu)) return FALSE;
  MenuItem* found = FindItem(hmenu, item, fByPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!found) {
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  UINT mask = lpmii->fMask;
  if (mask & (MIIM_FTYPE | MIIM_TYPE)) lpmii->fType = found->type;
  if (mask & MIIM_TYPE) {
    if (found->type & MFT_BITMAP) {
      lpmii->dwTypeData = reinterpret_cast<LPWSTR>(found->bitmap);
    } else if (!(found->type & (MFT_SEPARATOR | MFT_OWNERDRAW))) {
      CopyItemText(found->text, lpmii);
    }
  }
  if (mask & MIIM_STRING) CopyItemText(found->text, lpmii);
  if (mask & MIIM_STATE) lpmii->fState = found->state;
  if (mask & MIIM_ID) lpmii->wID = found->id;
  if (mask & MIIM_SUBMENU) lpmii->hSubMenu = found->submenu;
  if (mask & MIIM_DATA) lpmii->dwItemData = found->data;
  if (mask & MIIM_BITMAP) lpmii->hbmpItem = found->bitmap;
  if (mask & MIIM_CHECKMARKS) lpmii->hbmpChecked = lpmii->hbmpUnchecked = nullptr;
  return TRUE;
}
