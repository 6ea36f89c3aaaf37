// Process snapshots.
#include <gtest/gtest.h>
#include <tlhelp32.h>
#include <windows.h>

#include <sim/debug.h>
#include <sim/desktop.h>

#include <map>
#include <string>

namespace {

class ToolhelpTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;

  std::map<DWORD, PROCESSENTRY32W> List(HANDLE snapshot) {
    std::map<DWORD, PROCESSENTRY32W> out;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
      out[entry.th32ProcessID] = entry;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    return out;
  }
};

TEST_F(ToolhelpTest, SnapshotListsTheProcessesRunningWhenItWasTaken) {
  DWORD messenger = desktop.AddProcess(sim::ProcessInfo{0, u"msgr.exe", u"C:\\msgr.exe", u"msgr.exe", 4});
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
  DWORD later = desktop.AddProcess(sim::ProcessInfo{0, u"later.exe", u"C:\\later.exe", u"later.exe"});
  desktop.EndProcess(messenger);

  auto entries = List(snapshot);
  ASSERT_TRUE(entries.count(messenger));
  EXPECT_EQ(std::u16string(entries[messenger].szExeFile), u"msgr.exe");
  EXPECT_EQ(entries[messenger].th32ParentProcessID, 4u);
  EXPECT_GE(entries[messenger].cntThreads, 1u);
  EXPECT_EQ(entries.count(later), 0u);
  EXPECT_EQ(entries.size(), desktop.Processes().size());  // System, the shell and msgr.exe, then
  CloseHandle(snapshot);
}

TEST_F(ToolhelpTest, FirstRestartsTheListing) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  EXPECT_EQ(List(snapshot).size(), List(snapshot).size());
}

TEST_F(ToolhelpTest, WrongEntrySizeFailsWithBadLength) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry - 4;
  EXPECT_FALSE(Process32FirstW(snapshot, &entry));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_LENGTH));
  EXPECT_FALSE(Process32NextW(reinterpret_cast<HANDLE>(0x999), &entry));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(ToolhelpTest, WorldCanMakeTheNextSnapshotFail) {
  sim::FailNextProcessSnapshot(ERROR_ACCESS_DENIED);
  EXPECT_EQ(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_NE(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0), INVALID_HANDLE_VALUE);
}

}  // namespace
