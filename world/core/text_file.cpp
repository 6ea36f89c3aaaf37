#include "world/core/text_file.h"

#include "world/core/text.h"

namespace world {

namespace {

// Windows-1252's characters 0x80..0x9F (0 where the code page leaves a byte undefined).
constexpr char16_t kAnsiHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t AnsiToUnicode(unsigned char c) {
  if (c >= 0x80 && c < 0xA0) return kAnsiHigh[c - 0x80] ? kAnsiHigh[c - 0x80] : c;
  return c;
}

std::optional<char> UnicodeToAnsi(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kAnsiHigh[i] == c) return static_cast<char>(0x80 + i);
  return std::nullopt;
}

}  // namespace

bool IsValidUtf8(const std::string& bytes) { return Utf8(Utf16(bytes)) == bytes; }

DecodedText DecodeText(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string wide;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      wide += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                    (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return {TextEncoding::kUtf16LeBom, Utf8(wide)};
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) return {TextEncoding::kUtf8Bom, bytes.substr(3)};
  if (IsValidUtf8(bytes)) return {TextEncoding::kUtf8, bytes};
  std::u16string wide;
  for (unsigned char c : bytes) wide += AnsiToUnicode(c);
  return {TextEncoding::kAnsi, Utf8(wide)};
}

std::optional<std::string> EncodeText(const std::string& utf8, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf8:
      return utf8;
    case TextEncoding::kUtf8Bom:
      return "\xEF\xBB\xBF" + utf8;
    case TextEncoding::kUtf16LeBom: {
      std::string out = "\xFF\xFE";
      for (char16_t c : Utf16(utf8)) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
      }
      return out;
    }
    case TextEncoding::kAnsi: {
      std::string out;
      for (char16_t c : Utf16(utf8)) {
        auto b = UnicodeToAnsi(c);
        if (!b) return std::nullopt;
        out += *b;
      }
      return out;
    }
  }
  return std::nullopt;
}

}  // namespace world
