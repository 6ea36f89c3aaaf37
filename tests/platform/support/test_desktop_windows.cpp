#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "test_desktop.h"

namespace platform_test {

namespace {

constexpr DWORD kPatienceMs = 10000;

// A thread message that asks a program thread whether anything is left in its queue.
UINT ProbeMessage() {
  static const UINT message = RegisterWindowMessageW(L"TellbudPlatformTestProbe");
  return message;
}

}  // namespace

struct TestDesktop::Program {
  WString image;
  std::function<int()> main;
  HANDLE thread = nullptr;
  DWORD thread_id = 0;
  HANDLE answered = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<DWORD> pending{0};  // the queue's contents when the last probe was taken

  ~Program() {
    if (thread) CloseHandle(thread);
    CloseHandle(answered);
    CloseHandle(ready);
  }
  bool Ended() const { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }
};

namespace {

thread_local TestDesktop::Program* t_program = nullptr;

// Answers the probe when the thread takes it, after everything posted before it, and hides it
// from the program's own message loop.
LRESULT CALLBACK ProbeHook(int code, WPARAM removal, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  if (code == HC_ACTION && removal == PM_REMOVE && t_program && !msg->hwnd &&
      msg->message == ProbeMessage()) {
    msg->message = WM_NULL;
    t_program->pending = HIWORD(GetQueueStatus(QS_POSTMESSAGE | QS_INPUT | QS_PAINT | QS_HOTKEY));
    SetEvent(t_program->answered);
  }
  return CallNextHookEx(nullptr, code, removal, lp);
}

DWORD WINAPI ProgramThread(void* param) {
  auto* program = static_cast<TestDesktop::Program*>(param);
  t_program = program;
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the thread's message queue
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, ProbeHook, nullptr, GetCurrentThreadId());
  SetEvent(program->ready);
  int result = program->main();
  if (hook) UnhookWindowsHookEx(hook);
  t_program = nullptr;
  return static_cast<DWORD>(result);
}

std::string Narrow(const WString& text) { return std::string(text.begin(), text.end()); }

// A test that crashes ends the run at once with the test's name, instead of waiting for a
// debugger that never comes.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::fprintf(stderr, "\n%s.%s crashed: exception 0x%08lX at %p\n", test ? test->test_suite_name() : "?",
               test ? test->name() : "?", info->ExceptionRecord->ExceptionCode,
               info->ExceptionRecord->ExceptionAddress);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

const bool g_crash_reported = (SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX),
                               SetUnhandledExceptionFilter(ReportCrash), true);

}  // namespace

TestDesktop::TestDesktop() = default;

TestDesktop::~TestDesktop() {
  for (auto& program : programs_) {
    if (program->Ended()) continue;
    PostThreadMessageW(program->thread_id, WM_QUIT, 0, 0);
    if (WaitForSingleObject(program->thread, kPatienceMs) != WAIT_OBJECT_0) {
      ADD_FAILURE() << Narrow(program->image) << " did not end within " << kPatienceMs << " ms of WM_QUIT";
      TerminateThread(program->thread, 1);
    }
  }
}

DWORD TestDesktop::StartProgram(const WString& image, std::function<int()> main) {
  auto program = std::make_unique<Program>();
  program->image = image;
  program->main = std::move(main);
  program->thread = CreateThread(nullptr, 0, ProgramThread, program.get(), 0, &program->thread_id);
  if (!program->thread) {
    ADD_FAILURE() << "CreateThread for " << Narrow(image) << " failed: error " << GetLastError();
    return 0;
  }
  HANDLE waits[] = {program->ready, program->thread};
  WaitForMultipleObjects(2, waits, FALSE, kPatienceMs);
  programs_.push_back(std::move(program));
  RunUntilIdle();
  return GetCurrentProcessId();
}

void TestDesktop::RunUntilIdle() {
  for (auto& program : programs_) {
    DWORD deadline = GetTickCount() + kPatienceMs;
    DWORD probes = 0;
    while (!program->Ended()) {
      DWORD now = GetTickCount();
      if (static_cast<LONG>(deadline - now) <= 0) {
        ADD_FAILURE() << Narrow(program->image) << " still busy after " << kPatienceMs << " ms (" << probes
                      << " probes; queue status 0x" << std::hex << program->pending.load() << ")";
        break;
      }
      if (!PostThreadMessageW(program->thread_id, ProbeMessage(), 0, 0)) {
        Sleep(1);
        continue;
      }
      ++probes;
      HANDLE waits[] = {program->answered, program->thread};
      DWORD woke = WaitForMultipleObjects(2, waits, FALSE, deadline - now);
      if (woke == WAIT_OBJECT_0 && program->pending == 0) break;
    }
  }
}

bool RunningOnWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace platform_test
