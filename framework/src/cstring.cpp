#include <framework/cstring.h>

#include <framework/resources.h>

#include <shlwapi.h>
#include <strsafe.h>

#include <algorithm>
#include <vector>

namespace {

using string_type = CString::string_type;

const WCHAR kWhiteSpace[] = TEXT(" \t\r\n\v\f");

// Clamps a caller's position or count into [0, limit].
size_t Clamp(int value, size_t limit) {
  if (value <= 0) return 0;
  return std::min(static_cast<size_t>(value), limit);
}

string_type FromPointer(LPCWSTR psz) { return psz ? string_type(psz) : string_type(); }

int Sign(int v) { return (v > 0) - (v < 0); }

WCHAR AsciiUpper(WCHAR c) { return (c >= 'a' && c <= 'z') ? static_cast<WCHAR>(c - 'a' + 'A') : c; }
WCHAR AsciiLower(WCHAR c) { return (c >= 'A' && c <= 'Z') ? static_cast<WCHAR>(c - 'A' + 'a') : c; }

// Formats into a buffer that doubles until StringCchVPrintfW no longer reports truncation.
string_type FormatToString(LPCWSTR format, va_list args) {
  if (!format) return string_type();
  constexpr size_t kLargest = size_t{1} << 30;
  std::vector<WCHAR> buffer(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    HRESULT hr = StringCchVPrintfW(buffer.data(), buffer.size(), format, copy);
    va_end(copy);
    if (hr != STRSAFE_E_INSUFFICIENT_BUFFER || buffer.size() >= kLargest) break;
    buffer.assign(buffer.size() * 2, 0);
  }
  buffer.back() = 0;
  return string_type(buffer.data());
}

}  // namespace

CString::CString(LPCWSTR psz) {
  if (psz && IS_INTRESOURCE(psz)) {
    LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(psz)));
  } else {
    m_str = FromPointer(psz);
  }
}

CString::CString(LPCWSTR pch, int nLength) {
  if (pch && nLength > 0) m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(WCHAR ch, int nRepeat) {
  if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCWSTR psz) {
  *this = CString(psz);
  return *this;
}

CString& CString::operator=(WCHAR ch) {
  m_str.assign(1, ch);
  return *this;
}

WCHAR CString::GetAt(int nIndex) const {
  return nIndex >= 0 && static_cast<size_t>(nIndex) < m_str.size() ? m_str[static_cast<size_t>(nIndex)] : 0;
}

void CString::SetAt(int nIndex, WCHAR ch) {
  if (nIndex >= 0 && static_cast<size_t>(nIndex) < m_str.size()) m_str[static_cast<size_t>(nIndex)] = ch;
}

CString& CString::operator+=(const CString& s) {
  m_str += s.m_str;
  return *this;
}

CString& CString::operator+=(LPCWSTR psz) {
  if (psz) m_str += psz;
  return *this;
}

CString& CString::operator+=(WCHAR ch) {
  m_str += ch;
  return *this;
}

int CString::Compare(LPCWSTR psz) const { return Sign(m_str.compare(FromPointer(psz))); }

int CString::CompareNoCase(LPCWSTR psz) const { return Sign(StrCmpIW(m_str.c_str(), psz ? psz : TEXT(""))); }

CString CString::Left(int nCount) const { return CString(m_str.substr(0, Clamp(nCount, m_str.size()))); }

CString CString::Mid(int iFirst) const { return CString(m_str.substr(Clamp(iFirst, m_str.size()))); }

CString CString::Mid(int iFirst, int nCount) const {
  size_t first = Clamp(iFirst, m_str.size());
  return CString(m_str.substr(first, Clamp(nCount, m_str.size() - first)));
}

CString CString::Right(int nCount) const {
  size_t n = Clamp(nCount, m_str.size());
  return CString(m_str.substr(m_str.size() - n));
}

int CString::Find(WCHAR ch, int iStart) const {
  if (iStart < 0 || static_cast<size_t>(iStart) > m_str.size()) return -1;
  size_t pos = m_str.find(ch, static_cast<size_t>(iStart));
  return pos == string_type::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR pszSub, int iStart) const {
  if (!pszSub || iStart < 0 || static_cast<size_t>(iStart) > m_str.size()) return -1;
  size_t pos = m_str.find(pszSub, static_cast<size_t>(iStart));
  return pos == string_type::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(WCHAR ch) const {
  size_t pos = m_str.rfind(ch);
  return pos == string_type::npos ? -1 : static_cast<int>(pos);
}

int CString::Delete(int iIndex, int nCount) {
  size_t first = Clamp(iIndex, m_str.size());
  m_str.erase(first, Clamp(nCount, m_str.size() - first));
  return GetLength();
}

int CString::Insert(int iIndex, WCHAR ch) {
  m_str.insert(Clamp(iIndex, m_str.size()), 1, ch);
  return GetLength();
}

int CString::Insert(int iIndex, LPCWSTR psz) {
  if (psz) m_str.insert(Clamp(iIndex, m_str.size()), psz);
  return GetLength();
}

int CString::Replace(WCHAR chOld, WCHAR chNew) {
  int count = 0;
  for (WCHAR& c : m_str) {
    if (c == chOld) {
      c = chNew;
      ++count;
    }
  }
  return count;
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew) {
  if (!pszOld || !*pszOld) return 0;
  const string_type from(pszOld);
  const string_type to = FromPointer(pszNew);
  int count = 0;
  for (size_t pos = m_str.find(from); pos != string_type::npos; pos = m_str.find(from, pos + to.size())) {
    m_str.replace(pos, from.size(), to);
    ++count;
  }
  return count;
}

int CString::Remove(WCHAR ch) {
  size_t before = m_str.size();
  m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
  return static_cast<int>(before - m_str.size());
}

CString& CString::TrimLeftWhere(const string_type& set) {
  m_str.erase(0, std::min(m_str.find_first_not_of(set), m_str.size()));
  return *this;
}

CString& CString::TrimRightWhere(const string_type& set) {
  size_t last = m_str.find_last_not_of(set);
  m_str.erase(last == string_type::npos ? 0 : last + 1);
  return *this;
}

CString& CString::TrimLeft() { return TrimLeftWhere(kWhiteSpace); }
CString& CString::TrimLeft(WCHAR ch) { return TrimLeftWhere(string_type(1, ch)); }
CString& CString::TrimLeft(LPCWSTR pszTargets) { return TrimLeftWhere(FromPointer(pszTargets)); }
CString& CString::TrimRight() { return TrimRightWhere(kWhiteSpace); }
CString& CString::TrimRight(WCHAR ch) { return TrimRightWhere(string_type(1, ch)); }
CString& CString::TrimRight(LPCWSTR pszTargets) { return TrimRightWhere(FromPointer(pszTargets)); }
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(WCHAR ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(LPCWSTR pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }

CString& CString::MakeUpper() {
  std::transform(m_str.begin(), m_str.end(), m_str.begin(), AsciiUpper);
  return *this;
}

CString& CString::MakeLower() {
  std::transform(m_str.begin(), m_str.end(), m_str.begin(), AsciiLower);
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(m_str.begin(), m_str.end());
  return *this;
}

void CString::FormatArgs(LPCWSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  FormatV(pszFormat, args);
  va_end(args);
}

void CString::FormatV(LPCWSTR pszFormat, va_list args) { m_str = FormatToString(pszFormat, args); }

void CString::AppendFormatArgs(LPCWSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  m_str += FormatToString(pszFormat, args);
  va_end(args);
}

BOOL CString::LoadString(UINT nID) {
  const CStringResource* found = AfxFindStringResource(nID);
  if (!found) return FALSE;
  m_str = FromPointer(found->text);
  return TRUE;
}

LPWSTR CString::GetBuffer(int nMinBufferLength) {
  if (nMinBufferLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufferLength));
  return m_str.data();
}

LPWSTR CString::GetBufferSetLength(int nLength) {
  m_str.resize(Clamp(nLength, static_cast<size_t>(-1) / 2));
  return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0) {
    m_str.resize(std::min(m_str.find(WCHAR(0)), m_str.size()));
  } else {
    m_str.resize(Clamp(nNewLength, m_str.size()));
  }
}

BSTR CString::AllocSysString() const {
  return SysAllocStringLen(m_str.c_str(), static_cast<UINT>(m_str.size()));
}

CString operator+(const CString& a, const CString& b) { return CString(a.str() + b.str()); }
CString operator+(const CString& a, LPCWSTR b) { return CString(a) += b; }
CString operator+(LPCWSTR a, const CString& b) { return CString(a) += b; }
CString operator+(const CString& a, WCHAR b) { return CString(a) += b; }
CString operator+(WCHAR a, const CString& b) { return CString(a) += b; }

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCWSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }
bool operator!=(LPCWSTR a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }
bool operator<(const CString& a, LPCWSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCWSTR a, const CString& b) { return b.Compare(a) > 0; }
