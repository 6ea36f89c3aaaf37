// The Windows test driver's entry point: GoogleTest, the folders the driver needs from the
// environment (TELLBUD_BIN_DIR, TELLBUD_RESULTS_DIR; tools/wine-test.sh sets them), and a
// watchdog that ends a test running past its time limit with what the desktop showed, so that a
// Wine that hangs never hangs the stage silently.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/wine/desktop.h"
#include "tests/wine/tellbud_run.h"

namespace wine_test {
namespace {

constexpr DWORD kTestLimitMs = 240000;

class CWatchdog : public ::testing::EmptyTestEventListener {
 public:
  CWatchdog() : m_hReset(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    HANDLE thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    if (thread) CloseHandle(thread);
  }

 private:
  void OnTestStart(const ::testing::TestInfo& test) override {
    m_strName = std::string(test.test_suite_name()) + "." + test.name();
    InterlockedExchange(&m_bRunning, 1);
    SetEvent(m_hReset);
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    InterlockedExchange(&m_bRunning, 0);
    SetEvent(m_hReset);
  }

  static DWORD WINAPI Watch(LPVOID param) {
    auto* self = static_cast<CWatchdog*>(param);
    for (;;) {
      if (WaitForSingleObject(self->m_hReset, kTestLimitMs) != WAIT_TIMEOUT || !self->m_bRunning) continue;
      std::printf("\n%s did not end within %lu s; %s%s", self->m_strName.c_str(), kTestLimitMs / 1000,
                  DescribeWindows().c_str(), CTellbudRun::CurrentOutputText().c_str());
      std::fflush(stdout);
      ExitProcess(3);
    }
  }

  HANDLE m_hReset;
  volatile LONG m_bRunning = 0;
  std::string m_strName;
};

// A test that crashes ends the run at once with the test's name and the module and offset of
// the fault, instead of waiting for a debugger that never comes.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  void* address = info->ExceptionRecord->ExceptionAddress;
  HMODULE module = nullptr;
  char name[MAX_PATH] = "?";
  if (GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &module))
    GetModuleFileNameA(module, name, MAX_PATH);
  std::printf("\n%s.%s crashed: exception 0x%08lX at %p (%s+0x%llx)\n%s%s",
              test ? test->test_suite_name() : "?", test ? test->name() : "?",
              info->ExceptionRecord->ExceptionCode, address, name,
              static_cast<unsigned long long>(static_cast<BYTE*>(address) - reinterpret_cast<BYTE*>(module)),
              DescribeWindows().c_str(), CTellbudRun::CurrentOutputText().c_str());
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace
}  // namespace wine_test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (wine_test::BuildFolder().empty()) {
    std::fprintf(stderr,
                 "TELLBUD_BIN_DIR must name the folder of the built Tellbud.exe (see tools/wine-test.sh)\n");
    return 2;
  }
  ::testing::UnitTest::GetInstance()->listeners().Append(new wine_test::CWatchdog);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(wine_test::ReportCrash);
  return RUN_ALL_TESTS();
}
