// The registry as the world sees it: seed values before the program starts, read back what it
// wrote, remove keys. The registry belongs to the desktop (every process sees the same one).
// `root` is one of the predefined keys (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, ...); key paths
// are like u"Software\\Tellbud" and, like value names, are matched ignoring case.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  // The text of a REG_SZ or REG_EXPAND_SZ value, without its terminator.
  std::optional<std::u16string> AsString() const;
  // The number of a REG_DWORD value.
  std::optional<DWORD> AsDword() const;
};

// Stores a REG_SZ value (its data includes the terminator), creating the key as needed.
void SetRegistryString(HKEY root, const std::u16string& key_path, const std::u16string& name,
                       const std::u16string& text);
void SetRegistryDword(HKEY root, const std::u16string& key_path, const std::u16string& name, DWORD number);
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::u16string& key_path,
                                               const std::u16string& name);
bool RegistryKeyExists(HKEY root, const std::u16string& key_path);
// Removes a key with its subkeys and values; handles still open on them fail with
// ERROR_KEY_DELETED. False when there was no such key.
bool RemoveRegistryKey(HKEY root, const std::u16string& key_path);

}  // namespace sim
