// The strsafe functions. They share one rule for output: whatever is written is terminated
// inside the destination, and a result that did not fit is cut to cchDest - 1 characters.
#include <strsafe.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "kernel/format.h"

namespace {

bool ValidDestination(LPWSTR dest, size_t cch) { return dest && cch > 0 && cch <= STRSAFE_MAX_CCH; }

// The failure for a bad size or pointer: a usable destination is left holding an empty string.
HRESULT InvalidParameter(LPWSTR dest, size_t cch) {
  if (dest && cch > 0 && cch <= STRSAFE_MAX_CCH) dest[0] = 0;
  return STRSAFE_E_INVALID_PARAMETER;
}

// Copies `text` into dest (cch > 0), cutting it when needed.
HRESULT Store(LPWSTR dest, size_t cch, std::u16string_view text) {
  if (text.size() < cch) {
    std::copy(text.begin(), text.end(), dest);
    dest[text.size()] = 0;
    return S_OK;
  }
  std::copy(text.begin(), text.begin() + (cch - 1), dest);
  dest[cch - 1] = 0;
  return STRSAFE_E_INSUFFICIENT_BUFFER;
}

// The length of a string of at most `max` characters, or npos when it is not terminated by then.
size_t BoundedLength(LPCWSTR s, size_t max) {
  for (size_t i = 0; i < max; ++i)
    if (!s[i]) return i;
  return std::u16string_view::npos;
}

HRESULT PrintV(LPWSTR dest, size_t cch, LPCWSTR format, va_list args) {
  if (!ValidDestination(dest, cch) || !format) return InvalidParameter(dest, cch);
  return Store(dest, cch, sim::FormatWide(sim::FormatDialect::kCrt, format, args));
}

}  // namespace

HRESULT StringCchCopyW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszSrc) {
  if (!ValidDestination(pszDest, cchDest) || !pszSrc) return InvalidParameter(pszDest, cchDest);
  size_t n = BoundedLength(pszSrc, cchDest);
  if (n == std::u16string_view::npos) n = cchDest;  // longer than the destination: cut
  return Store(pszDest, cchDest, std::u16string_view(pszSrc, n));
}

HRESULT StringCchCopyNW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszSrc, size_t cchToCopy) {
  if (!ValidDestination(pszDest, cchDest) || !pszSrc || cchToCopy > STRSAFE_MAX_CCH)
    return InvalidParameter(pszDest, cchDest);
  size_t limit = std::min(cchToCopy, cchDest);
  size_t n = BoundedLength(pszSrc, limit);
  if (n == std::u16string_view::npos) n = limit;
  return Store(pszDest, cchDest, std::u16string_view(pszSrc, n));
}

HRESULT StringCchCatW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszSrc) {
  if (!ValidDestination(pszDest, cchDest) || !pszSrc) return STRSAFE_E_INVALID_PARAMETER;
  size_t used = BoundedLength(pszDest, cchDest);
  if (used == std::u16string_view::npos) return STRSAFE_E_INVALID_PARAMETER;  // destination not terminated
  return StringCchCopyW(pszDest + used, cchDest - used, pszSrc);
}

HRESULT StringCchLengthW(LPCWSTR psz, size_t cchMax, size_t* pcchLength) {
  size_t n = psz && cchMax <= STRSAFE_MAX_CCH ? BoundedLength(psz, cchMax) : std::u16string_view::npos;
  if (n == std::u16string_view::npos) {
    if (pcchLength) *pcchLength = 0;
    return STRSAFE_E_INVALID_PARAMETER;
  }
  if (pcchLength) *pcchLength = n;
  return S_OK;
}

HRESULT StringCchVPrintfW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszFormat, va_list argList) {
  return PrintV(pszDest, cchDest, pszFormat, argList);
}

HRESULT StringCchPrintfW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  HRESULT hr = PrintV(pszDest, cchDest, pszFormat, args);
  va_end(args);
  return hr;
}

HRESULT StringCbCopyW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszSrc) {
  return StringCchCopyW(pszDest, cbDest / sizeof(WCHAR), pszSrc);
}

HRESULT StringCbCatW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszSrc) {
  return StringCchCatW(pszDest, cbDest / sizeof(WCHAR), pszSrc);
}

HRESULT StringCbVPrintfW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszFormat, va_list argList) {
  return PrintV(pszDest, cbDest / sizeof(WCHAR), pszFormat, argList);
}

HRESULT StringCbPrintfW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  HRESULT hr = PrintV(pszDest, cbDest / sizeof(WCHAR), pszFormat, args);
  va_end(args);
  return hr;
}
