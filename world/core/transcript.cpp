#include "world/core/transcript.h"

#include <cstdio>

namespace world {

std::string FormatTimestamp(int64_t ms) {
  if (ms < 0) ms = 0;
  char buf[48];
  std::snprintf(buf, sizeof buf, "[%02lld:%02lld.%03lld]", static_cast<long long>(ms / 60000),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
  return buf;
}

Transcript::Transcript(Clock clock)
    : clock_(std::move(clock)), sink_([](const std::string& line) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
      }) {}

void Transcript::Report(const std::string& source, const std::string& text) {
  std::string line = FormatTimestamp(clock_()) + " " + source;
  if (!text.empty()) line += " " + text;
  Emit(std::move(line));
}

void Transcript::Print(const std::string& line) { Emit(line); }

void Transcript::Emit(std::string line) {
  lines_.push_back(std::move(line));
  if (sink_) sink_(lines_.back());
}

bool Transcript::Expect(const std::string& text) {
  for (size_t i = expect_from_; i < lines_.size(); ++i) {
    if (lines_[i].find(text) != std::string::npos) {
      expect_from_ = i + 1;
      return true;
    }
  }
  expect_from_ = lines_.size();
  return false;
}

}  // namespace world
