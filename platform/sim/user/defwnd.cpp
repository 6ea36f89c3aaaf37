// The default window procedure: what a window does with a message its own procedure passes on.
#include <windows.h>

#include <algorithm>

#include "user/user.h"

using namespace sim::user;

namespace {

LRESULT CopyTitle(const Window& w, WPARAM max, LPARAM buffer) {
  auto* out = reinterpret_cast<LPWSTR>(buffer);
  if (!out || max == 0) return 0;
  size_t n = std::min(w.title.size(), static_cast<size_t>(max - 1));
  std::copy(w.title.begin(), w.title.begin() + n, out);
  out[n] = 0;
  return static_cast<LRESULT>(n);
}

LRESULT OnSysCommand(HWND hWnd, WPARAM wParam) {
  switch (wParam & 0xFFF0) {
    case SC_CLOSE:
      SendMessageW(hWnd, WM_CLOSE, 0, 0);
      return 0;
    case SC_MINIMIZE:
      ShowWindow(hWnd, SW_MINIMIZE);
      return 0;
    case SC_MAXIMIZE:
      ShowWindow(hWnd, SW_MAXIMIZE);
      return 0;
    case SC_RESTORE:
      ShowWindow(hWnd, SW_RESTORE);
      return 0;
    default:
      return 0;
  }
}

}  // namespace

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = FromHandle(hWnd);
  if (!w) return 0;
  switch (Msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->title = cs->lpszName;
      return TRUE;
    }
    case WM_SETTEXT:
      w->title = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
      return TRUE;
    case WM_GETTEXT:
      return CopyTitle(*w, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->title.size());
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    case WM_SYSCOMMAND:
      return OnSysCommand(hWnd, wParam);
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (GetKeyState(VK_MENU) & 0x8000)) PostMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hWnd, &ps);
      EndPaint(hWnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
    case WM_ICONERASEBKGND:
      return 1;
    case WM_QUERYOPEN:
      return TRUE;
    case WM_SETICON: {
      HICON old;
      if (wParam == ICON_BIG) {
        old = w->icon_big;
        w->icon_big = reinterpret_cast<HICON>(lParam);
      } else {
        old = w->icon_small;
        w->icon_small = reinterpret_cast<HICON>(lParam);
      }
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->icon_big : w->icon_small);
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(w->cls->icon);
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!pos) return 0;
      if (!(pos->flags & SWP_NOMOVE)) SendMessageW(hWnd, WM_MOVE, 0, MAKELPARAM(pos->x, pos->y));
      if (!(pos->flags & SWP_NOSIZE) && (w = FromHandle(hWnd))) {
        RECT c = ClientRectOf(*w);
        WPARAM kind = w->minimized ? SIZE_MINIMIZED : (w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
        SendMessageW(hWnd, WM_SIZE, kind, MAKELPARAM(c.right, c.bottom));
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hWnd);
      return 0;
    case WM_MOUSEACTIVATE:
      return 1;  // MA_ACTIVATE
    case WM_NCACTIVATE:
      return TRUE;
    case WM_GETDLGCODE:
    case WM_NOTIFY:
      return 0;
    default:
      return 0;
  }
}
