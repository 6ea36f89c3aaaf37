// The handles a process holds open, as GetProcessHandleCount counts them: one more for each
// handle opened, one fewer for each closed, none once the process has ended.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>
#include <sim/handles.h>

#include "kernel_test_support.h"

namespace {

using kernel_test::RunProcess;

TEST(HandleCount, FollowsOpenAndCloseAndEndsWithTheProcess) {
  sim::Desktop desktop;
  HANDLE second = nullptr;
  size_t before = 0, opened = 0, closed = 0;
  bool finish = false;
  DWORD pid = RunProcess(desktop, u"counter.exe", [&] {
    before = sim::OpenHandleCount(GetCurrentProcessId());
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    second = CreateEventW(nullptr, TRUE, FALSE, u"Counter.Event");
    opened = sim::OpenHandleCount(GetCurrentProcessId());
    CloseHandle(first);
    closed = sim::OpenHandleCount(GetCurrentProcessId());
    while (!finish) Sleep(10);
    return 0;
  });
  EXPECT_EQ(opened, before + 2);
  EXPECT_EQ(closed, before + 1);
  EXPECT_EQ(sim::OpenHandleCount(pid), before + 1);  // the world sees the same count
  finish = true;
  desktop.AdvanceBy(20);
  EXPECT_FALSE(desktop.IsProcessRunning(pid));
  EXPECT_EQ(sim::OpenHandleCount(pid), 0u);
}

}  // namespace
