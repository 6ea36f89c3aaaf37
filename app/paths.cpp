#include "app/paths.h"

#include <strsafe.h>

WCHAR g_szSettingsPath[MAX_PATH];
WCHAR g_szCustomPath[MAX_PATH];
WCHAR g_szLanguagePath[MAX_PATH];
HANDLE g_hInstanceMutex = nullptr;

BOOL GetExecutableDirectory(LPWSTR dir) {
  dir[0] = 0;
  WCHAR module[MAX_PATH] = {0};
  DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return FALSE;
  LPWSTR lastSlash = nullptr;
  for (LPWSTR p = module; *p; ++p)
    if (*p == '\\') lastSlash = p;
  if (!lastSlash) return FALSE;
  *lastSlash = 0;
  return SUCCEEDED(StringCchCopyW(dir, MAX_PATH, module));
}

BOOL JoinPath(LPWSTR out, size_t capacity, LPCWSTR dir, LPCWSTR name) {
  if (!out || capacity == 0) return FALSE;
  out[0] = 0;
  if (FAILED(StringCchCopyW(out, capacity, dir)) || FAILED(StringCchCatW(out, capacity, name))) {
    out[0] = 0;
    return FALSE;
  }
  return TRUE;
}

BOOL FileBesideExecutable(LPWSTR out, LPCWSTR name) {
  WCHAR dir[MAX_PATH];
  if (!GetExecutableDirectory(dir)) {
    out[0] = 0;
    return FALSE;
  }
  return JoinPath(out, MAX_PATH, dir, name);
}
