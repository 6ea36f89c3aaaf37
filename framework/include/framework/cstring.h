// CString: the framework's UTF-16 string, a thin value type over std::basic_string<WCHAR> with
// the familiar member names. Indexes and lengths are in WCHAR units; out-of-range positions are
// clamped rather than trusted, so no member reads or writes outside the text.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdarg>
#include <string>
#include <type_traits>

class CString {
 public:
  using string_type = std::basic_string<WCHAR>;

  CString() = default;
  // A null pointer gives an empty string. A pointer that is really a resource id
  // (MAKEINTRESOURCE) loads that string from the string table, as the conventional class does.
  CString(LPCWSTR psz);  // NOLINT(google-explicit-constructor): the conventional implicit conversion
  CString(LPCWSTR pch, int nLength);
  explicit CString(WCHAR ch, int nRepeat = 1);
  CString(const string_type& s) : m_str(s) {}  // NOLINT(google-explicit-constructor)
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(LPCWSTR psz);
  CString& operator=(WCHAR ch);

  operator LPCWSTR() const { return m_str.c_str(); }  // NOLINT(google-explicit-constructor)
  LPCWSTR GetString() const { return m_str.c_str(); }
  const string_type& str() const { return m_str; }

  int GetLength() const { return static_cast<int>(m_str.size()); }
  BOOL IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  // The character at nIndex, or 0 when nIndex is outside the text.
  WCHAR GetAt(int nIndex) const;
  void SetAt(int nIndex, WCHAR ch);
  WCHAR operator[](int nIndex) const { return GetAt(nIndex); }

  CString& operator+=(const CString& s);
  CString& operator+=(LPCWSTR psz);
  CString& operator+=(WCHAR ch);

  // lstrcmp-style results: negative, zero or positive.
  int Compare(LPCWSTR psz) const;
  int CompareNoCase(LPCWSTR psz) const;

  CString Left(int nCount) const;
  CString Mid(int iFirst) const;
  CString Mid(int iFirst, int nCount) const;
  CString Right(int nCount) const;

  // Position of the first match at or after iStart, or -1.
  int Find(WCHAR ch, int iStart = 0) const;
  int Find(LPCWSTR pszSub, int iStart = 0) const;
  int ReverseFind(WCHAR ch) const;

  // Editing members return the new length (Replace: the number of replacements).
  int Delete(int iIndex, int nCount = 1);
  int Insert(int iIndex, WCHAR ch);
  int Insert(int iIndex, LPCWSTR psz);
  int Replace(WCHAR chOld, WCHAR chNew);
  int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
  int Remove(WCHAR ch);

  // Without an argument these remove white space (space, tab, CR, LF, VT, FF).
  CString& TrimLeft();
  CString& TrimLeft(WCHAR ch);
  CString& TrimLeft(LPCWSTR pszTargets);
  CString& TrimRight();
  CString& TrimRight(WCHAR ch);
  CString& TrimRight(LPCWSTR pszTargets);
  CString& Trim();
  CString& Trim(WCHAR ch);
  CString& Trim(LPCWSTR pszTargets);

  // Case mapping covers the ASCII letters only; other characters are left as they are.
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // printf-style formatting (StringCchVPrintfW); the buffer grows until the text fits. A CString
  // argument is passed as its text, so "%s" takes CStrings as well as LPCWSTRs; arguments that
  // a C variable argument list cannot carry are refused at compile time.
  template <typename... Args>
  void Format(LPCWSTR pszFormat, const Args&... args) {
    FormatArgs(pszFormat, AsFormatArgument(args)...);
  }
  template <typename... Args>
  void AppendFormat(LPCWSTR pszFormat, const Args&... args) {
    AppendFormatArgs(pszFormat, AsFormatArgument(args)...);
  }
  void FormatV(LPCWSTR pszFormat, va_list args);
  // Loads a string of the resource table; FALSE (and the string unchanged) when there is none.
  BOOL LoadString(UINT nID);

  // Direct buffer access: GetBuffer(n) gives room for at least n characters plus a terminator;
  // ReleaseBuffer(-1) takes the length up to the first terminator within that room.
  LPWSTR GetBuffer(int nMinBufferLength = 0);
  LPWSTR GetBufferSetLength(int nLength);
  void ReleaseBuffer(int nNewLength = -1);

  // A new BSTR with a copy of the text; the caller frees it with SysFreeString.
  BSTR AllocSysString() const;

 private:
  template <typename T>
  static auto AsFormatArgument(const T& value) {
    if constexpr (std::is_same_v<T, CString>) {
      return value.GetString();
    } else if constexpr (std::is_array_v<T>) {
      return static_cast<const std::remove_extent_t<T>*>(value);
    } else {
      static_assert(std::is_trivially_copyable_v<T>, "pass text as LPCWSTR or CString");
      return value;
    }
  }
  void FormatArgs(LPCWSTR pszFormat, ...);
  void AppendFormatArgs(LPCWSTR pszFormat, ...);
  CString& TrimLeftWhere(const string_type& set);
  CString& TrimRightWhere(const string_type& set);

  string_type m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCWSTR b);
CString operator+(LPCWSTR a, const CString& b);
CString operator+(const CString& a, WCHAR b);
CString operator+(WCHAR a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCWSTR b);
bool operator==(LPCWSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCWSTR b);
bool operator!=(LPCWSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCWSTR b);
bool operator<(LPCWSTR a, const CString& b);
