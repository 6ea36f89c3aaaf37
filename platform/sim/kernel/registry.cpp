// The registry functions. An opened key is a kernel handle of the calling process that
// remembers the access it was opened with; the predefined roots allow everything.
#include <windows.h>

#include <algorithm>

#include "core/core.h"
#include "kernel/file_system.h"
#include "kernel/registry_tree.h"

namespace reg = sim::registry;

namespace {

struct KeyObject : sim::KernelObject {
  std::shared_ptr<reg::Key> key;
  REGSAM access = 0;
};

constexpr REGSAM kFullAccess = KEY_ALL_ACCESS;

struct OpenKey {
  std::shared_ptr<reg::Key> key;
  REGSAM access = 0;
};

// The key behind hKey; the error is returned through `error`.
std::optional<OpenKey> Resolve(HKEY hKey, LSTATUS* error) {
  if (auto root = reg::Root(hKey)) return OpenKey{root, kFullAccess};
  auto object = sim::LookupHandleAs<KeyObject>(reinterpret_cast<HANDLE>(hKey));
  if (!object) {
    *error = ERROR_INVALID_HANDLE;
    return std::nullopt;
  }
  if (object->key->deleted) {
    *error = ERROR_KEY_DELETED;
    return std::nullopt;
  }
  return OpenKey{object->key, object->access};
}

HKEY NewKeyHandle(std::shared_ptr<reg::Key> key, REGSAM access) {
  auto object = std::make_shared<KeyObject>();
  object->key = std::move(key);
  object->access = access;
  return reinterpret_cast<HKEY>(sim::AddHandle(object, sim::CurrentProcess().info.pid));
}

const reg::Value* FindValue(const reg::Key& key, LPCWSTR name) {
  auto it = key.values.find(reg::Folded(name ? name : u""));
  return it == key.values.end() ? nullptr : &it->second;
}

// The key a subkey path starts from, and the path's names.
LSTATUS ResolveSubKey(HKEY hKey, LPCWSTR lpSubKey, std::shared_ptr<reg::Key>* base,
                      std::vector<std::u16string>* names) {
  LSTATUS error = ERROR_SUCCESS;
  auto open = Resolve(hKey, &error);
  if (!open) return error;
  auto split = reg::SplitPath(lpSubKey);
  if (!split) return ERROR_BAD_PATHNAME;
  *base = open->key;
  *names = std::move(*split);
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::shared_ptr<reg::Key> base;
  std::vector<std::u16string> names;
  if (LSTATUS error = ResolveSubKey(hKey, lpSubKey, &base, &names)) return error;
  auto key = reg::Find(base, names);
  if (!key) return ERROR_FILE_NOT_FOUND;
  *phkResult = NewKeyHandle(key, samDesired);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM samDesired,
                               const struct _SECURITY_ATTRIBUTES*, PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (!phkResult || !lpSubKey) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::shared_ptr<reg::Key> base;
  std::vector<std::u16string> names;
  if (LSTATUS error = ResolveSubKey(hKey, lpSubKey, &base, &names)) return error;
  auto key = reg::Find(base, names);
  bool created = false;
  if (!key) {
    if (sim::CallerProcessEnded()) return ERROR_ACCESS_DENIED;
    key = reg::FindOrCreate(base, names, &created);
  }
  *phkResult = NewKeyHandle(key, samDesired);
  if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

// A null lpData asks for the size only; a buffer that is too small gets ERROR_MORE_DATA with
// the size needed in *lpcbData and is left as it was.
LSTATUS WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                                LPDWORD lpcbData) {
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  LSTATUS error = ERROR_SUCCESS;
  auto key = Resolve(hKey, &error);
  if (!key) return error;
  if (!(key->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  const reg::Value* value = FindValue(*key->key, lpValueName);
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (lpType) *lpType = value->type;
  if (!lpcbData) return ERROR_SUCCESS;
  DWORD size = static_cast<DWORD>(value->data.size());
  if (lpData && *lpcbData < size) {
    *lpcbData = size;
    return ERROR_MORE_DATA;
  }
  if (lpData) std::copy(value->data.begin(), value->data.end(), lpData);
  *lpcbData = size;
  return ERROR_SUCCESS;
}

// The data is stored exactly as given: a REG_SZ written without its terminator is read back
// without one, as on Windows.
LSTATUS WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                              DWORD cbData) {
  LSTATUS error = ERROR_SUCCESS;
  auto key = Resolve(hKey, &error);
  if (!key) return error;
  if (!(key->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (!lpData && cbData) return ERROR_NOACCESS;
  if (sim::CallerProcessEnded()) return ERROR_ACCESS_DENIED;
  std::u16string name = lpValueName ? lpValueName : u"";
  reg::Value& value = key->key->values[reg::Folded(name)];
  if (value.name.empty()) value.name = name;
  value.type = dwType;
  value.data.assign(lpData, lpData + cbData);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  LSTATUS error = ERROR_SUCCESS;
  auto key = Resolve(hKey, &error);
  if (!key) return error;
  if (!(key->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (sim::CallerProcessEnded()) return ERROR_ACCESS_DENIED;
  auto& values = key->key->values;
  auto it = values.find(reg::Folded(lpValueName ? lpValueName : u""));
  if (it == values.end()) return ERROR_FILE_NOT_FOUND;
  values.erase(it);
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY hKey) {
  if (reg::Root(hKey)) return ERROR_SUCCESS;
  HANDLE handle = reinterpret_cast<HANDLE>(hKey);
  if (!sim::LookupHandleAs<KeyObject>(handle)) return ERROR_INVALID_HANDLE;
  sim::CloseHandleInternal(handle);
  return ERROR_SUCCESS;
}
