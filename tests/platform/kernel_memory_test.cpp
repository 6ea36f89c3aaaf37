// Shared memory through named file mappings, and the process heap.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "kernel_test_support.h"

namespace {

class FileMappingTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
};

TEST_F(FileMappingTest, ProcessesSeeTheSameMemoryThroughOneName) {
  HANDLE mine =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, TEXT("Tellbud.Shared"));
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  auto* view = static_cast<char*>(MapViewOfFile(mine, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view[0], 0);  // paging-file memory starts zeroed
  std::strcpy(view, "from the world");

  std::string seen;
  DWORD error = 0;
  kernel_test::RunProcess(desktop, TEXT("reader.exe"), [&] {
    HANDLE h =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, TEXT("Tellbud.Shared"));
    error = GetLastError();
    auto* other = static_cast<char*>(MapViewOfFile(h, FILE_MAP_READ, 0, 0, 0));
    seen = other;
    UnmapViewOfFile(other);
    return 0;
  });
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(seen, "from the world");
  EXPECT_TRUE(UnmapViewOfFile(view));
  EXPECT_FALSE(UnmapViewOfFile(view));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
}

TEST_F(FileMappingTest, AViewKeepsTheMappingAliveAfterItsHandleCloses) {
  HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, TEXT("Kept"));
  void* view = MapViewOfFile(h, FILE_MAP_WRITE, 0, 0, 16);
  CloseHandle(h);
  CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, TEXT("Kept"));
  SKIP_ON_WINE(
      "a mapped view keeps its file mapping object (and so its name) until it is unmapped, as documented; "
      "Wine frees the name with the last handle");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  UnmapViewOfFile(view);
}

TEST_F(FileMappingTest, BadRequestsFail) {
  EXPECT_EQ(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 100, nullptr);
  EXPECT_EQ(MapViewOfFile(h, FILE_MAP_WRITE, 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(MapViewOfFile(h, FILE_MAP_READ, 0, 10, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MAPPED_ALIGNMENT));
  EXPECT_EQ(MapViewOfFile(nullptr, FILE_MAP_READ, 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SKIP_ON_WINE(
      "MapViewOfFile documents that every byte mapped lies within the mapping size; Wine maps the whole "
      "page");
  EXPECT_EQ(MapViewOfFile(h, FILE_MAP_READ, 0, 0, 101), nullptr);
}

class HeapTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
};

TEST_F(HeapTest, ZeroedAllocationsAndFrees) {
  auto* block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 64));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(block[i], 0);
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, block));
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, nullptr));
  auto* global = static_cast<BYTE*>(GlobalAlloc(GPTR, 8));
  ASSERT_NE(global, nullptr);
  EXPECT_EQ(global[7], 0);
  EXPECT_EQ(GlobalFree(global), nullptr);
}

TEST_F(HeapTest, FreeingAnUnknownPointerFailsWithoutHarm) {
  int local = 0;
  EXPECT_FALSE(HeapFree(GetProcessHeap(), 0, &local));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GlobalFree(&local), &local);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  void* block = GlobalAlloc(GMEM_FIXED, 4);
  GlobalFree(block);
  EXPECT_EQ(GlobalFree(block), block);  // a second free is refused
}

TEST_F(HeapTest, BlocksLeftByAnEndedProcessAreReleasedWithTheDesktop) {
  kernel_test::RunProcess(desktop, TEXT("leaky.exe"), [] {
    HeapAlloc(GetProcessHeap(), 0, 1000);
    GlobalAlloc(GMEM_FIXED, 1000);
    return 0;
  });
  SUCCEED();  // the leak checker of the sanitizer build would report otherwise
}

}  // namespace

#if PLATFORM_TEST_SIMULATED  // runs the two processes on the virtual clock
namespace {

// A block named after its process, as a per-process trace block is: each process has its own,
// and the name is free again once the process has ended.
TEST(FileMappingPerProcessTest, ABlockNamedByProcessIdIsThatProcesssOwnAndGoesWithIt) {
  sim::Desktop desktop;
  auto name_of = [](DWORD pid) {
    std::string n = "Object_System_stackDeepth_" + std::to_string(pid);
    return WString(n.begin(), n.end());
  };
  std::vector<DWORD> errors;
  std::vector<DWORD> pids;
  for (int i = 0; i < 2; ++i) {
    pids.push_back(kernel_test::RunProcess(desktop, TEXT("Tellbud.exe"), [&] {
      HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 2 * sizeof(void*),
                                    name_of(GetCurrentProcessId()).c_str());
      errors.push_back(GetLastError());
      auto* block = static_cast<void**>(MapViewOfFile(h, FILE_MAP_ALL_ACCESS, 0, 0, 0));
      if (!block || block[0]) return 1;  // a fresh block is zeroed
      block[0] = &errors;
      Sleep(1000);  // holds the block while the other process starts
      return 0;
    }));
  }
  EXPECT_EQ(errors, (std::vector<DWORD>{ERROR_SUCCESS, ERROR_SUCCESS}));
  EXPECT_NE(pids[0], pids[1]);
  desktop.AdvanceBy(2000);
  ASSERT_EQ(desktop.ProcessExitCode(pids[0]), 0);
  ASSERT_EQ(desktop.ProcessExitCode(pids[1]), 0);
  HANDLE again =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, name_of(pids[0]).c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(again);
}

}  // namespace
#endif
