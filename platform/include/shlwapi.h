// The shell's lightweight string and path helpers. The comparisons are linguistic, as the shell's
// are (StrCmpIW equals CompareString with NORM_IGNORECASE), and return -1, 0 or 1.
#pragma once

#include <windef.h>
#include <winerror.h>

int WINAPI StrCmpW(LPCWSTR psz1, LPCWSTR psz2);
int WINAPI StrCmpIW(LPCWSTR psz1, LPCWSTR psz2);
int WINAPI StrCmpNIW(LPCWSTR psz1, LPCWSTR psz2, int nChar);
PWSTR WINAPI StrStrW(PCWSTR pszFirst, PCWSTR pszSrch);
PWSTR WINAPI StrStrIW(PCWSTR pszFirst, PCWSTR pszSrch);
PWSTR WINAPI StrChrW(PCWSTR pszStart, WCHAR wMatch);
PWSTR WINAPI StrRChrW(PCWSTR pszStart, PCWSTR pszEnd, WCHAR wMatch);
int WINAPI StrToIntW(PCWSTR pszSrc);
LPWSTR WINAPI PathFindFileNameW(LPCWSTR pszPath);
BOOL WINAPI PathRemoveFileSpecW(LPWSTR pszPath);
