// The world's view of the registry.
#include <sim/registry.h>

#include <cstring>

#include "kernel/registry_tree.h"

namespace sim {

namespace {

std::shared_ptr<registry::Key> KeyAt(HKEY root, const std::u16string& path, bool create) {
  auto base = registry::Root(root);
  auto names = registry::SplitPath(path.c_str());
  if (!base || !names) return nullptr;
  if (!create) return registry::Find(base, *names);
  bool created = false;
  return registry::FindOrCreate(base, *names, &created);
}

void Store(HKEY root, const std::u16string& path, const std::u16string& name, DWORD type, const void* data,
           size_t size) {
  auto key = KeyAt(root, path, true);
  if (!key) return;
  registry::Value& value = key->values[registry::Folded(name)];
  if (value.name.empty()) value.name = name;
  value.type = type;
  const BYTE* bytes = static_cast<const BYTE*>(data);
  value.data.assign(bytes, bytes + size);
}

}  // namespace

std::optional<std::u16string> RegistryValue::AsString() const {
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::u16string text(data.size() / sizeof(char16_t), u'\0');
  std::memcpy(text.data(), data.data(), text.size() * sizeof(char16_t));
  size_t end = text.find(u'\0');
  if (end != std::u16string::npos) text.resize(end);
  return text;
}

std::optional<DWORD> RegistryValue::AsDword() const {
  if (type != REG_DWORD || data.size() != sizeof(DWORD)) return std::nullopt;
  DWORD number;
  std::memcpy(&number, data.data(), sizeof number);
  return number;
}

void SetRegistryString(HKEY root, const std::u16string& key_path, const std::u16string& name,
                       const std::u16string& text) {
  Store(root, key_path, name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(char16_t));
}

void SetRegistryDword(HKEY root, const std::u16string& key_path, const std::u16string& name, DWORD number) {
  Store(root, key_path, name, REG_DWORD, &number, sizeof number);
}

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::u16string& key_path,
                                               const std::u16string& name) {
  auto key = KeyAt(root, key_path, false);
  if (!key) return std::nullopt;
  auto it = key->values.find(registry::Folded(name));
  if (it == key->values.end()) return std::nullopt;
  return RegistryValue{it->second.type, it->second.data};
}

bool RegistryKeyExists(HKEY root, const std::u16string& key_path) {
  return KeyAt(root, key_path, false) != nullptr;
}

bool RemoveRegistryKey(HKEY root, const std::u16string& key_path) {
  auto names = registry::SplitPath(key_path.c_str());
  if (!names || names->empty()) return false;
  auto leaf = names->back();
  names->pop_back();
  auto parent = KeyAt(root, std::u16string(), false);
  if (parent) parent = registry::Find(parent, *names);
  if (!parent) return false;
  auto it = parent->children.find(registry::Folded(leaf));
  if (it == parent->children.end()) return false;
  registry::MarkDeleted(*it->second);
  parent->children.erase(it);
  return true;
}

}  // namespace sim
