// Kernel functions that belong to the scheduler and the process model: errors, threads,
// sleeping and waiting, handles, the clock, the command line and the module path.
#include <windows.h>

#include <algorithm>

#include "core/core.h"

using sim::CurrentProcess;
using sim::CurrentThread;

namespace {

constexpr uintptr_t kCurrentProcessPseudo = static_cast<uintptr_t>(-1);
constexpr uintptr_t kCurrentThreadPseudo = static_cast<uintptr_t>(-2);
constexpr LONGLONG kPerformanceFrequency = 10'000'000;  // 100 ns ticks, as current Windows reports

struct ThreadStart {
  LPTHREAD_START_ROUTINE routine;
  LPVOID parameter;
};

}  // namespace

DWORD WINAPI GetLastError(void) { return CurrentThread().last_error; }

void WINAPI SetLastError(DWORD dwErrCode) { CurrentThread().last_error = dwErrCode; }

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress,
                           LPVOID lpParameter, DWORD, LPDWORD lpThreadId) {
  if (!lpStartAddress) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  sim::Process& process = CurrentProcess();
  ThreadStart start{lpStartAddress, lpParameter};
  sim::Thread* t = sim::SpawnThread(process, [start] {
    DWORD code = start.routine(start.parameter);
    sim::CurrentThread().handle_object->exit_code = code;
  });
  if (lpThreadId) *lpThreadId = t->id;
  return sim::AddHandle(t->handle_object, process.info.pid);
}

void WINAPI ExitThread(DWORD dwExitCode) {
  CurrentThread().handle_object->exit_code = dwExitCode;
  throw sim::ThreadExit{};
}

BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
  auto object = sim::LookupHandleAs<sim::ThreadHandleObject>(hThread);
  if (!object || !lpExitCode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *lpExitCode = object->ended ? object->exit_code : STILL_ACTIVE;
  return TRUE;
}

DWORD WINAPI GetCurrentProcessId(void) { return CurrentProcess().info.pid; }

DWORD WINAPI GetCurrentThreadId(void) { return CurrentThread().id; }

HANDLE WINAPI GetCurrentProcess(void) { return reinterpret_cast<HANDLE>(kCurrentProcessPseudo); }

HANDLE WINAPI GetCurrentThread(void) { return reinterpret_cast<HANDLE>(kCurrentThreadPseudo); }

void WINAPI Sleep(DWORD dwMilliseconds) {
  if (dwMilliseconds == 0) return;
  if (dwMilliseconds == INFINITE) {
    sim::Block(sim::WaitSpec{[] { return false; }, {}});
    return;
  }
  sim::SleepUntil(sim::Now() + dwMilliseconds);
}

namespace sim {

std::optional<std::vector<std::shared_ptr<KernelObject>>> WaitObjects(DWORD count, const HANDLE* handles) {
  std::vector<std::shared_ptr<KernelObject>> objects;
  for (DWORD i = 0; i < count; ++i) {
    auto object = LookupHandle(handles[i]);
    if (!object) {
      ::SetLastError(ERROR_INVALID_HANDLE);
      return std::nullopt;
    }
    objects.push_back(std::move(object));
  }
  return objects;
}

int SatisfiedIndex(const std::vector<std::shared_ptr<KernelObject>>& objects, bool all) {
  if (objects.empty()) return -1;
  if (all) {
    for (auto& o : objects)
      if (!o->Signaled()) return -1;
    return 0;
  }
  for (size_t i = 0; i < objects.size(); ++i)
    if (objects[i]->Signaled()) return static_cast<int>(i);
  return -1;
}

}  // namespace sim

DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll,
                                    DWORD dwMilliseconds) {
  if (nCount == 0 || !lpHandles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  auto objects = sim::WaitObjects(nCount, lpHandles);
  if (!objects) return WAIT_FAILED;
  std::optional<sim::VTime> deadline;
  if (dwMilliseconds != INFINITE) deadline = sim::Now() + dwMilliseconds;
  auto satisfied = [&] { return sim::SatisfiedIndex(*objects, bWaitAll); };
  sim::Block(sim::WaitSpec{[&] { return satisfied() >= 0 || (deadline && sim::Now() >= *deadline); },
                           [&]() -> std::optional<sim::VTime> { return deadline; }});
  int index = satisfied();
  if (index < 0) return WAIT_TIMEOUT;
  if (bWaitAll) {
    for (auto& o : *objects) o->Acquire();
  } else {
    (*objects)[index]->Acquire();
  }
  return WAIT_OBJECT_0 + static_cast<DWORD>(index);
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
  uintptr_t value = reinterpret_cast<uintptr_t>(hObject);
  if (value == kCurrentProcessPseudo || value == kCurrentThreadPseudo) return TRUE;
  if (!sim::CloseHandleInternal(hObject)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(sim::Now()); }

ULONGLONG WINAPI GetTickCount64(void) { return static_cast<ULONGLONG>(sim::Now()); }

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount) {
  if (!lpPerformanceCount) return FALSE;
  lpPerformanceCount->QuadPart = sim::Now() * (kPerformanceFrequency / 1000);
  return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency) {
  if (!lpFrequency) return FALSE;
  lpFrequency->QuadPart = kPerformanceFrequency;
  return TRUE;
}

LPWSTR WINAPI GetCommandLineW(void) { return CurrentProcess().info.command_line.data(); }

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  if (lpModuleName) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return CurrentProcess().instance;
}

// Copies the executable's path; a buffer that is too small receives the path cut to nSize - 1
// characters and a terminator, the result is nSize and the error ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  sim::Process& process = CurrentProcess();
  if (hModule && hModule != process.instance) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::u16string& path = process.info.module_path;
  if (path.size() < nSize) {
    std::copy(path.begin(), path.end(), lpFilename);
    lpFilename[path.size()] = 0;
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
  }
  std::copy(path.begin(), path.begin() + (nSize - 1), lpFilename);
  lpFilename[nSize - 1] = 0;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return nSize;
}
