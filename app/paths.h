// The paths of the files beside the executable. Each is the executable's directory (its module
// path cut at the last backslash, without a trailing separator) followed by a name that begins
// with a backslash, in a buffer of MAX_PATH characters.
#pragma once

#include <windows.h>

extern WCHAR g_szSettingsPath[MAX_PATH];  // "\Tellbud.ini"
extern WCHAR g_szCustomPath[MAX_PATH];    // "\Custom.ini"
extern WCHAR g_szLanguagePath[MAX_PATH];  // the language file named in the settings file
extern HANDLE g_hInstanceMutex;

// The executable's directory into `dir` (MAX_PATH characters). FALSE, with `dir` empty, when the
// module path does not fit in MAX_PATH characters or has no backslash.
BOOL GetExecutableDirectory(LPWSTR dir);

// `dir` followed by `name` into `out` (capacity characters, terminator included). FALSE, with
// `out` empty, when the result would not fit: a path is never cut, so no other file is touched.
BOOL JoinPath(LPWSTR out, size_t capacity, LPCWSTR dir, LPCWSTR name);

// A file beside the executable, e.g. FileBesideExecutable(out, TEXT("\\ok.ico")).
BOOL FileBesideExecutable(LPWSTR out, LPCWSTR name);
