#include "app/tellbud_app.h"

#include <windows.h>
#include <ole2.h>
#include <shlwapi.h>

#include "app/language_file.h"
#include "app/paths.h"
#include "config/profile.h"
#include "res/tellbud_resources.h"
#include "ui/tellbud_dlg.h"

CTellbudApp theApp;

namespace {

// A second start with the exit marker asks the running instance to end.
void RequestRunningInstanceExit() {
  HWND running = FindWindowW(nullptr, TELLBUD_INSTANCE_NAME);
  if (running) PostMessageW(running, WM_QUIT, 0, 0);
}

void ShowRunningInstance() {
  HWND running = FindWindowW(nullptr, TELLBUD_INSTANCE_NAME);
  if (running) {
    ShowWindow(running, SW_SHOW);
    SetForegroundWindow(running);
  }
}

// Opens the custom file for appending, which creates it when missing and leaves an existing
// one untouched, and closes it again.
void EnsureCustomFileExists() {
  HANDLE file = CreateFileW(g_szCustomPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// The three INI paths; FALSE when the executable's directory leaves no room for them.
BOOL ResolvePaths() {
  WCHAR dir[MAX_PATH];
  if (!GetExecutableDirectory(dir)) return FALSE;
  if (!JoinPath(g_szSettingsPath, MAX_PATH, dir, TEXT("\\Tellbud.ini")) ||
      !JoinPath(g_szCustomPath, MAX_PATH, dir, TEXT("\\Custom.ini")))
    return FALSE;
  EnsureCustomFileExists();
  WCHAR language[LANGUAGE_VALUE_CHARS + 1] = {0};
  ReadProfileString(TEXT("LanguageType"), TEXT("0"), DEFAULT_LANGUAGE, language, LANGUAGE_VALUE_CHARS + 1,
                    g_szSettingsPath);
  g_szLanguagePath[0] = 0;
  return SelectLanguageFile(language);
}

}  // namespace

BOOL CTellbudApp::InitInstance() {
  AfxSetResourceTable(TellbudResources());
  AfxEnableControlContainer();

  if (StrStrW(GetCommandLineW(), TELLBUD_EXIT_MARKER)) {
    RequestRunningInstanceExit();
    return FALSE;
  }

  g_hInstanceMutex = CreateMutexW(nullptr, FALSE, TELLBUD_INSTANCE_NAME);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    ShowRunningInstance();
    return FALSE;
  }

  if (FAILED(CoInitialize(nullptr))) return FALSE;
  if (ResolvePaths()) {
    CTellbudDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
  } else {
    OutputDebugStringW(TEXT("Tellbud: the executable's folder path is too long\n"));
  }
  CoUninitialize();
  return FALSE;
}
