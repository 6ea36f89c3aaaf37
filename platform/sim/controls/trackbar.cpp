// The "msctls_trackbar32" class: a position within a range (0..100 unless set), moved by the
// program (TBM_SETPOS and the range messages, which tell nobody) or by the user, whose moves
// reach the parent as WM_HSCROLL (WM_VSCROLL for TBS_VERT) and, when the mouse lets go,
// NM_RELEASEDCAPTURE.
#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "controls/control.h"
#include "controls/trackbar.h"

namespace sim::controls {

namespace {

LONG Clamp(const TrackbarData& d, LONG v) { return std::clamp(v, d.min, std::max(d.min, d.max)); }

void Notify(HWND hwnd, WORD code, LONG pos) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  UINT msg = (GetWindowLongW(hwnd, GWL_STYLE) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  SendMessageW(parent, msg, MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(hwnd));
}

void SetPos(HWND hwnd, TrackbarData& d, LONG pos) {
  LONG clamped = Clamp(d, pos);
  if (clamped == d.pos) return;
  d.pos = clamped;
  InvalidateRect(hwnd, nullptr, FALSE);
}

// The mouse drags the thumb to `pos` and lets go: the thumb tracks, settles and the capture is
// released, as the parent sees a drag.
void Drag(HWND hwnd, LONG pos) {
  TrackbarData* d = DataOf<TrackbarData>(hwnd);
  if (!d) return;
  SetFocus(hwnd);
  if (!(d = DataOf<TrackbarData>(hwnd))) return;
  SetPos(hwnd, *d, pos);
  LONG now = d->pos;
  Notify(hwnd, TB_THUMBTRACK, now);
  Notify(hwnd, TB_THUMBPOSITION, now);
  Notify(hwnd, TB_ENDTRACK, now);
  NMHDR header{};
  NotifyParent(hwnd, NM_RELEASEDCAPTURE, &header);
}

// Keys move by a line or a page, or to either end; the parent hears the step, then
// TB_ENDTRACK when the key is released.
void OnKey(HWND hwnd, TrackbarData& d, WPARAM key) {
  WORD code;
  LONG target;
  switch (key) {
    case VK_LEFT:
    case VK_UP:
      code = TB_LINEUP;
      target = d.pos - d.line;
      break;
    case VK_RIGHT:
    case VK_DOWN:
      code = TB_LINEDOWN;
      target = d.pos + d.line;
      break;
    case VK_PRIOR:
      code = TB_PAGEUP;
      target = d.pos - d.page;
      break;
    case VK_NEXT:
      code = TB_PAGEDOWN;
      target = d.pos + d.page;
      break;
    case VK_HOME:
      code = TB_TOP;
      target = d.min;
      break;
    case VK_END:
      code = TB_BOTTOM;
      target = d.max;
      break;
    default:
      return;
  }
  SetPos(hwnd, d, target);
  Notify(hwnd, code, d.pos);
}

void SetRange(HWND hwnd, TrackbarData& d, LONG min, LONG max) {
  d.min = min;
  d.max = max;
  d.page = std::max<LONG>(1, (max - min) / 5);
  SetPos(hwnd, d, d.pos);
}

LRESULT CALLBACK TrackbarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) AttachData<TrackbarData>(hwnd);
  TrackbarData* d = DataOf<TrackbarData>(hwnd);
  if (!d) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WorldInputMessage()) {
    if (IsWindowEnabled(hwnd)) Drag(hwnd, static_cast<LONG>(lp));
    return 0;
  }
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      OnKey(hwnd, *d, wp);
      return 0;
    case WM_KEYUP:
      if (wp == VK_LEFT || wp == VK_RIGHT || wp == VK_UP || wp == VK_DOWN || wp == VK_PRIOR ||
          wp == VK_NEXT || wp == VK_HOME || wp == VK_END)
        Notify(hwnd, TB_ENDTRACK, d->pos);
      return 0;
    case TBM_GETPOS:
      return d->pos;
    case TBM_SETPOS:
      SetPos(hwnd, *d, static_cast<LONG>(lp));
      return 0;
    case TBM_GETRANGEMIN:
      return d->min;
    case TBM_GETRANGEMAX:
      return d->max;
    case TBM_SETRANGE:
      SetRange(hwnd, *d, static_cast<SHORT>(LOWORD(lp)), static_cast<SHORT>(HIWORD(lp)));
      return 0;
    case TBM_SETRANGEMIN:
      SetRange(hwnd, *d, static_cast<LONG>(lp), d->max);
      return 0;
    case TBM_SETRANGEMAX:
      SetRange(hwnd, *d, d->min, static_cast<LONG>(lp));
      return 0;
    case TBM_SETTICFREQ:
      d->tic_freq = static_cast<LONG>(wp);
      return 0;
    case TBM_SETPAGESIZE:
      return std::exchange(d->page, static_cast<LONG>(lp));
    case TBM_GETPAGESIZE:
      return d->page;
    case TBM_SETLINESIZE:
      return std::exchange(d->line, static_cast<LONG>(lp));
    case TBM_GETLINESIZE:
      return d->line;
    case TBM_SETSEL:
      d->sel_start = static_cast<SHORT>(LOWORD(lp));
      d->sel_end = static_cast<SHORT>(HIWORD(lp));
      return 0;
    case TBM_GETSELSTART:
      return d->sel_start;
    case TBM_GETSELEND:
      return d->sel_end;
    case TBM_CLEARSEL:
      d->sel_start = d->sel_end = 0;
      return 0;
    case TBM_SETTIC:
    case TBM_CLEARTICS:
      return TRUE;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

void RegisterTrackbarClass() {
  RegisterControlClass(TRACKBAR_CLASSW, TrackbarProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

}  // namespace sim::controls
