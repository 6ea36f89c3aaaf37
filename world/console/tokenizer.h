// Splits a command line into words: blanks separate them, double quotes group blanks into a
// word (inside them \" is a quote and \\ a backslash; any other backslash stays as it is, so
// Windows paths need no doubling: "C:\log"), and comments are
// dropped: a line whose first non-blank character is '#', or the rest of a line from a word
// that is '#' followed by a blank ("wait 2s # settle"). A lone '#' at the end of a line, or one
// inside a word ("12#"), is an ordinary word, so telephone keys need no quotes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace console {

struct Word {
  std::string text;  // unquoted
  size_t start = 0;  // where the word begins in the line
};

struct Tokenized {
  std::vector<Word> words;
  std::string error;  // set when the line cannot be split (an unterminated quote); `words`
                      // then holds the words before the faulty one
};

Tokenized Tokenize(const std::string& line);

}  // namespace console
