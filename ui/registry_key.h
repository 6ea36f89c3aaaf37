// CRegistryKey: owns one open registry key (none when opening failed).
#pragma once

#include <windows.h>

class CRegistryKey {
 public:
  CRegistryKey(HKEY parent, LPCWSTR subkey);
  ~CRegistryKey();
  CRegistryKey(const CRegistryKey&) = delete;
  CRegistryKey& operator=(const CRegistryKey&) = delete;

  BOOL IsOpen() const { return m_hKey != nullptr; }
  // FALSE without a buffer; otherwise reads the value, TRUE exactly when the read succeeds.
  // `size` is the buffer's size in bytes and receives the size of the data.
  BOOL QueryValue(LPCWSTR name, DWORD* type, LPBYTE buffer, DWORD* size);
  void CloseKey();

 private:
  HKEY m_hKey = nullptr;
};
