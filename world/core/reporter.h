// What the stand-ins tell the world: every action of theirs that a person at the PC would
// observe, as one transcript line ("handset ShowTalking(\"bob@example.com\")").
#pragma once

#include <string>

namespace world {

class Reporter {
 public:
  virtual ~Reporter() = default;
  // `source` is the transcript's source word ("handset", "messenger", "history"); `text` is
  // the rest of the line, UTF-8.
  virtual void Report(const std::string& source, const std::string& text) = 0;
};

// Quotes a UTF-8 text for a transcript line: double quotes around it, with backslash and
// double quote escaped by a backslash.
std::string Quote(const std::string& text);

}  // namespace world
