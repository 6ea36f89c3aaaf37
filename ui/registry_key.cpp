#include "ui/registry_key.h"

namespace {

// Read and write access, as the key was always opened.
const REGSAM kReadWrite = KEY_READ | KEY_WRITE;

}  // namespace

CRegistryKey::CRegistryKey(HKEY parent, LPCWSTR subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, subkey, 0, kReadWrite, &key) == ERROR_SUCCESS) m_hKey = key;
}

CRegistryKey::~CRegistryKey() { CloseKey(); }

BOOL CRegistryKey::QueryValue(LPCWSTR name, DWORD* type, LPBYTE buffer, DWORD* size) {
  if (!buffer || !m_hKey) return FALSE;
  return RegQueryValueExW(m_hKey, name, nullptr, type, buffer, size) == ERROR_SUCCESS;
}

void CRegistryKey::CloseKey() {
  if (m_hKey) {
    RegCloseKey(m_hKey);
    m_hKey = nullptr;
  }
}
