// shlwapi's string and path helpers on top of the desktop's linguistic comparison.
#include <shlwapi.h>

#include <windows.h>

#include <string_view>

#include "kernel/text_compare.h"

namespace {

int CompareNullable(LPCWSTR a, LPCWSTR b, int (*compare)(std::u16string_view, std::u16string_view)) {
  if (!a || !b) return a == b ? 0 : a ? 1 : -1;
  return compare(a, b);
}

// The first `n` characters of `s`, or fewer when it ends sooner.
std::u16string_view Prefix(LPCWSTR s, size_t n) {
  size_t i = 0;
  while (i < n && s[i]) ++i;
  return std::u16string_view(s, i);
}

bool IsSeparator(WCHAR c) { return c == u'\\' || c == u'/'; }

}  // namespace

int WINAPI StrCmpW(LPCWSTR psz1, LPCWSTR psz2) { return CompareNullable(psz1, psz2, sim::CompareLinguistic); }

int WINAPI StrCmpIW(LPCWSTR psz1, LPCWSTR psz2) {
  return CompareNullable(psz1, psz2, sim::CompareIgnoreCase);
}

// Compares at most nChar characters of each string; a negative count compares them whole.
int WINAPI StrCmpNIW(LPCWSTR psz1, LPCWSTR psz2, int nChar) {
  if (!psz1 || !psz2) return CompareNullable(psz1, psz2, sim::CompareIgnoreCase);
  if (nChar < 0) return sim::CompareIgnoreCase(psz1, psz2);
  return sim::CompareIgnoreCase(Prefix(psz1, nChar), Prefix(psz2, nChar));
}

// An empty search string finds nothing, as in the shell.
PWSTR WINAPI StrStrW(PCWSTR pszFirst, PCWSTR pszSrch) {
  if (!pszFirst || !pszSrch || !*pszSrch) return nullptr;
  std::u16string_view text(pszFirst);
  size_t at = text.find(pszSrch);
  return at == std::u16string_view::npos ? nullptr : const_cast<PWSTR>(pszFirst + at);
}

// Tries each position with a case-insensitive comparison of the search string's length.
PWSTR WINAPI StrStrIW(PCWSTR pszFirst, PCWSTR pszSrch) {
  if (!pszFirst || !pszSrch || !*pszSrch) return nullptr;
  std::u16string_view text(pszFirst);
  std::u16string_view search(pszSrch);
  for (size_t i = 0; i + search.size() <= text.size(); ++i)
    if (sim::CompareIgnoreCase(text.substr(i, search.size()), search) == 0)
      return const_cast<PWSTR>(pszFirst + i);
  return nullptr;
}

PWSTR WINAPI StrChrW(PCWSTR pszStart, WCHAR wMatch) {
  if (!pszStart) return nullptr;
  for (PCWSTR p = pszStart; *p; ++p)
    if (*p == wMatch) return const_cast<PWSTR>(p);
  return nullptr;
}

// Searches [pszStart, pszEnd), or up to the terminator when pszEnd is null.
PWSTR WINAPI StrRChrW(PCWSTR pszStart, PCWSTR pszEnd, WCHAR wMatch) {
  if (!pszStart) return nullptr;
  PCWSTR found = nullptr;
  for (PCWSTR p = pszStart; *p && (!pszEnd || p < pszEnd); ++p)
    if (*p == wMatch) found = p;
  return const_cast<PWSTR>(found);
}

// (optional white space)(optional sign)(decimal digits); parsing stops at the first other
// character. Values beyond int wrap as 32-bit arithmetic does.
int WINAPI StrToIntW(PCWSTR pszSrc) {
  if (!pszSrc) return 0;
  PCWSTR p = pszSrc;
  while (*p == u' ' || *p == u'\t' || *p == u'\n' || *p == u'\r' || *p == u'\v' || *p == u'\f') ++p;
  bool negative = false;
  if (*p == u'-' || *p == u'+') negative = *p++ == u'-';
  uint32_t value = 0;
  for (; *p >= u'0' && *p <= u'9'; ++p) value = value * 10 + static_cast<uint32_t>(*p - u'0');
  return static_cast<int>(negative ? 0u - value : value);
}

// The part after the last separator ('\\', '/' or a drive's ':') that is followed by a name;
// a trailing separator belongs to the last name ("C:\\dir\\" gives "dir\\").
LPWSTR WINAPI PathFindFileNameW(LPCWSTR pszPath) {
  if (!pszPath) return nullptr;
  LPCWSTR name = pszPath;
  for (LPCWSTR p = pszPath; *p; ++p)
    if ((IsSeparator(*p) || *p == u':') && p[1] && !IsSeparator(p[1])) name = p + 1;
  return const_cast<LPWSTR>(name);
}

// Removes the last name and its backslash, keeping a root ("C:\\", "\\", "\\\\") intact.
// TRUE when something was removed.
BOOL WINAPI PathRemoveFileSpecW(LPWSTR pszPath) {
  if (!pszPath || !*pszPath) return FALSE;
  std::u16string_view path(pszPath);
  size_t root_end = 0;  // characters that are never removed
  if (path.size() >= 2 && path[1] == u':') root_end = 2;
  if (path.size() > root_end && path[root_end] == u'\\') {
    ++root_end;
    if (root_end == 1 && path.size() > 1 && path[1] == u'\\') root_end = 2;  // "\\\\server"
  }
  size_t last = path.rfind(u'\\');
  size_t cut = last == std::u16string_view::npos || last < root_end ? root_end : last;
  if (cut >= path.size()) return FALSE;
  pszPath[cut] = 0;
  return TRUE;
}
