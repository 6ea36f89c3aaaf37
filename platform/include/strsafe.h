// Bounded string functions of the Windows SDK: every function takes the destination's size and
// never writes past it; text that does not fit is cut, terminated, and reported with
// STRSAFE_E_INSUFFICIENT_BUFFER.
#pragma once

#include <cstdarg>
#include <cstddef>

#include <windef.h>
#include <winerror.h>

#define STRSAFE_MAX_CCH 2147483647

HRESULT StringCchCopyW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszSrc);
HRESULT StringCchCopyNW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszSrc, size_t cchToCopy);
HRESULT StringCchCatW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszSrc);
HRESULT StringCchLengthW(LPCWSTR psz, size_t cchMax, size_t* pcchLength);
HRESULT StringCchPrintfW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszFormat, ...);
HRESULT StringCchVPrintfW(LPWSTR pszDest, size_t cchDest, LPCWSTR pszFormat, va_list argList);

HRESULT StringCbCopyW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszSrc);
HRESULT StringCbCatW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszSrc);
HRESULT StringCbPrintfW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszFormat, ...);
HRESULT StringCbVPrintfW(LPWSTR pszDest, size_t cbDest, LPCWSTR pszFormat, va_list argList);
