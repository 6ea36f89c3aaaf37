// The registry tree of a desktop.
#include "kernel/registry_tree.h"

#include "core/core.h"
#include "kernel/text_compare.h"

namespace sim::registry {

namespace {

struct Roots {
  std::map<uintptr_t, std::shared_ptr<Key>> keys;
};

}  // namespace

std::shared_ptr<Key> Root(HKEY predefined) {
  HKEY known[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
  for (HKEY k : known) {
    if (k != predefined) continue;
    auto& slot = Desktop::Current().Module<Roots>().keys[reinterpret_cast<uintptr_t>(k)];
    if (!slot) slot = std::make_shared<Key>();
    return slot;
  }
  return nullptr;
}

std::u16string Folded(const std::u16string& name) { return FoldCase(name); }

std::optional<std::vector<std::u16string>> SplitPath(const WCHAR* path) {
  std::vector<std::u16string> names;
  if (!path || !*path) return names;
  std::u16string_view rest(path);
  if (rest.front() == u'\\') return std::nullopt;
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = rest.find(u'\\', start);
    if (end == std::u16string_view::npos) end = rest.size();
    if (end > start) names.emplace_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::shared_ptr<Key> Find(std::shared_ptr<Key> key, const std::vector<std::u16string>& names) {
  for (const auto& name : names) {
    auto it = key->children.find(Folded(name));
    if (it == key->children.end()) return nullptr;
    key = it->second;
  }
  return key;
}

std::shared_ptr<Key> FindOrCreate(std::shared_ptr<Key> key, const std::vector<std::u16string>& names,
                                  bool* created) {
  *created = false;
  for (const auto& name : names) {
    auto& child = key->children[Folded(name)];
    *created = !child;
    if (!child) {
      child = std::make_shared<Key>();
      child->name = name;
    }
    key = child;
  }
  return key;
}

void MarkDeleted(Key& key) {
  key.deleted = true;
  for (auto& [name, child] : key.children) MarkDeleted(*child);
}

}  // namespace sim::registry
