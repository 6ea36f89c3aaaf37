// kernel32's lstr family, CompareStringW and user32's wsprintfW. The lstr functions treat null
// pointers as Windows does (a null string is shorter than any other; copies return NULL).
#include <windows.h>

#include <algorithm>
#include <string_view>

#include "kernel/format.h"
#include "kernel/text_compare.h"

namespace {

// wsprintf never writes more than this many characters, terminator included.
constexpr size_t kUserFormatLimit = 1024;

std::u16string_view View(LPCWSTR s) { return s ? std::u16string_view(s) : std::u16string_view(); }

int CompareNullable(LPCWSTR a, LPCWSTR b, int (*compare)(std::u16string_view, std::u16string_view)) {
  if (!a || !b) return a == b ? 0 : a ? 1 : -1;
  return compare(a, b);
}

}  // namespace

int WINAPI lstrlenW(LPCWSTR lpString) { return static_cast<int>(View(lpString).size()); }

LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return nullptr;
  std::u16string_view source(lpString2);
  std::copy(source.begin(), source.end(), lpString1);
  lpString1[source.size()] = 0;
  return lpString1;
}

// Copies at most iMaxLength - 1 characters and always terminates (unless iMaxLength is 0).
LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
  if (!lpString1 || !lpString2) return nullptr;
  if (iMaxLength <= 0) return lpString1;
  int i = 0;
  for (; i < iMaxLength - 1 && lpString2[i]; ++i) lpString1[i] = lpString2[i];
  lpString1[i] = 0;
  return lpString1;
}

LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return nullptr;
  lstrcpyW(lpString1 + lstrlenW(lpString1), lpString2);
  return lpString1;
}

int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return CompareNullable(lpString1, lpString2, sim::CompareLinguistic);
}

int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return CompareNullable(lpString1, lpString2, sim::CompareIgnoreCase);
}

int WINAPI CompareStringW(LCID, DWORD dwCmpFlags, LPCWSTR lpString1, int cchCount1, LPCWSTR lpString2,
                          int cchCount2) {
  if (!lpString1 || !lpString2 || cchCount1 < -1 || cchCount2 < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (dwCmpFlags & ~static_cast<DWORD>(NORM_IGNORECASE)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  std::u16string_view a =
      cchCount1 < 0 ? std::u16string_view(lpString1) : std::u16string_view(lpString1, cchCount1);
  std::u16string_view b =
      cchCount2 < 0 ? std::u16string_view(lpString2) : std::u16string_view(lpString2, cchCount2);
  int r = (dwCmpFlags & NORM_IGNORECASE) ? sim::CompareIgnoreCase(a, b) : sim::CompareLinguistic(a, b);
  return CSTR_EQUAL + r;
}

int WINAPI wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args) {
  if (!buffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string text = sim::FormatWide(sim::FormatDialect::kUser, format, args);
  size_t n = std::min(text.size(), kUserFormatLimit - 1);
  std::copy(text.begin(), text.begin() + n, buffer);
  buffer[n] = 0;
  return static_cast<int>(n);
}

int WINAPIV wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  int n = wvsprintfW(buffer, format, args);
  va_end(args);
  return n;
}
