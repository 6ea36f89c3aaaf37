// GUIDs as text in the registry format "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": formatting
// (upper-case hex) and strict parsing (braces required, hex digits in either case).
#include <objbase.h>

#include <cstdint>

namespace {

constexpr char kPattern[] = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
constexpr int kGuidChars = sizeof(kPattern) - 1;  // 38, without the terminator

int HexValue(OLECHAR c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads the string against the pattern and stops at the first character that does not fit;
// every pattern character differs from the terminator, so nothing past it is read.
bool ParseGuid(LPCOLESTR text, GUID* out) {
  uint8_t digits[32];
  int count = 0;
  for (int i = 0; i < kGuidChars; ++i) {
    OLECHAR c = text[i];
    if (kPattern[i] == 'X') {
      int value = HexValue(c);
      if (value < 0) return false;
      digits[count++] = static_cast<uint8_t>(value);
    } else if (c != static_cast<OLECHAR>(kPattern[i])) {
      return false;
    }
  }
  if (text[kGuidChars] != 0) return false;
  auto field = [&](int first, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 4) | digits[first + i];
    return v;
  };
  out->Data1 = field(0, 8);
  out->Data2 = static_cast<WORD>(field(8, 4));
  out->Data3 = static_cast<WORD>(field(12, 4));
  for (int i = 0; i < 8; ++i) out->Data4[i] = static_cast<BYTE>(field(16 + 2 * i, 2));
  return true;
}

// A null string means GUID_NULL; malformed text leaves GUID_NULL in the output as well.
HRESULT GuidFromString(LPCOLESTR text, GUID* out, HRESULT malformed) {
  if (!out) return E_INVALIDARG;
  *out = GUID_NULL;
  if (!text) return S_OK;
  GUID parsed;
  if (!ParseGuid(text, &parsed)) return malformed;
  *out = parsed;
  return S_OK;
}

HRESULT AllocatedString(REFGUID guid, LPOLESTR* out) {
  if (!out) return E_INVALIDARG;
  *out = static_cast<LPOLESTR>(CoTaskMemAlloc((kGuidChars + 1) * sizeof(OLECHAR)));
  if (!*out) return E_OUTOFMEMORY;
  StringFromGUID2(guid, *out, kGuidChars + 1);
  return S_OK;
}

}  // namespace

// Returns the characters written including the terminator, or 0 when the buffer is too small.
int WINAPI StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
  if (!lpsz || cchMax < kGuidChars + 1) return 0;
  static constexpr char kHex[] = "0123456789ABCDEF";
  uint8_t digits[32];
  auto put = [&](int first, int n, uint32_t v) {
    for (int i = n - 1; i >= 0; --i, v >>= 4) digits[first + i] = static_cast<uint8_t>(v & 0xF);
  };
  put(0, 8, rguid.Data1);
  put(8, 4, rguid.Data2);
  put(12, 4, rguid.Data3);
  for (int i = 0; i < 8; ++i) put(16 + 2 * i, 2, rguid.Data4[i]);
  int next = 0;
  for (int i = 0; i < kGuidChars; ++i)
    lpsz[i] =
        kPattern[i] == 'X' ? static_cast<OLECHAR>(kHex[digits[next++]]) : static_cast<OLECHAR>(kPattern[i]);
  lpsz[kGuidChars] = 0;
  return kGuidChars + 1;
}

HRESULT WINAPI StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz) { return AllocatedString(rclsid, lplpsz); }

HRESULT WINAPI StringFromIID(REFIID rclsid, LPOLESTR* lplpsz) { return AllocatedString(rclsid, lplpsz); }

// IIDFromString is documented to fail with the standard E_INVALIDARG (CLSIDFromString has its own
// CO_E_CLASSSTRING).
HRESULT WINAPI IIDFromString(LPCOLESTR lpsz, LPIID lpiid) {
  return GuidFromString(lpsz, lpiid, E_INVALIDARG);
}

HRESULT WINAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
  return GuidFromString(lpsz, pclsid, CO_E_CLASSSTRING);
}
