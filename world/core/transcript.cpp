#include "world/core/transcript.h"

#include <cstdio>
#include <iterator>

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
  if (lines_.size() > kKeptLines) lines_.pop_front();
}

bool Transcript::Expect(const std::string& text) {
  for (auto it = lines_.begin(); it != lines_.end(); ++it) {
    if (it->find(text) != std::string::npos) {
      lines_.erase(lines_.begin(), std::next(it));
      return true;
    }
  }
  lines_.clear();
  return false;
}

}  // namespace world
