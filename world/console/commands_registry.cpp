// The user's registry, as a person with the registry editor changes it.
#include <sim/registry.h>

#include "world/console/console.h"
#include "world/console/numbers.h"
#include "world/core/reporter.h"
#include "world/core/text.h"

namespace console {

namespace {

struct KeyPath {
  HKEY root = nullptr;
  std::u16string path;
};

// "HKCU\Software\x" (or HKEY_CURRENT_USER, HKLM, HKEY_LOCAL_MACHINE) split into root and path.
std::optional<KeyPath> ParseKey(const std::string& text) {
  size_t slash = text.find('\\');
  std::string root = text.substr(0, slash);
  KeyPath key;
  if (root == "HKCU" || root == "HKEY_CURRENT_USER") {
    key.root = HKEY_CURRENT_USER;
  } else if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE") {
    key.root = HKEY_LOCAL_MACHINE;
  } else {
    return std::nullopt;
  }
  if (slash == std::string::npos || slash + 1 == text.size()) return std::nullopt;
  key.path = world::Utf16(text.substr(slash + 1));
  return key;
}

Result BadKey(const std::string& text) {
  return Result::Bad("not a registry key: '" + text + "' (e.g. HKCU\\Software\\Tellbud)");
}

Result SetString(Console&, const Call& call) {
  auto key = ParseKey(call.args[0]);
  if (!key) return BadKey(call.args[0]);
  sim::SetRegistryString(key->root, key->path, world::Utf16(call.args[1]), world::Utf16(call.args[2]));
  return Result::Ok();
}

Result SetDword(Console&, const Call& call) {
  auto key = ParseKey(call.args[0]);
  if (!key) return BadKey(call.args[0]);
  auto number = ParseNumber(call.args[2]);
  if (!number || *number > 0xFFFFFFFFull) return Result::Bad("not a DWORD: '" + call.args[2] + "'");
  sim::SetRegistryDword(key->root, key->path, world::Utf16(call.args[1]), static_cast<DWORD>(*number));
  return Result::Ok();
}

Result Get(Console& c, const Call& call) {
  auto key = ParseKey(call.args[0]);
  if (!key) return BadKey(call.args[0]);
  auto value = sim::ReadRegistryValue(key->root, key->path, world::Utf16(call.args[1]));
  std::string shown = "absent";
  if (value) {
    if (auto text = value->AsString()) {
      shown = world::Quote(world::Utf8(*text));
    } else if (auto number = value->AsDword()) {
      shown = std::to_string(*number);
    } else {
      shown = "type " + std::to_string(value->type) + ", " + std::to_string(value->data.size()) + " bytes";
    }
  }
  c.Print("registry " + call.args[0] + " " + call.args[1] + ": " + shown);
  return Result::Ok();
}

}  // namespace

void AddRegistryCommands(Console& c) {
  c.Add({"registry", "set", 3, 3, "registry set KEY NAME \"TEXT\"", "store a text value (KEY: HKCU\\...)",
         SetString});
  c.Add({"registry", "dword", 3, 3, "registry dword KEY NAME NUMBER", "store a number value", SetDword});
  c.Add({"registry", "get", 2, 2, "registry get KEY NAME", "print a value", Get});
}

}  // namespace console
