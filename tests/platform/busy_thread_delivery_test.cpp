// What reaches a thread while it is busy (asleep or waiting): activation and keys wait in its
// queue until it takes messages again, the caller never waits for it, and time passes while the
// world waits for it. Also: ended threads leave no records behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>

#include <vector>

namespace {

struct Seen {
  sim::VTime at;
  UINT msg;
  WPARAM wparam;
  bool operator==(const Seen&) const = default;
};

std::vector<Seen>* g_seen = nullptr;
HWND g_watched = nullptr;             // the window whose messages are recorded
HANDLE g_never = nullptr;             // an event nobody sets
const UINT WM_BUSY = WM_APP + 1;      // wParam: milliseconds to sleep, 0 to wait forever
const UINT WM_ANSWER = WM_APP + 2;    // answers 42
const UINT WM_RECORDED = WM_APP + 3;  // recorded

LRESULT CALLBACK BusyProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  sim::VTime now = sim::Desktop::Current().Now();
  if (h != g_watched) return m == WM_BUSY || m == WM_RECORDED ? 0 : DefWindowProcW(h, m, w, l);
  switch (m) {
    case WM_ACTIVATE:
      g_seen->push_back({now, m, LOWORD(w)});
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_RECORDED:
      g_seen->push_back({now, m, w});
      return 0;
    case WM_BUSY:
      if (w) {
        Sleep(static_cast<DWORD>(w));
      } else {
        WaitForSingleObject(g_never, INFINITE);
      }
      return 0;
    case WM_ANSWER:
      return 42;
    default:
      break;
  }
  return DefWindowProcW(h, m, w, l);
}

HWND CreateBusyWindow(LPCWSTR title) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = BusyProc;
  wc.lpszClassName = u"Busy";
  RegisterClassW(&wc);
  return CreateWindowExW(0, u"Busy", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                         nullptr, nullptr, nullptr);
}

int RunLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// Two programs with a window each; `other` has the foreground.
class BusyThreadTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  std::vector<Seen> seen;
  HWND app = nullptr;
  HWND other = nullptr;

  void SetUp() override {
    g_seen = &seen;
    g_watched = nullptr;
    g_never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    desktop.StartProcess(sim::ProcessInfo{0, u"app.exe", u"C:\\app.exe", u"app.exe"}, [this] {
      app = CreateBusyWindow(u"app");
      return RunLoop();
    });
    desktop.StartProcess(sim::ProcessInfo{0, u"other.exe", u"C:\\other.exe", u"other.exe"}, [this] {
      other = CreateBusyWindow(u"other");
      SetForegroundWindow(other);
      return RunLoop();
    });
    desktop.RunUntilIdle();
    ASSERT_EQ(GetForegroundWindow(), other);
    g_watched = app;
  }
  void TearDown() override { CloseHandle(g_never); }

  // Makes the app's thread sleep from now for `ms`, or wait forever with 0.
  void KeepAppBusy(DWORD ms) {
    PostMessageW(app, WM_BUSY, ms, 0);
    desktop.RunUntilIdle();
  }
};

TEST_F(BusyThreadTest, ActivatingABusyThreadsWindowTakesTheForegroundNowAndActivatesItLater) {
  KeepAppBusy(500);
  EXPECT_TRUE(SetForegroundWindow(app));
  EXPECT_EQ(desktop.Now(), 0);
  EXPECT_EQ(GetForegroundWindow(), app);
  desktop.RunUntilIdle();
  EXPECT_TRUE(seen.empty());
  desktop.AdvanceBy(1000);
  EXPECT_EQ(seen, (std::vector<Seen>{{500, WM_ACTIVATE, WA_ACTIVE}}));
}

TEST_F(BusyThreadTest, KeysWaitForTheBusyThreadAndReachTheFocusItTakesWhenActivated) {
  KeepAppBusy(500);
  SetForegroundWindow(app);
  keybd_event('X', 0, 0, 0);
  PostMessageW(app, WM_RECORDED, 1, 0);
  desktop.AdvanceBy(1000);
  // The activation first; posted messages come before input, as on Windows; the key goes to the
  // focus window the activation gave the window (a plain key, not a system key).
  EXPECT_EQ(seen, (std::vector<Seen>{
                      {500, WM_ACTIVATE, WA_ACTIVE}, {500, WM_RECORDED, 1}, {500, WM_KEYDOWN, 'X'}}));
  keybd_event('X', 0, KEYEVENTF_KEYUP, 0);
}

TEST_F(BusyThreadTest, TheClockMovesOnWhileTheWorldWaitsForASleepingThread) {
  KeepAppBusy(500);
  EXPECT_EQ(SendMessageW(app, WM_ANSWER, 0, 0), 42);
  EXPECT_EQ(desktop.Now(), 500);
}

TEST_F(BusyThreadTest, TheWorldGivesUpAtOnceOnAThreadThatNoDeadlineCanWake) {
  KeepAppBusy(0);
  EXPECT_EQ(SendMessageW(app, WM_RECORDED, 7, 0), 0);
  EXPECT_EQ(desktop.Now(), 0);
  // The program does not get the message later: its sender has gone.
  SetEvent(g_never);
  desktop.AdvanceBy(10);
  EXPECT_TRUE(seen.empty());
}

TEST_F(BusyThreadTest, TheWorldGivesUpAfterItsPatienceWhileOtherThreadsKeepRunning) {
  // The other program ticks every second; the app waits forever.
  struct Ticker {
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {}
  };
  desktop.StartThread(desktop.Processes().back().pid, [] {
    SetTimer(nullptr, 0, 1000, Ticker::Tick);
    RunLoop();
  });
  KeepAppBusy(0);
  EXPECT_EQ(SendMessageW(app, WM_ANSWER, 0, 0), 0);
  EXPECT_GT(desktop.Now(), 0);
  EXPECT_LE(desktop.Now(), sim::kWorldPatience);
}

TEST_F(BusyThreadTest, StartingAProgramWaitsUntilItWaitsForInput) {
  DWORD pid = desktop.StartProcess(sim::ProcessInfo{0, u"slow.exe", u"C:\\slow.exe", u"slow.exe"}, [] {
    Sleep(300);
    CreateBusyWindow(u"slow");
    return RunLoop();
  });
  EXPECT_TRUE(desktop.WaitForInputIdle(pid, 10'000));
  EXPECT_EQ(desktop.Now(), 300);
  DWORD quitter =
      desktop.StartProcess(sim::ProcessInfo{0, u"q.exe", u"C:\\q.exe", u"q.exe"}, [] { return 3; });
  EXPECT_TRUE(desktop.WaitForInputIdle(quitter, 10'000));
  EXPECT_EQ(desktop.ProcessExitCode(quitter), 3);
}

TEST_F(BusyThreadTest, EndedThreadsLeaveNoRecordsAndTakeTheirWindowsWithThem) {
  DWORD pid = desktop.Processes().back().pid;
  size_t before = desktop.ThreadRecordCount();
  std::vector<HWND> made;
  for (int i = 0; i < 50; ++i) {
    desktop.StartThread(pid, [&made] { made.push_back(CreateBusyWindow(u"short-lived")); });
    desktop.RunUntilIdle();
  }
  EXPECT_EQ(desktop.ThreadRecordCount(), before);
  for (HWND h : made) EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(GetForegroundWindow(), other);
}

}  // namespace
