// The transcript: every observed event as one line "[mm:ss.mmm] SOURCE TEXT" stamped with the
// virtual time, printed as it happens, and the memory behind `expect`. The printed transcript is
// a stream; only the lines a later `expect` may still look at are kept, at most kKeptLines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
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

  // The lines the next Expect looks at: those printed since the previous one (after the line it
  // matched), the most recent kKeptLines of them when there were more.
  const std::deque<std::string>& lines() const { return lines_; }

  // How many lines an Expect looks back at most; older ones are forgotten.
  static constexpr size_t kKeptLines = 20'000;

 private:
  void Emit(std::string line);

  Clock clock_;
  Sink sink_;
  std::deque<std::string> lines_;
};

}  // namespace world
