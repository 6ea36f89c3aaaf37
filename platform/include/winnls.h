// National language support: the locale constants and the linguistic string comparison that
// lstrcmp(i)W and the shell's StrCmp functions are defined by.
#pragma once

#include <windef.h>
#include <winerror.h>

#define CP_ACP 0
#define CP_UTF8 65001

#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_INVARIANT 0x007F

#define NORM_IGNORECASE 0x00000001

#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3

// Compares two strings for people; a length of -1 means "up to the terminator". Returns one of
// the CSTR_ values, or 0 with ERROR_INVALID_PARAMETER / ERROR_INVALID_FLAGS.
int WINAPI CompareStringW(LCID Locale, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                          int cchCount2);
