// Pop-up menus in transcript form, as a person reads them: item texts without their '&'
// markers, checked items marked [x], grayed ones [grayed], separators as -, sub-menus in braces.
#pragma once

#include <windows.h>

#include <sim/menus.h>

#include <string>
#include <vector>

namespace world {

// "\"Auto&Run\"" -> "AutoRun" (a doubled "&&" is a literal '&'); accelerator text after a tab
// is kept, as the menu shows it.
std::u16string MenuItemLabel(const std::u16string& text);

// "\"AutoRun\" [x], -, \"Exit\""
std::string DescribeMenuItems(const std::vector<sim::MenuItemInfo>& items);

// The label of the command `id` in the items (also inside sub-menus), quoted; the id in
// decimal when it is not there.
std::string DescribeMenuCommand(const std::vector<sim::MenuItemInfo>& items, UINT id);

}  // namespace world
