#include "config/text_encoding.h"

#include <algorithm>
#include <array>

namespace config {
namespace {

constexpr WCHAR kReplacementCharacter = 0xFFFD;

// Characters of the bytes 0x80..0x9F in Windows-1252; the unassigned bytes keep their C1 code.
constexpr std::array<WCHAR, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsContinuation(BYTE b, BYTE low = 0x80, BYTE high = 0xBF) { return b >= low && b <= high; }

// The length of the well-formed UTF-8 sequence at `p` and its code point, or 0 when the bytes
// there do not start one (overlong forms, surrogates and values above U+10FFFF included).
size_t ReadUtf8Sequence(const BYTE* p, size_t remaining, char32_t& code_point) {
  const BYTE lead = p[0];
  if (lead < 0x80) {
    code_point = lead;
    return 1;
  }
  size_t length = 0;
  BYTE second_low = 0x80, second_high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code_point = lead & 0x0F;
    if (lead == 0xE0) second_low = 0xA0;
    if (lead == 0xED) second_high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code_point = lead & 0x07;
    if (lead == 0xF0) second_low = 0x90;
    if (lead == 0xF4) second_high = 0x8F;
  } else {
    return 0;
  }
  if (remaining < length || !IsContinuation(p[1], second_low, second_high)) return 0;
  for (size_t i = 1; i < length; ++i) {
    if (!IsContinuation(p[i])) return 0;
    code_point = (code_point << 6) | (p[i] & 0x3F);
  }
  return length;
}

void AppendCodePoint(char32_t code_point, Text& out) {
  if (code_point < 0x10000) {
    out.push_back(static_cast<WCHAR>(code_point));
  } else {
    code_point -= 0x10000;
    out.push_back(static_cast<WCHAR>(0xD800 + (code_point >> 10)));
    out.push_back(static_cast<WCHAR>(0xDC00 + (code_point & 0x3FF)));
  }
}

Text DecodeUtf8(const BYTE* data, size_t size) {
  Text text;
  text.reserve(size);
  for (size_t i = 0; i < size;) {
    char32_t code_point = 0;
    const size_t length = ReadUtf8Sequence(data + i, size - i, code_point);
    if (length == 0) {
      text.push_back(kReplacementCharacter);
      ++i;
    } else {
      AppendCodePoint(code_point, text);
      i += length;
    }
  }
  return text;
}

Text DecodeUtf16(const BYTE* data, size_t size, bool big_endian) {
  Text text;
  text.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {
    const unsigned high = big_endian ? data[i] : data[i + 1];
    const unsigned low = big_endian ? data[i + 1] : data[i];
    text.push_back(static_cast<WCHAR>((high << 8) | low));
  }
  return text;
}

Text DecodeWindows1252(const BYTE* data, size_t size) {
  Text text;
  text.reserve(size);
  for (size_t i = 0; i < size; ++i) {
    const BYTE b = data[i];
    text.push_back(b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : static_cast<WCHAR>(b));
  }
  return text;
}

bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool EncodeUtf8(const Text& text, Bytes& out) {
  Bytes bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char16_t>(text[i]);
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(static_cast<char16_t>(text[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      return false;
    }
    if (c < 0x80) {
      bytes.push_back(static_cast<BYTE>(c));
    } else if (c < 0x800) {
      bytes.push_back(static_cast<BYTE>(0xC0 | (c >> 6)));
      bytes.push_back(static_cast<BYTE>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      bytes.push_back(static_cast<BYTE>(0xE0 | (c >> 12)));
      bytes.push_back(static_cast<BYTE>(0x80 | ((c >> 6) & 0x3F)));
      bytes.push_back(static_cast<BYTE>(0x80 | (c & 0x3F)));
    } else {
      bytes.push_back(static_cast<BYTE>(0xF0 | (c >> 18)));
      bytes.push_back(static_cast<BYTE>(0x80 | ((c >> 12) & 0x3F)));
      bytes.push_back(static_cast<BYTE>(0x80 | ((c >> 6) & 0x3F)));
      bytes.push_back(static_cast<BYTE>(0x80 | (c & 0x3F)));
    }
  }
  out.insert(out.end(), bytes.begin(), bytes.end());
  return true;
}

void EncodeUtf16(const Text& text, bool big_endian, Bytes& out) {
  out.reserve(out.size() + text.size() * 2);
  for (WCHAR unit : text) {
    const auto value = static_cast<char16_t>(unit);
    const auto high = static_cast<BYTE>(value >> 8);
    const auto low = static_cast<BYTE>(value & 0xFF);
    out.push_back(big_endian ? high : low);
    out.push_back(big_endian ? low : high);
  }
}

bool EncodeWindows1252(const Text& text, Bytes& out) {
  Bytes bytes;
  bytes.reserve(text.size());
  for (WCHAR unit : text) {
    const auto c = static_cast<char16_t>(unit);
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      bytes.push_back(static_cast<BYTE>(c));
      continue;
    }
    const auto found = std::find(kWindows1252High.begin(), kWindows1252High.end(), c);
    if (found == kWindows1252High.end()) return false;
    bytes.push_back(static_cast<BYTE>(0x80 + (found - kWindows1252High.begin())));
  }
  out.insert(out.end(), bytes.begin(), bytes.end());
  return true;
}

bool StartsWith(const BYTE* data, size_t size, const Bytes& prefix) {
  return size >= prefix.size() && std::equal(prefix.begin(), prefix.end(), data);
}

}  // namespace

bool IsValidUtf8(const BYTE* data, size_t size) {
  for (size_t i = 0; i < size;) {
    char32_t code_point = 0;
    const size_t length = ReadUtf8Sequence(data + i, size - i, code_point);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

Bytes ByteOrderMark(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf8Bom:
      return {0xEF, 0xBB, 0xBF};
    case TextEncoding::kUtf16Le:
      return {0xFF, 0xFE};
    case TextEncoding::kUtf16Be:
      return {0xFE, 0xFF};
    case TextEncoding::kUtf8:
    case TextEncoding::kWindows1252:
      break;
  }
  return {};
}

size_t CodeUnitSize(TextEncoding encoding) {
  return encoding == TextEncoding::kUtf16Le || encoding == TextEncoding::kUtf16Be ? 2 : 1;
}

TextEncoding DetectEncoding(const BYTE* data, size_t size) {
  for (TextEncoding marked : {TextEncoding::kUtf8Bom, TextEncoding::kUtf16Le, TextEncoding::kUtf16Be}) {
    if (StartsWith(data, size, ByteOrderMark(marked))) return marked;
  }
  return IsValidUtf8(data, size) ? TextEncoding::kUtf8 : TextEncoding::kWindows1252;
}

Text Decode(TextEncoding encoding, const BYTE* data, size_t size) {
  switch (encoding) {
    case TextEncoding::kUtf8:
    case TextEncoding::kUtf8Bom:
      return DecodeUtf8(data, size);
    case TextEncoding::kUtf16Le:
      return DecodeUtf16(data, size, false);
    case TextEncoding::kUtf16Be:
      return DecodeUtf16(data, size, true);
    case TextEncoding::kWindows1252:
      return DecodeWindows1252(data, size);
  }
  return {};
}

bool Encode(TextEncoding encoding, const Text& text, Bytes& out) {
  switch (encoding) {
    case TextEncoding::kUtf8:
    case TextEncoding::kUtf8Bom:
      return EncodeUtf8(text, out);
    case TextEncoding::kUtf16Le:
      EncodeUtf16(text, false, out);
      return true;
    case TextEncoding::kUtf16Be:
      EncodeUtf16(text, true, out);
      return true;
    case TextEncoding::kWindows1252:
      return EncodeWindows1252(text, out);
  }
  return false;
}

}  // namespace config
