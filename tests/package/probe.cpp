// What the package test sees of Tellbud on the Wine desktop, through the Windows API, and a
// stand-in for a Tellbud that does not end when asked to.
//
//   probe running SECONDS   waits for Tellbud's visible main window and its icon in the tray
//   probe present SECONDS   waits for its window or its single-instance mutex
//   probe gone SECONDS      waits until neither its window nor its single-instance mutex is there
//   probe stuck SECONDS     holds the mutex and a window of Tellbud's title that ignores the quit
//                           message the exit marker posts, until closed or SECONDS have passed
//   probe release SECONDS   closes the stand-in and waits for it to go
//   probe hold SECONDS      says "holding" and sleeps: a process that is no Tellbud, holding its
//                           executable file open
//   probe click TEXT SECONDS  clicks the first enabled visible button titled TEXT on the desktop
//
// Exits 0 when what it waited for happened, 1 otherwise, and prints what it saw.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "res/resource.h"

namespace {

constexpr wchar_t kInstanceName[] = L"Tellbud<1.0>";

HWND TellbudWindow() { return FindWindowW(nullptr, kInstanceName); }

bool MutexExists() {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, kInstanceName);
  if (!mutex) return false;
  CloseHandle(mutex);
  return true;
}

// The shell accepts a change of an icon only while it holds that icon: a change of nothing to
// the icon Tellbud adds (its main window, the id of the program's icon) tells whether it is there.
bool TrayHasIcon(HWND owner) {
  if (!owner) return false;
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = owner;
  data.uID = IDR_MAINFRAME;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD seconds) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= seconds * 1000) return false;
    Sleep(200);
  }
  return true;
}

void Report() {
  HWND window = TellbudWindow();
  std::wprintf(L"seen: window %ls, mutex %ls, tray icon %ls\n",
               window ? (IsWindowVisible(window) ? L"visible" : L"hidden") : L"none",
               MutexExists() ? L"present" : L"none", TrayHasIcon(window) ? L"present" : L"none");
}

int Running(DWORD seconds) {
  bool seen = WaitFor(
      [] {
        HWND window = TellbudWindow();
        return window && IsWindowVisible(window) && TrayHasIcon(window);
      },
      seconds);
  Report();
  return seen ? 0 : 1;
}

int Present(DWORD seconds) {
  bool present = WaitFor([] { return TellbudWindow() || MutexExists(); }, seconds);
  Report();
  return present ? 0 : 1;
}

int Gone(DWORD seconds) {
  bool gone = WaitFor([] { return !TellbudWindow() && !MutexExists(); }, seconds);
  Report();
  return gone ? 0 : 1;
}

LRESULT CALLBACK StuckProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int Stuck(DWORD seconds) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceName);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = StuckProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TellbudPackageProbeStuck";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(windowClass.lpszClassName, kInstanceName, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!mutex || !window) {
    std::wprintf(L"the stand-in could not create its mutex or window\n");
    return 1;
  }
  std::wprintf(L"stand-in running\n");
  std::fflush(stdout);
  DWORD start = GetTickCount();
  while (IsWindow(window) && GetTickCount() - start < seconds * 1000) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;  // what a Tellbud that does not end does
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT);
  }
  CloseHandle(mutex);
  return 0;
}

int Release(DWORD seconds) {
  HWND window = TellbudWindow();
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  return Gone(seconds);
}

struct ButtonSearch {
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK FindButtonIn(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ButtonSearch*>(param);
  wchar_t className[32] = {}, text[128] = {};
  GetClassNameW(child, className, 32);
  GetWindowTextW(child, text, 128);
  if (!_wcsicmp(className, L"Button") && !std::wcscmp(text, search->text) && IsWindowVisible(child) &&
      IsWindowEnabled(child)) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindButtonInTopLevel(HWND window, LPARAM param) {
  if (IsWindowVisible(window)) EnumChildWindows(window, FindButtonIn, param);
  return reinterpret_cast<ButtonSearch*>(param)->found == nullptr;
}

int Click(const wchar_t* text, DWORD seconds) {
  ButtonSearch search{text, nullptr};
  WaitFor(
      [&] {
        EnumWindows(FindButtonInTopLevel, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      seconds);
  if (!search.found) {
    std::wprintf(L"seen: no button \"%ls\"\n", text);
    return 1;
  }
  SendMessageW(search.found, BM_CLICK, 0, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && !std::wcscmp(argv[1], L"click")) return Click(argv[2], std::wcstoul(argv[3], nullptr, 10));
  if (argc != 3) {
    std::wprintf(
        L"usage: probe running|present|gone|stuck|release|hold SECONDS | probe click TEXT SECONDS\n");
    return 2;
  }
  DWORD seconds = std::wcstoul(argv[2], nullptr, 10);
  if (!std::wcscmp(argv[1], L"running")) return Running(seconds);
  if (!std::wcscmp(argv[1], L"present")) return Present(seconds);
  if (!std::wcscmp(argv[1], L"gone")) return Gone(seconds);
  if (!std::wcscmp(argv[1], L"stuck")) return Stuck(seconds);
  if (!std::wcscmp(argv[1], L"release")) return Release(seconds);
  if (!std::wcscmp(argv[1], L"hold")) {
    std::wprintf(L"holding\n");
    std::fflush(stdout);
    Sleep(seconds * 1000);
    return 0;
  }
  std::wprintf(L"unknown mode %ls\n", argv[1]);
  return 2;
}
