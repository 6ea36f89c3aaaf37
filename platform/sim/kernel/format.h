// The one formatter behind wsprintfW/wvsprintfW and the StringCch/StringCb printf family. Both
// read the same format syntax; they differ in what they accept (see FormatDialect).
#pragma once

#include <cstdarg>
#include <string>

namespace sim {

enum class FormatDialect {
  // user32's wsprintf: %[-][#][0][width][.precision]type with c C d i u x X p s S, the h/l/I size
  // prefixes; no floating point, no '+', ' ' or '*'. A character after '%' that is not a format
  // field is copied as it is. A precision of 0 means 1 for numbers; a zero character prints nothing.
  kUser,
  // The C library's wide printf as strsafe uses it: everything above plus %f %e %g %a %o,
  // the '+', ' ' flags, '*' width and precision and the ll/I64/z/j/t size prefixes.
  kCrt,
};

// Formats `format` with the arguments in `args` (consumed) into a string without length limit.
// A null format gives an empty string.
std::u16string FormatWide(FormatDialect dialect, const char16_t* format, va_list args);

}  // namespace sim
