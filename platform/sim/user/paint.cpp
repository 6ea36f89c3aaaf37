// Painting: invalid regions as a flag per window, BeginPaint/EndPaint, device contexts and the
// drawing calls the program makes, recorded so that the world can see what was drawn.
#include <windows.h>

#include "user/paint_record.h"
#include "user/user.h"

namespace sim::user {

PaintLog& Paints() { return Desktop::Current().Module<PaintLog>(); }

namespace {

HDC DcFor(HWND hwnd) { return reinterpret_cast<HDC>(reinterpret_cast<uintptr_t>(hwnd) | 1); }

HWND WindowOfDc(HDC hdc) { return reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(hdc) & ~uintptr_t{1}); }

}  // namespace

}  // namespace sim::user

using namespace sim::user;

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || !lpPaint) return nullptr;
  bool erase = w->needs_erase;
  w->needs_paint = false;
  w->needs_erase = false;
  HDC hdc = DcFor(hWnd);
  *lpPaint = PAINTSTRUCT{};
  lpPaint->hdc = hdc;
  lpPaint->rcPaint = ClientRectOf(*w);
  lpPaint->fErase = FALSE;
  if (erase) {
    if (!SendMessageW(hWnd, w->minimized ? WM_ICONERASEBKGND : WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc),
                      0))
      lpPaint->fErase = TRUE;
  }
  Paints().Begin(hWnd);
  return hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT*) { return TRUE; }

HDC WINAPI GetDC(HWND hWnd) { return DcFor(hWnd ? hWnd : GetDesktopWindow()); }

int WINAPI ReleaseDC(HWND, HDC) { return 1; }

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT*, BOOL bErase) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return FALSE;
  w->needs_paint = true;
  if (bErase) w->needs_erase = true;
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return FALSE;
  if (w->needs_paint && IsWindowVisible(hWnd)) SendMessageW(hWnd, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
  if (!hDC || !hIcon) return FALSE;
  Paints().Add(WindowOfDc(hDC), sim::PaintOp{sim::PaintOp::kIcon, X, Y, hIcon});
  return TRUE;
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH) {
  if (!hDC || !lprc) return 0;
  Paints().Add(WindowOfDc(hDC), sim::PaintOp{sim::PaintOp::kFill, lprc->left, lprc->top, nullptr});
  return 1;
}

BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (!lprc) return FALSE;
  *lprc = RECT{xLeft, yTop, xRight, yBottom};
  return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT* lprc) {
  return !lprc || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}

DWORD WINAPI GetSysColor(int) { return 0x00F0F0F0; }

HBRUSH WINAPI GetSysColorBrush(int nIndex) {
  return reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(0x100 + nIndex));
}

BOOL WINAPI MessageBeep(UINT) { return TRUE; }

namespace sim {

std::vector<PaintOp> LastPaint(HWND hwnd) { return user::Paints().Last(hwnd); }

}  // namespace sim
