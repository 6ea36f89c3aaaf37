// Running commands from a script file, from a pipe on standard input, or from a person at a
// terminal, with tellbud-sim's exit codes.
#pragma once

#include <iosfwd>
#include <string>

#include "world/console/console.h"

namespace console {

// Exit codes: every command ran (or `quit`); an expectation or action failed; a bad command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadCommand = 2;

// Where command lines come from. Next waits for the next line, serving other tellbud-sim
// processes meanwhile; false at the end of the input.
class LineSource {
 public:
  virtual ~LineSource() = default;
  virtual bool Next(std::string* line) = 0;
};

// Lines of a stream that is read at once (a script file): nothing to wait for.
class StreamSource : public LineSource {
 public:
  explicit StreamSource(std::istream& in) : in_(in) {}
  bool Next(std::string* line) override;

 private:
  std::istream& in_;
};

// Lines arriving on a descriptor (a pipe): while none is complete, waits for more input and for
// requests of other tellbud-sim processes, and serves those.
class DescriptorSource : public LineSource {
 public:
  DescriptorSource(int fd, world::World& world) : fd_(fd), world_(world) {}
  bool Next(std::string* line) override;

 private:
  int fd_;
  world::World& world_;
  std::string buffer_;
  bool eof_ = false;
};

// Runs every line until the end, `quit`, a failure or a bad command; messages name `name` and
// the line number and go to `errors`. Returns the exit code.
int RunScript(Console& console, LineSource& source, const std::string& name, std::ostream& errors);

// The interactive console on a terminal (readline, history, the clock following real time).
int RunInteractive(Console& console);

// Serves the requests other tellbud-sim processes have sent, and lets the desktop react.
void ServePeers(world::World& world);

// Set by the signal handlers for SIGINT, SIGTERM and SIGHUP (0 while none came).
int PendingStopSignal();
void ClearStopSignal();
void InstallStopSignalHandlers();

}  // namespace console
