#include "app/language_file.h"

#include "app/paths.h"
#include "config/profile.h"

const WCHAR DEFAULT_LANGUAGE[] = TEXT("English");

namespace {

const WCHAR kDefaultLanguageFile[] = TEXT("\\Language\\English.ini");

}  // namespace

BOOL SelectLanguageFile(LPCWSTR language) {
  WCHAR relative[LANGUAGE_VALUE_CHARS + 1] = {0};
  ReadProfileString(TEXT("LanguageFiles"), language, kDefaultLanguageFile, relative, LANGUAGE_VALUE_CHARS + 1,
                    g_szSettingsPath);
  WCHAR dir[MAX_PATH];
  WCHAR path[MAX_PATH];
  if (!GetExecutableDirectory(dir) || !JoinPath(path, MAX_PATH, dir, relative)) return FALSE;
  lstrcpyW(g_szLanguagePath, path);
  return TRUE;
}
