#include "config/profile_line.h"

namespace config {
namespace {

size_t SkipBlanks(const Text& text, size_t from) {
  while (from < text.size() && IsBlank(text[from])) ++from;
  return from;
}

size_t TrimEnd(const Text& text, size_t begin, size_t end) {
  while (end > begin && IsBlank(text[end - 1])) --end;
  return end;
}

}  // namespace

bool IsBlank(WCHAR c) { return c == TEXT(' ') || c == TEXT('\t'); }

Text TrimBlanks(const Text& text) {
  const size_t begin = SkipBlanks(text, 0);
  return text.substr(begin, TrimEnd(text, begin, text.size()) - begin);
}

LineSyntax ParseLine(const Text& line) {
  LineSyntax syntax;
  const size_t start = SkipBlanks(line, 0);
  if (start == line.size() || line[start] == TEXT(';')) return syntax;

  if (line[start] == TEXT('[')) {
    const size_t close = line.find(TEXT(']'), start + 1);
    if (close == Text::npos) return syntax;
    syntax.kind = LineKind::kSection;
    syntax.name = TrimBlanks(line.substr(start + 1, close - start - 1));
    return syntax;
  }

  const size_t equals = line.find(TEXT('='), start);
  if (equals == Text::npos) return syntax;
  syntax.kind = LineKind::kKey;
  syntax.name = line.substr(start, TrimEnd(line, start, equals) - start);
  syntax.value_begin = SkipBlanks(line, equals + 1);
  syntax.value_end = TrimEnd(line, syntax.value_begin, line.size());
  return syntax;
}

}  // namespace config
