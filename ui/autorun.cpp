// Start with Windows: a copy of the shortcut "Tellbud.lnk" from beside the executable in the
// user's Startup folder. Whether it is on is derived from the copy's presence when the main
// window opens, then kept in m_bAutoRun.
#include "ui/tellbud_dlg.h"

#include "app/paths.h"
#include "ui/registry_key.h"

namespace {

const WCHAR kShellFoldersKey[] =
    TEXT("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
const WCHAR kShortcutName[] = TEXT("\\Tellbud.lnk");
const size_t kSourceCapacity = 256;

// The path of the shortcut's copy in the Startup folder. FALSE when the folder is not known
// (the value is missing, empty, not text or too long): then nothing is read, copied or deleted,
// rather than a shortcut at the root of the drive or under a name made of a number's bytes.
BOOL FindLinkPath(WCHAR (&link)[MAX_PATH]) {
  link[0] = 0;
  CRegistryKey key(HKEY_CURRENT_USER, kShellFoldersKey);
  WCHAR folder[MAX_PATH];
  ZeroMemory(folder, sizeof folder);
  DWORD type = 0;
  DWORD size = sizeof folder;
  BOOL read = key.QueryValue(TEXT("StartUp"), &type, reinterpret_cast<LPBYTE>(folder), &size);
  key.CloseKey();
  if (!read || (type != REG_SZ && type != REG_EXPAND_SZ)) return FALSE;
  // A value that fills the whole buffer has no room for its terminator: not usable.
  if (folder[0] == 0 || folder[MAX_PATH - 1] != 0) return FALSE;
  return JoinPath(link, MAX_PATH, folder, kShortcutName);
}

BOOL FileExists(LPCWSTR path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FALSE;
  CloseHandle(file);
  return TRUE;
}

}  // namespace

void CTellbudDlg::DetectAutoRun() {
  WCHAR link[MAX_PATH];
  m_bAutoRun = FindLinkPath(link) && FileExists(link);
}

// The flag follows the command, whatever happens to the file.
void CTellbudDlg::ToggleAutoRun() {
  m_bAutoRun = !m_bAutoRun;
  WCHAR link[MAX_PATH];
  if (!FindLinkPath(link)) return;
  if (m_bAutoRun) {
    WCHAR dir[MAX_PATH];
    WCHAR source[kSourceCapacity];
    if (GetExecutableDirectory(dir) && JoinPath(source, kSourceCapacity, dir, kShortcutName))
      CopyFileW(source, link, TRUE);
  } else {
    DeleteFileW(link);
  }
}
