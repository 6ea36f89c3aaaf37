// Two tellbud-sim processes on one user's desktop: a window of one is found by title from the
// other and can be shown, brought to the foreground and sent a posted message.
#include <gtest/gtest.h>
#include <windows.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sim/desktop.h>
#include <sim/rendezvous.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace {

constexpr char16_t kPeerTitle[] = u"Peer Window";

LRESULT CALLBACK PeerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 5) {
    std::string line = "posted " + std::to_string(w) + " " + std::to_string(l) + "\n";
    // The test's pipe to the parent is descriptor 3 in the child.
    (void)!write(3, line.data(), line.size());
  }
  return DefWindowProcW(h, m, w, l);
}

// The other process: a desktop with one hidden window, serving requests until told to stop.
[[noreturn]] void RunPeer(const std::string& folder, int report_fd, int control_fd) {
  dup2(report_fd, 3);
  {
    sim::Desktop desktop;
    HWND peer = nullptr;
    desktop.StartProcess(sim::ProcessInfo{0, u"peer.exe", u"C:\\peer.exe", u"peer.exe"}, [&] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = PeerProc;
      wc.lpszClassName = u"PeerClass";
      RegisterClassW(&wc);
      peer = CreateWindowExW(0, u"PeerClass", kPeerTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, nullptr, nullptr);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      return 0;
    });
    desktop.RunUntilIdle();
    std::string why;
    if (!sim::EnableRendezvous(folder, &why)) _exit(2);
    (void)!write(3, "ready\n", 6);
    bool reported_shown = false, reported_foreground = false;
    // Serves until the test says it is done (or, should the test die, for two minutes at most).
    for (int round = 0; round < 2400; ++round) {
      pollfd fds[2] = {{sim::RendezvousListenFd(), POLLIN, 0}, {control_fd, POLLIN, 0}};
      poll(fds, 2, 50);
      if (fds[1].revents) break;
      sim::ServeRendezvousRequests();
      if (!reported_shown && IsWindowVisible(peer)) {
        (void)!write(3, "shown\n", 6);
        reported_shown = true;
      }
      if (!reported_foreground && GetForegroundWindow() == peer) {
        (void)!write(3, "foreground\n", 11);
        reported_foreground = true;
      }
    }
    PostMessageW(peer, WM_CLOSE, 0, 0);
    desktop.RunUntilIdle();
  }
  _exit(0);
}

std::string ReadLine(int fd) {
  std::string line;
  char c;
  while (true) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 60000) <= 0 || read(fd, &c, 1) != 1) return line + "<timeout>";
    if (c == '\n') return line;
    line += c;
  }
}

TEST(RendezvousTest, AWindowOfAnotherProcessIsFoundShownAndPosted) {
  std::string folder =
      std::filesystem::temp_directory_path() / ("tellbud-rdv-test-" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  int report[2], control[2];
  ASSERT_EQ(pipe(report), 0);
  ASSERT_EQ(pipe(control), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(report[0]);
    close(control[1]);
    RunPeer(folder, report[1], control[0]);
  }
  close(report[1]);
  close(control[0]);
  ASSERT_EQ(ReadLine(report[0]), "ready");

  {
    sim::Desktop desktop;
    ASSERT_TRUE(sim::EnableRendezvous(folder));
    HWND found = nullptr;
    BOOL shown = FALSE, foreground = FALSE, posted = FALSE;
    desktop.StartProcess(sim::ProcessInfo{0, u"client.exe", u"C:\\client.exe", u"client.exe"}, [&] {
      found = FindWindowW(nullptr, kPeerTitle);
      shown = ShowWindow(found, SW_SHOW);
      foreground = SetForegroundWindow(found);
      posted = PostMessageW(found, WM_USER + 5, 7, 9);
      return 0;
    });
    desktop.RunUntilIdle();
    ASSERT_NE(found, nullptr);
    EXPECT_FALSE(shown) << "ShowWindow returns the previous visibility: hidden";
    EXPECT_TRUE(foreground);
    EXPECT_TRUE(posted);
    // The peer reports in the order it notices; the requests may all arrive at once.
    std::multiset<std::string> reports;
    for (int i = 0; i < 3; ++i) reports.insert(ReadLine(report[0]));
    EXPECT_EQ(reports, (std::multiset<std::string>{"foreground", "posted 7 9", "shown"}));
    // A title that no process has is not found.
    HWND missing = reinterpret_cast<HWND>(1);
    desktop.StartProcess(sim::ProcessInfo{0, u"client2.exe", u"C:\\c2.exe", u"c2"}, [&] {
      missing = FindWindowW(nullptr, u"Nobody Has This Title");
      return 0;
    });
    desktop.RunUntilIdle();
    EXPECT_EQ(missing, nullptr);
  }
  sim::DisableRendezvous();
  (void)!write(control[1], "x", 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::filesystem::remove_all(folder);
}

}  // namespace
