// The interactive console: readline with history for the prompt, the virtual clock following
// real time while the person thinks, and transcript lines printed above the prompt as they
// happen.
#include <poll.h>
#include <stdio.h>
#include <unistd.h>

#include <readline/history.h>
#include <readline/readline.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <functional>

#include <sim/rendezvous.h>

#include "world/console/runner.h"

namespace console {

namespace {

constexpr char kPrompt[] = "tellbud> ";

// Readline's callback interface hands over complete lines through a plain function. The line
// runs inside it, so that its output comes before readline shows the next prompt.
std::function<void(const std::string&)> g_run_line;
bool g_eof = false;
bool g_quit = false;

void OnLine(char* line) {
  if (!line) {
    g_eof = true;
    return;
  }
  std::string text = line;
  std::free(line);
  if (g_run_line) g_run_line(text);
}

// Prints a line while the prompt (and whatever the person typed so far) is on screen: the
// prompt line is cleared, the line printed, and the prompt drawn again as it was.
void PrintAbovePrompt(const std::string& text) {
  rl_clear_visible_line();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  rl_forced_update_display();
}

void PrintPlain(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Keeps the virtual clock in step with real time while the prompt waits.
class RealTimeClock {
 public:
  explicit RealTimeClock(world::World& world) : world_(world), last_(Now()) {}
  // Advances the virtual clock by the real time passed since the previous call.
  void CatchUp() {
    auto now = Now();
    auto passed = std::chrono::duration_cast<std::chrono::milliseconds>(now - last_).count();
    if (passed <= 0) return;
    last_ += std::chrono::milliseconds(passed);
    world_.Wait(passed);
  }
  // How long poll() may wait before the next timer falls due (-1: no timer).
  int PollTimeout() const {
    auto next = world_.desktop().NextWakeTime();
    if (!next) return -1;
    int64_t ms = *next - world_.Now();
    return static_cast<int>(ms < 0 ? 0 : ms > 60000 ? 60000 : ms);
  }

 private:
  static std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }
  world::World& world_;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace

int RunInteractive(Console& console) {
  world::World& world = console.world();
  bool in_command = false;
  world.transcript().SetSink([&](const std::string& line) {
    if (in_command) {
      PrintPlain(line);
    } else {
      PrintAbovePrompt(line);
    }
  });
  rl_catch_signals = 0;  // our own handlers: Ctrl+C clears the line, it does not end the world
  rl_callback_handler_install(kPrompt, OnLine);
  RealTimeClock clock(world);
  g_eof = g_quit = false;
  g_run_line = [&](const std::string& line) {
    if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
    clock.CatchUp();
    in_command = true;
    Result result = console.ExecuteLine(line);
    in_command = false;
    if (result.outcome == Outcome::kQuit) {
      g_quit = true;
    } else if (!result.message.empty()) {
      PrintPlain("error: " + result.message);
    }
  };

  while (!g_eof && !g_quit) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {sim::RendezvousListenFd(), POLLIN, 0}};
    int count = fds[1].fd >= 0 ? 2 : 1;
    int ready = poll(fds, count, clock.PollTimeout());
    if (int sig = PendingStopSignal()) {
      if (sig != SIGINT) break;
      // Ctrl+C: forget the half-typed line and start a fresh prompt, as a shell does.
      ClearStopSignal();
      rl_free_line_state();
      rl_callback_sigcleanup();
      rl_replace_line("", 0);
      std::fputs("^C\n", stdout);
      rl_on_new_line();
      rl_redisplay();
      continue;
    }
    clock.CatchUp();
    if (ready <= 0) continue;
    if (count == 2 && fds[1].revents) ServePeers(world);
    if (!(fds[0].revents & (POLLIN | POLLHUP))) continue;
    rl_callback_read_char();
  }
  rl_callback_handler_remove();
  g_run_line = nullptr;
  if (g_eof) std::fputc('\n', stdout);
  world.transcript().SetSink(PrintPlain);
  return PendingStopSignal() ? 128 + PendingStopSignal() : kExitOk;
}

}  // namespace console
