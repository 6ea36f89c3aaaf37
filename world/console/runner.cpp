#include "world/console/runner.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <istream>
#include <ostream>

#include <sim/rendezvous.h>

namespace console {

namespace {

volatile sig_atomic_t g_stop_signal = 0;

void OnStopSignal(int sig) { g_stop_signal = sig; }

}  // namespace

int PendingStopSignal() { return g_stop_signal; }
void ClearStopSignal() { g_stop_signal = 0; }

void InstallStopSignalHandlers() {
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: a waiting poll() returns so the stop is seen at once
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

void ServePeers(world::World& world) {
  if (!sim::RendezvousEnabled()) return;
  if (sim::ServeRendezvousRequests() > 0) world.Settle();
}

bool StreamSource::Next(std::string* line) { return static_cast<bool>(std::getline(in_, *line)); }

bool DescriptorSource::Next(std::string* line) {
  while (true) {
    size_t nl = buffer_.find('\n');
    if (nl != std::string::npos) {
      *line = buffer_.substr(0, nl);
      buffer_.erase(0, nl + 1);
      return true;
    }
    if (eof_) {
      if (buffer_.empty()) return false;
      *line = std::move(buffer_);  // a last line without a line end
      buffer_.clear();
      return true;
    }
    if (PendingStopSignal()) return false;
    pollfd fds[2] = {{fd_, POLLIN, 0}, {sim::RendezvousListenFd(), POLLIN, 0}};
    int count = fds[1].fd >= 0 ? 2 : 1;
    if (poll(fds, count, -1) < 0) {
      if (errno == EINTR) continue;
      eof_ = true;
      continue;
    }
    if (count == 2 && fds[1].revents) ServePeers(world_);
    if (fds[0].revents) {
      char chunk[4096];
      ssize_t n = read(fd_, chunk, sizeof chunk);
      if (n > 0) {
        buffer_.append(chunk, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        eof_ = true;
      }
    }
  }
}

int RunScript(Console& console, LineSource& source, const std::string& name, std::ostream& errors) {
  std::string line;
  int number = 0;
  while (source.Next(&line)) {
    ++number;
    Result result = console.ExecuteLine(line);
    ServePeers(console.world());
    switch (result.outcome) {
      case Outcome::kOk:
        break;
      case Outcome::kQuit:
        return kExitOk;
      case Outcome::kFailed:
        errors << name << ":" << number << ": " << result.message << std::endl;
        return kExitFailed;
      case Outcome::kBadCommand:
        errors << name << ":" << number << ": " << result.message << std::endl;
        return kExitBadCommand;
    }
    if (PendingStopSignal()) break;
  }
  return PendingStopSignal() ? 128 + PendingStopSignal() : kExitOk;
}

}  // namespace console
