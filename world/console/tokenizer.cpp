#include "world/console/tokenizer.h"

namespace console {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

Tokenized Tokenize(const std::string& line) {
  Tokenized out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) break;
    if (line[i] == '#' && (out.words.empty() || (i + 1 < line.size() && IsBlank(line[i + 1])))) break;
    Word word;
    word.start = i;
    while (i < line.size() && !IsBlank(line[i])) {
      if (line[i] != '"') {
        word.text += line[i++];
        continue;
      }
      ++i;  // the opening quote
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          word.text += line[i++];
        } else {
          word.text += c;
        }
      }
      if (!closed) {
        out.error = "unterminated quote";
        return out;
      }
    }
    out.words.push_back(std::move(word));
  }
  return out;
}

}  // namespace console
