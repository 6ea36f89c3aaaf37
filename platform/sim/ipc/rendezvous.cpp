// The rendezvous between tellbud-sim processes: a listening Unix-domain socket per process and
// lock files for named mutexes, in a private runtime folder.
//
// Requests are one line each, answered by one line:
//   FIND <class> <title>          -> FOUND <hwnd> <title> <class> | NONE
//   SHOW <hwnd> <cmd>             -> OK <result> | GONE
//   FOREGROUND <hwnd>             -> OK <result> | GONE
//   POST <hwnd> <msg> <wp> <lp>   -> OK <result> | GONE
// Strings travel as hexadecimal UTF-8 ("-" for none), numbers in decimal.
#include "ipc/rendezvous.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include <sim/rendezvous.h>

#include "core/core.h"
#include "user/user.h"

namespace sim::ipc {

namespace {

constexpr int kReplyTimeoutMs = 5000;
constexpr int kRequestTimeoutMs = 1000;

// One rendezvous per OS process: the socket belongs to the process, not to a desktop.
struct ProcessRendezvous {
  std::string folder;
  std::string socket_path;
  int listen_fd = -1;
};

ProcessRendezvous& Self() {
  static ProcessRendezvous self;
  return self;
}

std::string Hex(const std::string& s) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out.empty() ? "-" : out;
}

std::optional<std::string> Unhex(const std::string& s) {
  if (s == "-") return std::string{};
  if (s.size() % 2) return std::nullopt;
  std::string out;
  for (size_t i = 0; i < s.size(); i += 2) {
    auto nibble = [](char c) -> int {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'a' && c <= 'f') return c - 'a' + 10;
      return -1;
    };
    int hi = nibble(s[i]), lo = nibble(s[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

std::string Encode(const char16_t* s) { return s ? Hex(ToUtf8(s)) : "-"; }

bool ReadLine(int fd, std::string* line, int timeout_ms) {
  line->clear();
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return false;
    char c;
    ssize_t n = read(fd, &c, 1);
    if (n <= 0) return false;
    if (c == '\n') return true;
    if (line->size() > 65536) return false;
    *line += c;
  }
}

bool WriteAll(int fd, const std::string& s) {
  size_t done = 0;
  while (done < s.size()) {
    ssize_t n = send(fd, s.data() + done, s.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Sends one request to a peer and returns its answer, or nothing when it does not answer.
std::optional<std::string> Ask(const std::string& peer, const std::string& request) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::nullopt;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", peer.c_str());
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    if (errno == ECONNREFUSED) unlink(peer.c_str());  // a peer that ended without cleaning up
    close(fd);
    return std::nullopt;
  }
  std::string answer;
  bool ok = WriteAll(fd, request + "\n") && ReadLine(fd, &answer, kReplyTimeoutMs);
  close(fd);
  if (!ok) return std::nullopt;
  return answer;
}

// The other processes' sockets, in order of their process ids.
std::vector<std::string> Peers() {
  std::vector<std::pair<long, std::string>> found;
  auto& self = Self();
  if (DIR* d = opendir(self.folder.c_str())) {
    while (dirent* e = readdir(d)) {
      long pid = 0;
      if (std::sscanf(e->d_name, "peer-%ld.sock", &pid) != 1) continue;
      std::string path = self.folder + "/" + e->d_name;
      if (path != self.socket_path) found.emplace_back(pid, path);
    }
    closedir(d);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> out;
  for (auto& [pid, path] : found) out.push_back(path);
  return out;
}

std::optional<BOOL> AskResult(const RemoteWindow& w, const std::string& request) {
  auto answer = Ask(w.peer, request);
  if (!answer) return std::nullopt;
  std::istringstream in(*answer);
  std::string word;
  long result = 0;
  if (!(in >> word) || word != "OK" || !(in >> result)) return std::nullopt;
  return static_cast<BOOL>(result);
}

bool SafeFolder(const std::string& folder, std::string* why) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    *why = "cannot create " + folder + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    *why = folder + " is not a folder";
    return false;
  }
  if (st.st_uid != getuid() || (st.st_mode & 077) != 0) {
    *why = folder + " must belong to this user and be closed to others (mode 0700)";
    return false;
  }
  return true;
}

HWND LocalTopLevel(const std::u16string* cls, const std::u16string* title) {
  for (HWND h : TopLevelWindows()) {
    auto info = InspectWindow(h);
    if (!info) continue;
    if (cls && !cls->empty()) {
      std::u16string a = info->class_name, b = *cls;
      auto upper = [](std::u16string s) {
        for (auto& c : s)
          if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        return s;
      };
      if (upper(a) != upper(b)) continue;
    }
    if (title && info->title != *title) continue;
    return h;
  }
  return nullptr;
}

std::string Serve(const std::string& request) {
  std::istringstream in(request);
  std::string verb;
  in >> verb;
  if (verb == "FIND") {
    std::string cls_hex, title_hex;
    in >> cls_hex >> title_hex;
    auto cls = Unhex(cls_hex), title = Unhex(title_hex);
    if (!cls || !title) return "NONE";
    std::u16string cls16 = FromUtf8(*cls), title16 = FromUtf8(*title);
    HWND h = LocalTopLevel(cls_hex == "-" ? nullptr : &cls16, title_hex == "-" ? nullptr : &title16);
    if (!h) return "NONE";
    auto info = InspectWindow(h);
    return "FOUND " + std::to_string(reinterpret_cast<uintptr_t>(h)) + " " + Hex(ToUtf8(info->title)) + " " +
           Hex(ToUtf8(info->class_name));
  }
  uintptr_t value = 0;
  in >> value;
  HWND h = reinterpret_cast<HWND>(value);
  user::Window* w = user::FromHandle(h);
  if (!w || w->remote) return "GONE";
  BOOL result = FALSE;
  if (verb == "SHOW") {
    int cmd = 0;
    in >> cmd;
    result = ::ShowWindow(h, cmd);
  } else if (verb == "FOREGROUND") {
    result = ::SetForegroundWindow(h);
  } else if (verb == "POST") {
    UINT msg = 0;
    unsigned long long wp = 0;
    long long lp = 0;
    in >> msg >> wp >> lp;
    result = ::PostMessageW(h, msg, static_cast<WPARAM>(wp), static_cast<LPARAM>(lp));
  } else {
    return "GONE";
  }
  return "OK " + std::to_string(result);
}

}  // namespace

bool Enabled() { return Self().listen_fd >= 0; }

std::optional<RemoteWindow> FindWindow(const char16_t* class_name, const char16_t* title) {
  if (!Enabled()) return std::nullopt;
  std::string request = "FIND " + Encode(class_name) + " " + Encode(title);
  for (const std::string& peer : Peers()) {
    auto answer = Ask(peer, request);
    if (!answer) continue;
    std::istringstream in(*answer);
    std::string word, title_hex, cls_hex;
    uintptr_t hwnd = 0;
    if (!(in >> word) || word != "FOUND" || !(in >> hwnd >> title_hex >> cls_hex)) continue;
    auto t = Unhex(title_hex), c = Unhex(cls_hex);
    if (!t || !c) continue;
    return RemoteWindow{peer, static_cast<uint32_t>(hwnd), FromUtf8(*t), FromUtf8(*c)};
  }
  return std::nullopt;
}

std::optional<BOOL> ShowWindow(const RemoteWindow& w, int cmd) {
  return AskResult(w, "SHOW " + std::to_string(w.hwnd) + " " + std::to_string(cmd));
}

std::optional<BOOL> SetForegroundWindow(const RemoteWindow& w) {
  return AskResult(w, "FOREGROUND " + std::to_string(w.hwnd));
}

std::optional<BOOL> PostMessage(const RemoteWindow& w, UINT msg, WPARAM wp, LPARAM lp) {
  return AskResult(w, "POST " + std::to_string(w.hwnd) + " " + std::to_string(msg) + " " +
                          std::to_string(static_cast<unsigned long long>(wp)) + " " +
                          std::to_string(static_cast<long long>(lp)));
}

int LockName(const std::u16string& name, bool* held_elsewhere) {
  *held_elsewhere = false;
  if (!Enabled()) return -1;
  std::string path = Self().folder + "/mutex-" + Hex(ToUtf8(name)) + ".lock";
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    *held_elsewhere = errno == EWOULDBLOCK;
    close(fd);
    return -1;
  }
  return fd;
}

void ReleaseName(int lock) {
  if (lock >= 0) close(lock);  // closing the descriptor releases the flock
}

}  // namespace sim::ipc

namespace sim {

std::string DefaultRendezvousFolder() {
  if (const char* dir = std::getenv("TELLBUD_SIM_RUNTIME_DIR"); dir && *dir) return dir;
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg) return std::string(xdg) + "/tellbud-sim";
  return "/tmp/tellbud-sim-" + std::to_string(getuid());
}

bool ValidDesktopName(const std::string& name) {
  if (name.empty() || name.size() > 32 || name[0] == '.') return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.') return false;
  return true;
}

std::string DesktopRendezvousFolder(const std::string& name) {
  std::string base = DefaultRendezvousFolder();
  return name == "default" ? base : base + "/desktop-" + name;
}

bool EnableRendezvous(const std::string& folder, std::string* why_not) {
  std::string why;
  auto& self = ipc::Self();
  if (self.listen_fd >= 0) return true;
  size_t slash = folder.find_last_of('/');
  std::string parent = slash == std::string::npos || slash == 0 ? "" : folder.substr(0, slash);
  struct stat st {};
  bool parent_missing = !parent.empty() && stat(parent.c_str(), &st) != 0 && errno == ENOENT;
  if ((parent_missing && !ipc::SafeFolder(parent, &why)) || !ipc::SafeFolder(folder, &why)) {
    if (why_not) *why_not = why;
    return false;
  }
  std::string path = folder + "/peer-" + std::to_string(getpid()) + ".sock";
  sockaddr_un addr{};
  if (path.size() >= sizeof addr.sun_path) {
    if (why_not) *why_not = "the rendezvous folder's path is too long for a socket";
    return false;
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  unlink(path.c_str());
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 8) != 0) {
    if (why_not) *why_not = std::string("cannot listen on ") + path + ": " + std::strerror(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  self.folder = folder;
  self.socket_path = path;
  self.listen_fd = fd;
  std::atexit([] {
    auto& s = ipc::Self();
    if (s.listen_fd >= 0) unlink(s.socket_path.c_str());
  });
  return true;
}

bool RendezvousEnabled() { return ipc::Enabled(); }

void DisableRendezvous() {
  auto& self = ipc::Self();
  if (self.listen_fd < 0) return;
  close(self.listen_fd);
  unlink(self.socket_path.c_str());
  self = ipc::ProcessRendezvous{};
}

int RendezvousListenFd() { return ipc::Self().listen_fd; }

int ServeRendezvousRequests() {
  auto& self = ipc::Self();
  if (self.listen_fd < 0) return 0;
  int served = 0;
  for (;;) {
    int fd = accept4(self.listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) break;
    ucred cred{};
    socklen_t len = sizeof cred;
    std::string request;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == getuid() &&
        ipc::ReadLine(fd, &request, ipc::kRequestTimeoutMs)) {
      ipc::WriteAll(fd, ipc::Serve(request) + "\n");
      ++served;
    }
    close(fd);
  }
  if (served) Desktop::Current().RunUntilIdle();
  return served;
}

}  // namespace sim
