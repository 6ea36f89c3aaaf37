#include "world/messenger_exe/window_report.h"

#include <windows.h>

#include <cstdio>
#include <set>

#include "world/common/utf8.h"

namespace world::messenger::process {

namespace {

Reporter* g_reporter = nullptr;
HHOOK g_posted_hook = nullptr;
HHOOK g_sent_hook = nullptr;
std::set<HWND> g_ever_shown;

std::string TitleOf(HWND hwnd) {
  WCHAR title[256] = {};
  GetWindowTextW(hwnd, title, 256);
  return Utf8Of(title, lstrlenW(title));
}

// "1" for the first child of its parent, "2.1" for the first child of the second, and so on up
// to the top-level window.
std::string ChildIndex(HWND hwnd) {
  std::string index;
  for (HWND child = hwnd; child && (GetWindowLongW(child, GWL_STYLE) & WS_CHILD);) {
    HWND parent = GetParent(child);
    int position = 1;
    for (HWND s = GetWindow(parent, GW_CHILD); s && s != child; s = GetWindow(s, GW_HWNDNEXT)) ++position;
    index = index.empty() ? std::to_string(position) : std::to_string(position) + "." + index;
    child = parent;
  }
  return index;
}

void Observe(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
      char text[32];
      std::snprintf(text, sizeof text, "0x%02X %s", static_cast<unsigned>(msg.wParam & 0xFF),
                    up ? "up" : "down");
      g_reporter->Report("keyboard", text);
      break;
    }
    case WM_LBUTTONDOWN: {
      std::string index = ChildIndex(msg.hwnd);
      if (!index.empty())
        g_reporter->Report("click", Quote(TitleOf(GetAncestor(msg.hwnd, GA_ROOT))) + " " + index);
      break;
    }
    default:
      break;
  }
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0 && wp == PM_REMOVE && g_reporter) Observe(*reinterpret_cast<const MSG*>(lp));
  return CallNextHookEx(g_posted_hook, code, wp, lp);
}

// Top-level windows shown and hidden by ShowWindow (lParam 0), and destroyed.
void ObserveSent(const CWPSTRUCT& c) {
  if (GetAncestor(c.hwnd, GA_ROOT) != c.hwnd || (GetWindowLongW(c.hwnd, GWL_STYLE) & WS_CHILD)) return;
  if (c.message == WM_SHOWWINDOW && c.lParam == 0) {
    if (c.wParam) g_ever_shown.insert(c.hwnd);
    g_reporter->Report("window", Quote(TitleOf(c.hwnd)) + (c.wParam ? " shown" : " hidden"));
  } else if (c.message == WM_DESTROY && g_ever_shown.erase(c.hwnd)) {
    g_reporter->Report("window", Quote(TitleOf(c.hwnd)) + " destroyed");
  }
}

LRESULT CALLBACK CallWindowHook(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0 && g_reporter) ObserveSent(*reinterpret_cast<const CWPSTRUCT*>(lp));
  return CallNextHookEx(g_sent_hook, code, wp, lp);
}

}  // namespace

void SetWindowReporter(Reporter* reporter) { g_reporter = reporter; }

void InstallWindowReport() {
  g_posted_hook = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
  g_sent_hook = SetWindowsHookExW(WH_CALLWNDPROC, CallWindowHook, nullptr, GetCurrentThreadId());
}

void RemoveWindowReport() {
  for (HHOOK* hook : {&g_posted_hook, &g_sent_hook}) {
    if (*hook) UnhookWindowsHookEx(*hook);
    *hook = nullptr;
  }
  g_ever_shown.clear();
}

}  // namespace world::messenger::process
