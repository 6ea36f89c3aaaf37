// The transcript: every observed event as one line "[mm:ss.mmm] SOURCE TEXT" stamped with the
// virtual time, printed as it happens, and the memory behind `expect`.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "world/core/reporter.h"

namespace world {

// "[mm:ss.mmm]" for a virtual time in milliseconds; minutes keep counting past 59.
std::string FormatTimestamp(int64_t ms);

class Transcript : public Reporter {
 public:
  using Clock = std::function<int64_t()>;
  using Sink = std::function<void(const std::string& line)>;

  // `clock` gives the virtual time of each event line.
  explicit Transcript(Clock clock);

  // Where lines go as they are printed (standard output by default).
  void SetSink(Sink sink) { sink_ = std::move(sink); }

  // An event line: "[mm:ss.mmm] SOURCE TEXT".
  void Report(const std::string& source, const std::string& text) override;
  // Output of a command (show, cat, help): printed as it is. `expect` sees it too.
  void Print(const std::string& line);

  // Whether a line containing `text` was printed since the previous Expect (or the start): after
  // the line the previous Expect matched, so that several lines one command printed can be
  // expected one after the other, in order. The next Expect looks only after the line this one
  // matched, or, when it found none, after every line printed so far.
  bool Expect(const std::string& text);

  // Every line printed so far, in order (for tests and the console's history).
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  void Emit(std::string line);

  Clock clock_;
  Sink sink_;
  std::vector<std::string> lines_;
  size_t expect_from_ = 0;  // index of the first line the next Expect looks at
};

}  // namespace world
