// Named mutexes and events across processes, and debugger output.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/debug.h>
#include <sim/desktop.h>

#include "kernel_test_support.h"

namespace {

using kernel_test::RunProcess;

class MutexTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
};

TEST_F(MutexTest, SecondCreateOfANameReportsAlreadyExistsAcrossProcesses) {
  DWORD first_error = 0, second_error = 0;
  RunProcess(desktop, u"one.exe", [&] {
    CreateMutexW(nullptr, FALSE, u"Tellbud.Single");
    first_error = GetLastError();
    Sleep(INFINITE);
    return 0;
  });
  RunProcess(desktop, u"two.exe", [&] {
    HANDLE h = CreateMutexW(nullptr, FALSE, u"Tellbud.Single");
    second_error = GetLastError();
    return h ? 0 : 1;
  });
  EXPECT_EQ(first_error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(second_error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST_F(MutexTest, NameIsFreedWhenTheLastHoldingProcessEnds) {
  DWORD holder = RunProcess(desktop, u"one.exe", [&] {
    CreateMutexW(nullptr, TRUE, u"Tellbud.Single");
    Sleep(INFINITE);
    return 0;
  });
  desktop.EndProcess(holder);
  desktop.RunUntilIdle();
  HANDLE h = CreateMutexW(nullptr, FALSE, u"Tellbud.Single");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_NE(h, nullptr);
  EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, u"Nobody"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(MutexTest, LocalPrefixNamesTheSameObjectAndNamesAreCaseSensitive) {
  CreateMutexW(nullptr, FALSE, u"Local\\Name");
  CreateMutexW(nullptr, FALSE, u"Name");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CreateMutexW(nullptr, FALSE, u"NAME");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(MutexTest, NameTakenByAnotherKindOfObjectFails) {
  CreateEventW(nullptr, TRUE, FALSE, u"Shared");
  EXPECT_EQ(CreateMutexW(nullptr, FALSE, u"Shared"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, u"Shared"), nullptr);
}

TEST_F(MutexTest, OwnerMayAcquireAgainAndOthersWaitForTheLastRelease) {
  HANDLE named = CreateMutexW(nullptr, TRUE, u"Recursive");
  EXPECT_EQ(WaitForSingleObject(named, 0), WAIT_OBJECT_0);  // the owner acquires it a second time
  bool acquired = false;
  RunProcess(desktop, u"waiter.exe", [&] {
    HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, u"Recursive");
    WaitForSingleObject(h, INFINITE);
    acquired = true;
    ReleaseMutex(h);
    return 0;
  });
  EXPECT_FALSE(acquired);
  ASSERT_TRUE(ReleaseMutex(named));
  desktop.RunUntilIdle();
  EXPECT_FALSE(acquired);  // still held once
  ASSERT_TRUE(ReleaseMutex(named));
  desktop.RunUntilIdle();
  EXPECT_TRUE(acquired);
  EXPECT_FALSE(ReleaseMutex(named));  // no longer the owner
}

TEST_F(MutexTest, ReleaseByANonOwnerFails) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
  EXPECT_FALSE(ReleaseMutex(mutex));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
  EXPECT_FALSE(ReleaseMutex(reinterpret_cast<HANDLE>(0x7777)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(MutexTest, MutexOfAnEndedProcessIsAbandonedToTheNextWaiter) {
  HANDLE mine = CreateMutexW(nullptr, FALSE, u"Abandoned");
  DWORD owner = RunProcess(desktop, u"owner.exe", [&] {
    HANDLE h = CreateMutexW(nullptr, TRUE, u"Abandoned");  // exists: ownership must be waited for
    WaitForSingleObject(h, INFINITE);
    Sleep(INFINITE);
    return 0;
  });
  EXPECT_EQ(WaitForSingleObject(mine, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  desktop.EndProcess(owner);
  desktop.RunUntilIdle();
  EXPECT_NE(WaitForSingleObject(mine, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(ReleaseMutex(mine));
}

class EventTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
};

TEST_F(EventTest, AutoResetEventReleasesOneWaiterPerSet) {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, u"Wake");
  int woken = 0;
  for (auto image : {u"a.exe", u"b.exe"}) {
    RunProcess(desktop, image, [&] {
      HANDLE h = CreateEventW(nullptr, FALSE, FALSE, u"Wake");
      WaitForSingleObject(h, INFINITE);
      ++woken;
      return 0;
    });
  }
  SetEvent(event);
  desktop.RunUntilIdle();
  EXPECT_EQ(woken, 1);
  SetEvent(event);
  desktop.RunUntilIdle();
  EXPECT_EQ(woken, 2);
}

TEST_F(EventTest, ManualResetEventStaysSetUntilReset) {
  HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  ResetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_FALSE(SetEvent(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

class DebugOutputTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
};

TEST_F(DebugOutputTest, ObserversReceiveTheTextWithTheSendersProcessId) {
  sim::DebugOutputLog log;
  DWORD pid = RunProcess(desktop, u"trace.exe", [] {
    OutputDebugStringW(u"hello\n");
    OutputDebugStringW(nullptr);
    return 0;
  });
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(log.lines()[0].pid, pid);
  EXPECT_EQ(log.Text(), u"hello\n");
}

}  // namespace
