// Parses each conversion into a Spec, reads its argument with the width Windows gives it (long
// is 32 bits), and renders it. Floating point is rendered by the C library so that %f and friends
// mean exactly what they mean there.
#include "kernel/format.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "kernel/codepage.h"

namespace sim {

namespace {

enum class Size { kDefault, kChar, kShort, kLong, kLongLong, kPointerSized, kLongDouble, kWide };

struct Spec {
  bool left = false;
  bool alternate = false;
  bool zero = false;
  bool plus = false;
  bool space = false;
  int width = 0;
  int precision = -1;  // -1: not given
  Size size = Size::kDefault;
  char16_t type = 0;
};

class Formatter {
 public:
  Formatter(FormatDialect dialect, va_list args) : dialect_(dialect) { va_copy(args_, args); }
  ~Formatter() { va_end(args_); }
  Formatter(const Formatter&) = delete;
  Formatter& operator=(const Formatter&) = delete;

  std::u16string Run(const char16_t* format) {
    const char16_t* p = format;
    while (*p) {
      if (*p != u'%') {
        out_ += *p++;
        continue;
      }
      ++p;
      if (!*p) break;
      Spec spec;
      p = ParseSpec(p, spec);
      if (!*p) break;
      spec.type = *p++;
      Convert(spec);
    }
    return std::move(out_);
  }

 private:
  bool Crt() const { return dialect_ == FormatDialect::kCrt; }

  const char16_t* ParseSpec(const char16_t* p, Spec& spec) {
    for (;; ++p) {
      if (*p == u'-') {
        spec.left = true;
      } else if (*p == u'#') {
        spec.alternate = true;
      } else if (*p == u'0') {
        spec.zero = true;
      } else if (Crt() && *p == u'+') {
        spec.plus = true;
      } else if (Crt() && *p == u' ') {
        spec.space = true;
      } else {
        break;
      }
    }
    if (Crt() && *p == u'*') {
      spec.width = va_arg(args_, int);
      if (spec.width < 0) {
        spec.left = true;
        spec.width = -spec.width;
      }
      ++p;
    } else {
      p = ParseNumber(p, spec.width);
    }
    if (*p == u'.') {
      ++p;
      spec.precision = 0;
      if (Crt() && *p == u'*') {
        spec.precision = va_arg(args_, int);
        if (spec.precision < 0) spec.precision = -1;
        ++p;
      } else {
        p = ParseNumber(p, spec.precision);
      }
    }
    return ParseSize(p, spec);
  }

  static const char16_t* ParseNumber(const char16_t* p, int& value) {
    value = 0;
    while (*p >= u'0' && *p <= u'9') {
      if (value < 100000) value = value * 10 + (*p - u'0');  // absurd widths are capped, not overflowed
      ++p;
    }
    return p;
  }

  const char16_t* ParseSize(const char16_t* p, Spec& spec) {
    std::u16string_view rest(p);
    if (rest.starts_with(u"I64")) {
      spec.size = Size::kLongLong;
      return p + 3;
    }
    if (rest.starts_with(u"I32")) {
      spec.size = Size::kDefault;
      return p + 3;
    }
    switch (*p) {
      case u'h':
        if (Crt() && p[1] == u'h') {
          spec.size = Size::kChar;
          return p + 2;
        }
        spec.size = Size::kShort;
        return p + 1;
      case u'l':
        if (Crt() && p[1] == u'l') {
          spec.size = Size::kLongLong;
          return p + 2;
        }
        spec.size = Size::kLong;
        return p + 1;
      case u'w':
        spec.size = Size::kWide;
        return p + 1;
      case u'I':
        spec.size = Size::kPointerSized;
        return p + 1;
      case u'z':
      case u'j':
      case u't':
        if (!Crt()) return p;
        spec.size = *p == u'j' ? Size::kLongLong : Size::kPointerSized;
        return p + 1;
      case u'L':
        if (!Crt()) return p;
        spec.size = Size::kLongDouble;
        return p + 1;
      default:
        return p;
    }
  }

  void Convert(const Spec& spec) {
    switch (spec.type) {
      case u'd':
      case u'i':
        return Signed(spec);
      case u'u':
      case u'x':
      case u'X':
        return Unsigned(spec);
      case u'o':
        if (Crt()) return Unsigned(spec);
        break;
      case u'c':
      case u'C':
        return Character(spec);
      case u's':
      case u'S':
        return String(spec);
      case u'p':
        return Pointer(spec);
      case u'e':
      case u'E':
      case u'f':
      case u'F':
      case u'g':
      case u'G':
      case u'a':
      case u'A':
        if (Crt()) return Floating(spec);
        break;
      case u'n':
        // Writing through an argument is never done: the pointer is consumed and ignored.
        if (Crt()) {
          (void)va_arg(args_, void*);
          return;
        }
        break;
      default:
        break;
    }
    out_ += spec.type;  // not a format field: copied as it is (this is how %% gives '%')
  }

  void Signed(const Spec& spec) {
    int64_t value;
    switch (spec.size) {
      case Size::kChar:
        value = static_cast<signed char>(va_arg(args_, int));
        break;
      case Size::kShort:
        value = static_cast<short>(va_arg(args_, int));
        break;
      case Size::kLongLong:
        value = va_arg(args_, long long);
        break;
      case Size::kPointerSized:
        value = va_arg(args_, intptr_t);
        break;
      default:
        value = va_arg(args_, int);  // int and Windows' 32-bit long alike
        break;
    }
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    Integer(spec, magnitude, value < 0);
  }

  void Unsigned(const Spec& spec) {
    uint64_t value;
    switch (spec.size) {
      case Size::kChar:
        value = static_cast<unsigned char>(va_arg(args_, unsigned int));
        break;
      case Size::kShort:
        value = static_cast<unsigned short>(va_arg(args_, unsigned int));
        break;
      case Size::kLongLong:
        value = va_arg(args_, unsigned long long);
        break;
      case Size::kPointerSized:
        value = va_arg(args_, uintptr_t);
        break;
      default:
        value = va_arg(args_, unsigned int);
        break;
    }
    Integer(spec, value, false);
  }

  void Integer(const Spec& spec, uint64_t magnitude, bool negative) {
    unsigned base = spec.type == u'o' ? 8 : (spec.type == u'x' || spec.type == u'X') ? 16 : 10;
    const char* digit_set = spec.type == u'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    std::u16string digits;
    for (uint64_t v = magnitude; v; v /= base)
      digits.insert(digits.begin(), static_cast<char16_t>(digit_set[v % base]));
    int precision = spec.precision;
    if (precision < 0 || (!Crt() && precision == 0)) precision = 1;
    if (digits.size() < static_cast<size_t>(precision)) digits.insert(0, precision - digits.size(), u'0');

    std::u16string prefix;
    if (negative) {
      prefix = u"-";
    } else if (spec.plus && (spec.type == u'd' || spec.type == u'i')) {
      prefix = u"+";
    } else if (spec.space && (spec.type == u'd' || spec.type == u'i')) {
      prefix = u" ";
    }
    if (spec.alternate && base == 16 && magnitude != 0) prefix += spec.type == u'X' ? u"0X" : u"0x";
    if (spec.alternate && base == 8 && (digits.empty() || digits[0] != u'0')) digits.insert(0, 1, u'0');

    bool zero_pad = spec.zero && !spec.left && (!Crt() || spec.precision < 0);
    Emit(spec, prefix, digits, zero_pad);
  }

  void Character(const Spec& spec) {
    bool narrow =
        spec.type == u'C' ? spec.size != Size::kLong && spec.size != Size::kWide : spec.size == Size::kShort;
    int raw = va_arg(args_, int);
    char16_t c = narrow ? AnsiToWide(std::string(1, static_cast<char>(raw)))[0] : static_cast<char16_t>(raw);
    if (c == 0 && !Crt()) return;
    Emit(spec, u"", std::u16string(1, c), spec.zero && !spec.left);
  }

  void String(const Spec& spec) {
    bool narrow =
        spec.type == u'S' ? spec.size != Size::kLong && spec.size != Size::kWide : spec.size == Size::kShort;
    std::u16string text;
    if (narrow) {
      const char* s = va_arg(args_, const char*);
      if (!s) {
        text = u"(null)";
      } else {
        size_t n = 0;
        while (s[n] && (spec.precision < 0 || n < static_cast<size_t>(spec.precision))) ++n;
        text = AnsiToWide(std::string_view(s, n));
      }
    } else {
      const char16_t* s = va_arg(args_, const char16_t*);
      text = s ? std::u16string(s) : std::u16string(u"(null)");
    }
    if (spec.precision >= 0 && text.size() > static_cast<size_t>(spec.precision)) text.resize(spec.precision);
    Emit(spec, u"", text, spec.zero && !spec.left);
  }

  // Pointers print as the 32-bit target shows them: at least eight upper-case hex digits.
  void Pointer(const Spec& spec) {
    uintptr_t value = reinterpret_cast<uintptr_t>(va_arg(args_, void*));
    std::u16string digits;
    for (uintptr_t v = value; v; v >>= 4)
      digits.insert(digits.begin(), static_cast<char16_t>("0123456789ABCDEF"[v & 15]));
    if (digits.size() < 8) digits.insert(0, 8 - digits.size(), u'0');
    Emit(spec, u"", digits, false);
  }

  void Floating(const Spec& spec) {
    std::string format = "%";
    if (spec.left) format += '-';
    if (spec.plus) format += '+';
    if (spec.space) format += ' ';
    if (spec.alternate) format += '#';
    if (spec.zero) format += '0';
    if (spec.width) format += std::to_string(spec.width);
    if (spec.precision >= 0) format += "." + std::to_string(spec.precision);
    char buffer[512];
    std::string text;
    if (spec.size == Size::kLongDouble) {
      format += 'L';
      format += static_cast<char>(spec.type);
      long double value = va_arg(args_, long double);
      text = Print(buffer, sizeof buffer, format.c_str(), value);
    } else {
      format += static_cast<char>(spec.type);
      double value = va_arg(args_, double);
      text = Print(buffer, sizeof buffer, format.c_str(), value);
    }
    out_.append(text.begin(), text.end());
  }

  template <typename T>
  static std::string Print(char* buffer, size_t size, const char* format, T value) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::snprintf(buffer, size, format, value);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < size) return std::string(buffer, n);
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), format, value);
#pragma GCC diagnostic pop
    big.resize(static_cast<size_t>(n));
    return big;
  }

  // Writes prefix and body padded to the field width: zeros go between prefix and body.
  void Emit(const Spec& spec, std::u16string_view prefix, std::u16string_view body, bool zero_pad) {
    size_t length = prefix.size() + body.size();
    size_t pad = spec.width > 0 && static_cast<size_t>(spec.width) > length ? spec.width - length : 0;
    if (spec.left) {
      out_.append(prefix).append(body).append(pad, u' ');
    } else if (zero_pad) {
      out_.append(prefix).append(pad, u'0').append(body);
    } else {
      out_.append(pad, u' ').append(prefix).append(body);
    }
  }

  FormatDialect dialect_;
  va_list args_;
  std::u16string out_;
};

}  // namespace

std::u16string FormatWide(FormatDialect dialect, const char16_t* format, va_list args) {
  if (!format) return {};
  return Formatter(dialect, args).Run(format);
}

}  // namespace sim
