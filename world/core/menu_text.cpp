#include "world/core/menu_text.h"

#include "world/core/reporter.h"
#include "world/core/text.h"

namespace world {

std::u16string MenuItemLabel(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') out += text[++i];
      continue;
    }
    out += text[i] == u'\t' ? u' ' : text[i];
  }
  return out;
}

std::string DescribeMenuItems(const std::vector<sim::MenuItemInfo>& items) {
  std::string out;
  for (const sim::MenuItemInfo& item : items) {
    if (!out.empty()) out += ", ";
    if (item.separator) {
      out += "-";
      continue;
    }
    out += Quote(Utf8(MenuItemLabel(item.text)));
    if (item.checked) out += " [x]";
    if (item.grayed) out += " [grayed]";
    if (item.submenu) out += " {" + DescribeMenuItems(item.submenu_items) + "}";
  }
  return out;
}

namespace {

const sim::MenuItemInfo* FindCommand(const std::vector<sim::MenuItemInfo>& items, UINT id) {
  for (const sim::MenuItemInfo& item : items) {
    if (!item.separator && !item.submenu && item.id == id) return &item;
    if (item.submenu)
      if (auto* found = FindCommand(item.submenu_items, id)) return found;
  }
  return nullptr;
}

}  // namespace

std::string DescribeMenuCommand(const std::vector<sim::MenuItemInfo>& items, UINT id) {
  if (auto* item = FindCommand(items, id)) return Quote(Utf8(MenuItemLabel(item->text)));
  return std::to_string(id);
}

}  // namespace world
