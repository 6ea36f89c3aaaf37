// Placeholders for the desktop's menu inspection while its menus are being built on another
// branch: no menu is ever open. The desktop's own definitions replace these weak ones.
#include <sim/controls.h>
#include <sim/menus.h>

namespace sim {

__attribute__((weak)) std::vector<MenuItemInfo> InspectMenu(HMENU) { return {}; }
__attribute__((weak)) std::optional<PopupMenuInfo> OpenPopupMenu() { return std::nullopt; }
__attribute__((weak)) bool ChoosePopupMenuItem(const std::u16string&) { return false; }
__attribute__((weak)) bool DismissPopupMenu() { return false; }
__attribute__((weak)) std::optional<ListViewInfo> InspectListView(HWND) { return std::nullopt; }

}  // namespace sim
