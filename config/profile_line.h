// What one line of a profile file says, from its text alone: a section header, a key with its
// value, or anything else (comments, blank lines, malformed lines), which is kept but never
// matches a name.
#pragma once

#include "config/text_encoding.h"

namespace config {

enum class LineKind { kOther, kSection, kKey };

struct LineSyntax {
  LineKind kind = LineKind::kOther;
  Text name;               // the section name or the key, without surrounding blanks
  size_t value_begin = 0;  // for keys: where the value starts in the line, after the blanks
  size_t value_end = 0;    // and where it ends, before the trailing blanks
};

bool IsBlank(WCHAR c);
Text TrimBlanks(const Text& text);

// "[name]" (text after the "]" is ignored), "key = value", or other. Lines whose first
// non-blank character is ';' are comments; a "[" without "]" is malformed.
LineSyntax ParseLine(const Text& line);

}  // namespace config
