// The registry's contents: a tree of keys per desktop under the predefined roots. Key and value
// names keep the case they were created with and are found ignoring case.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim::registry {

struct Value {
  std::u16string name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct Key {
  std::u16string name;
  std::map<std::u16string, std::shared_ptr<Key>> children;  // by folded name
  std::map<std::u16string, Value> values;                   // by folded name
  bool deleted = false;                                     // removed while handles were open
};

// The root key behind a predefined handle (HKEY_CURRENT_USER, ...), or nullptr.
std::shared_ptr<Key> Root(HKEY predefined);

// The names of a subkey path ("Software\\Tellbud"), or nothing when the path is malformed (it
// begins with a backslash).
std::optional<std::vector<std::u16string>> SplitPath(const WCHAR* path);

// Follows `names` down from `key`; nullptr when a key is missing.
std::shared_ptr<Key> Find(std::shared_ptr<Key> key, const std::vector<std::u16string>& names);

// Follows `names` down from `key`, creating missing keys; *created tells whether the last one
// was new.
std::shared_ptr<Key> FindOrCreate(std::shared_ptr<Key> key, const std::vector<std::u16string>& names,
                                  bool* created);

// The lookup form of a key or value name.
std::u16string Folded(const std::u16string& name);

// Marks a key and everything below it deleted.
void MarkDeleted(Key& key);

}  // namespace sim::registry
