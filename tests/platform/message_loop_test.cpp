// How the simulated desktop delivers messages and timers on its virtual clock.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>

#include <vector>

namespace {

struct Recorder {
  std::vector<std::pair<sim::VTime, UINT_PTR>> ticks;
  std::vector<UINT> messages;
};
Recorder* g_rec = nullptr;

LRESULT CALLBACK RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_TIMER) g_rec->ticks.emplace_back(sim::Desktop::Current().Now(), w);
  if (m == WM_USER || m == WM_USER + 1) g_rec->messages.push_back(m);
  if (m == WM_USER + 2) SetTimer(h, 1, 1100, nullptr);
  if (m == WM_USER + 1) return 42;
  if (m == WM_DESTROY) PostQuitMessage(7);
  return DefWindowProcW(h, m, w, l);
}

HWND CreateRecorderWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.lpszClassName = u"Recorder";
  RegisterClassW(&wc);
  return CreateWindowExW(0, u"Recorder", u"rec", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         nullptr, nullptr);
}

int RunLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

class MessageLoopTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  Recorder rec;
  HWND hwnd = nullptr;
  DWORD pid = 0;

  void SetUp() override { g_rec = &rec; }
  void StartApp(std::function<void(HWND)> setup) {
    pid = desktop.StartProcess(sim::ProcessInfo{0, u"app.exe", u"C:\\app.exe", u"app.exe"}, [this, setup] {
      hwnd = CreateRecorderWindow();
      setup(hwnd);
      return RunLoop();
    });
    desktop.RunUntilIdle();
  }
};

TEST_F(MessageLoopTest, TimerTicksAtItsIntervalOnTheVirtualClock) {
  StartApp([](HWND h) { SetTimer(h, 5, 1000, nullptr); });
  desktop.AdvanceBy(3500);
  ASSERT_EQ(rec.ticks.size(), 3u);
  EXPECT_EQ(rec.ticks[0].first, 1000);
  EXPECT_EQ(rec.ticks[1].first, 2000);
  EXPECT_EQ(rec.ticks[2].first, 3000);
  EXPECT_EQ(rec.ticks[0].second, 5u);
}

TEST_F(MessageLoopTest, SettingATimerAgainRestartsItsPeriod) {
  StartApp([](HWND h) { SetTimer(h, 1, 1000, nullptr); });
  desktop.AdvanceBy(700);
  // Setting the same id again from the window's thread replaces the interval and restarts it.
  PostMessageW(hwnd, WM_USER + 2, 0, 0);
  desktop.AdvanceBy(900);  // t = 1600: the old period would have ticked at 1000
  EXPECT_TRUE(rec.ticks.empty());
  desktop.AdvanceBy(200);  // t = 1800 = 700 + 1100
  ASSERT_EQ(rec.ticks.size(), 1u);
  EXPECT_EQ(rec.ticks[0].first, 1800);
}

TEST_F(MessageLoopTest, MsgWaitWakesForAMessagePostedToItsThread) {
  const DWORD kNotReturned = 0xDEADBEEF;
  DWORD result = kNotReturned;
  DWORD tid = 0;
  desktop.StartProcess(sim::ProcessInfo{0, u"waiter.exe", u"C:\\w.exe", u"w"}, [&] {
    tid = GetCurrentThreadId();
    result = MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    return 0;
  });
  desktop.RunUntilIdle();
  EXPECT_EQ(result, kNotReturned);
  PostThreadMessageW(tid, WM_USER, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(result, WAIT_OBJECT_0);
}

TEST_F(MessageLoopTest, PostedMessagesArriveInOrderAndSendReturnsTheResult) {
  StartApp([](HWND) {});
  PostMessageW(hwnd, WM_USER, 0, 0);
  PostMessageW(hwnd, WM_USER, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(rec.messages.size(), 2u);
  EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 42);
}

TEST_F(MessageLoopTest, QuitMessageEndsTheLoopAndTheProcess) {
  StartApp([](HWND) {});
  PostMessageW(hwnd, WM_CLOSE, 0, 0);  // DefWindowProc destroys; WM_DESTROY posts quit(7)
  desktop.RunUntilIdle();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(desktop.IsProcessRunning(pid));
  EXPECT_EQ(desktop.ProcessExitCode(pid), 7);
}

TEST_F(MessageLoopTest, SleepBlocksOnTheVirtualClockOnly) {
  sim::VTime woke = -1;
  desktop.StartProcess(sim::ProcessInfo{0, u"sleeper.exe", u"C:\\s.exe", u"s"}, [&] {
    Sleep(500);
    woke = sim::Desktop::Current().Now();
    return 0;
  });
  desktop.RunUntilIdle();
  EXPECT_EQ(woke, -1);
  desktop.AdvanceBy(499);
  EXPECT_EQ(woke, -1);
  desktop.AdvanceBy(1);
  EXPECT_EQ(woke, 500);
}

}  // namespace
