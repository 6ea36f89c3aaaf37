// Injected write, flush and move failures, and crashes in the middle of saving.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>
#include <sim/files.h>

#include <filesystem>

#include "kernel_test_support.h"

namespace {

using kernel_test::ReadAll;
using kernel_test::ScratchFolder;
using kernel_test::WriteAll;

class FileFaultTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  ScratchFolder folder;
  std::u16string target = folder.Windows("profile.ini");
  std::u16string temp = folder.Windows("profile.tmp");

  void SetUp() override { WriteAll(folder.Linux("profile.ini"), "old contents"); }

  // Saves as careful programs do: write a temporary file, flush it, move it over the old one.
  bool Save(const std::string& text) {
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr) && FlushFileBuffers(h);
    CloseHandle(h);
    return ok &&
           MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }

  DWORD RunSaver(const std::string& text, bool* finished) {
    return kernel_test::RunProcess(desktop, u"saver.exe", [this, text, finished] {
      *finished = Save(text);
      return 0;
    });
  }
};

TEST_F(FileFaultTest, NthNextWriteFailsWithTheChosenError) {
  sim::InjectFileFault(temp, sim::FileOperation::kWrite, 2, sim::FaultEffect::kFail, ERROR_DISK_FULL);
  EXPECT_TRUE(Save("first"));
  EXPECT_FALSE(Save("second"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
  EXPECT_EQ(ReadAll(folder.Linux("profile.ini")), "first");
  EXPECT_TRUE(Save("third"));
}

TEST_F(FileFaultTest, FailedMoveLeavesTheOldFile) {
  sim::InjectFileFault(target, sim::FileOperation::kMove, 1, sim::FaultEffect::kFail, ERROR_ACCESS_DENIED);
  EXPECT_FALSE(Save("new"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadAll(folder.Linux("profile.ini")), "old contents");
}

TEST_F(FileFaultTest, CrashInTheMiddleOfAWriteLeavesTheOldFileIntact) {
  sim::InjectFileFault(temp, sim::FileOperation::kWrite, 1, sim::FaultEffect::kCrash);
  bool finished = false;
  DWORD pid = RunSaver("new contents!", &finished);
  EXPECT_FALSE(finished);
  EXPECT_FALSE(desktop.IsProcessRunning(pid));
  EXPECT_EQ(desktop.ProcessExitCode(pid), static_cast<int>(0xC0000005));
  EXPECT_EQ(ReadAll(folder.Linux("profile.ini")), "old contents");
  EXPECT_EQ(ReadAll(folder.Linux("profile.tmp")), "new co");  // what was written so far
}

TEST_F(FileFaultTest, CrashBeforeTheMoveLeavesTheOldFileIntact) {
  sim::InjectFileFault(target, sim::FileOperation::kMove, 1, sim::FaultEffect::kCrash);
  bool finished = false;
  RunSaver("new", &finished);
  EXPECT_EQ(ReadAll(folder.Linux("profile.ini")), "old contents");
  EXPECT_EQ(ReadAll(folder.Linux("profile.tmp")), "new");
}

TEST_F(FileFaultTest, AnEndedProcessCannotChangeFilesWhileItUnwinds) {
  sim::InjectFileFault(temp, sim::FileOperation::kFlush, 1, sim::FaultEffect::kCrash);
  struct CleanUp {
    std::u16string path;
    ~CleanUp() { DeleteFileW(path.c_str()); }  // runs while the crashed thread unwinds
  };
  kernel_test::RunProcess(desktop, u"saver.exe", [this] {
    CleanUp cleanup{target};
    Save("new");
    return 0;
  });
  EXPECT_EQ(ReadAll(folder.Linux("profile.ini")), "old contents");
}

TEST_F(FileFaultTest, CrashOnTheWorldsThreadActsAsAFailure) {
  sim::InjectFileFault(temp, sim::FileOperation::kWrite, 1, sim::FaultEffect::kCrash, ERROR_DISK_FULL);
  EXPECT_FALSE(Save("new"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
  EXPECT_EQ(ReadAll(folder.Linux("profile.tmp")), "");
}

TEST_F(FileFaultTest, ClearedFaultsNoLongerFire) {
  sim::InjectFileFault(temp, sim::FileOperation::kWrite);
  sim::ClearFileFaults();
  EXPECT_TRUE(Save("new"));
}

}  // namespace
