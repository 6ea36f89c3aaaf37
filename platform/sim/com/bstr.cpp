// BSTR: a 32-bit byte length stored just before the characters, which are followed by a null
// character. The length, not the terminator, says where the string ends, so a BSTR may hold
// embedded nulls.
#include <oleauto.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr size_t kPrefixBytes = sizeof(DWORD);
// Behind the text: a null character, and one byte more so that a string of an odd byte length
// still ends in a whole null character.
constexpr size_t kTrailerBytes = sizeof(OLECHAR) + 1;
// The longest text whose length fits the 32-bit prefix with room for the trailer.
constexpr UINT kMaxBytes = 0xFFFFFFFFu - kPrefixBytes - kTrailerBytes;

BYTE* BlockOf(BSTR bstr) { return reinterpret_cast<BYTE*>(bstr) - kPrefixBytes; }

// Allocates a zero-filled string of `bytes` bytes of text, or returns null.
BSTR AllocateBytes(UINT bytes) {
  if (bytes > kMaxBytes) return nullptr;
  auto* block = static_cast<BYTE*>(std::calloc(kPrefixBytes + bytes + kTrailerBytes, 1));
  if (!block) return nullptr;
  DWORD length = bytes;
  std::memcpy(block, &length, sizeof(length));
  return reinterpret_cast<BSTR>(block + kPrefixBytes);
}

UINT Length(const OLECHAR* psz) { return static_cast<UINT>(std::char_traits<OLECHAR>::length(psz)); }

}  // namespace

BSTR WINAPI SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  return SysAllocStringLen(psz, Length(psz));
}

// A null source gives a string of `ui` characters for the caller to fill; here they are zero.
BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
  if (ui > kMaxBytes / sizeof(OLECHAR)) return nullptr;
  BSTR bstr = AllocateBytes(ui * static_cast<UINT>(sizeof(OLECHAR)));
  if (bstr && strIn) std::memcpy(bstr, strIn, ui * sizeof(OLECHAR));
  return bstr;
}

BSTR WINAPI SysAllocStringByteLen(LPCSTR psz, UINT len) {
  BSTR bstr = AllocateBytes(len);
  if (bstr && psz) std::memcpy(bstr, psz, len);
  return bstr;
}

// The new string is made before the old one is freed, so `psz` may point into *pbstr.
INT WINAPI SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len) {
  if (!pbstr) return FALSE;
  BSTR fresh = SysAllocStringLen(psz, len);
  if (!fresh) return FALSE;
  SysFreeString(*pbstr);
  *pbstr = fresh;
  return TRUE;
}

INT WINAPI SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
  return SysReAllocStringLen(pbstr, psz, psz ? Length(psz) : 0);
}

void WINAPI SysFreeString(BSTR bstrString) {
  if (bstrString) std::free(BlockOf(bstrString));
}

UINT WINAPI SysStringByteLen(BSTR bstr) {
  if (!bstr) return 0;
  DWORD length;
  std::memcpy(&length, BlockOf(bstr), sizeof(length));
  return length;
}

UINT WINAPI SysStringLen(BSTR pbstr) { return SysStringByteLen(pbstr) / sizeof(OLECHAR); }
