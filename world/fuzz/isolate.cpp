#include "world/fuzz/isolate.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace fuzz {

namespace {

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

std::string HowItEnded(int status) {
  if (WIFSIGNALED(status))
    return "the run ended by signal " + std::to_string(WTERMSIG(status)) + " (" +
           strsignal(WTERMSIG(status)) + ")";
  if (WIFEXITED(status)) return "the run exited with code " + std::to_string(WEXITSTATUS(status));
  return "the run ended abnormally";
}

}  // namespace

std::vector<std::string> RunIsolated(const std::function<void(const RecordSink&)>& body, bool quiet_child) {
  int fds[2];
  if (pipe(fds) != 0) return {"broken process-ended\tno pipe for the run"};
  std::fflush(nullptr);
  pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return {"broken process-ended\tthe run could not be started"};
  }
  if (child == 0) {
    close(fds[0]);
    if (quiet_child) {
      int null = open("/dev/null", O_WRONLY);
      if (null >= 0) dup2(null, STDERR_FILENO);
    }
    body([fd = fds[1]](const std::string& record) { WriteAll(fd, record + "\n"); });
    close(fds[1]);
    _exit(0);
  }
  close(fds[1]);
  std::vector<std::string> records;
  std::string pending;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    pending.append(buffer, static_cast<size_t>(n));
    size_t start = 0;
    for (size_t nl; (nl = pending.find('\n', start)) != std::string::npos; start = nl + 1)
      records.push_back(pending.substr(start, nl - start));
    pending.erase(0, start);
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  bool ended = !records.empty() && records.back().starts_with("end ");
  if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    records.push_back("broken process-ended\t" + HowItEnded(status));
  return records;
}

std::vector<std::string> RunInProcess(const std::function<void(const RecordSink&)>& body) {
  std::vector<std::string> records;
  body([&records](const std::string& record) { records.push_back(record); });
  return records;
}

}  // namespace fuzz
