// Window position, size, visibility, z-order, activation, the foreground window and keyboard
// focus.
//
// Activation follows Windows' per-thread model: each thread has its own active window and
// focus; the desktop has one foreground window. Activating a window makes it the foreground
// window when asked to (SetForegroundWindow), when its thread already owns the foreground, or
// when no visible window is in the foreground; otherwise it is active only within its thread.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "user/user.h"

namespace sim::user {

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr int kCaptionHeight = 23;
constexpr int kThickFrame = 8;
constexpr int kDialogFrame = 3;

bool IsTopLevel(const Window& w) { return !w.parent && !w.message_only; }

// The z-order list a window belongs to: its parent's children or the top-level windows;
// nullptr for message-only windows, which have no z-order.
std::vector<HWND>* SiblingsOf(const Window& w) {
  if (w.parent) {
    Window* p = FromHandle(w.parent);
    return p ? &p->children : nullptr;
  }
  return w.message_only ? nullptr : &State().top_level;
}

// Takes the window out of its z-order list and puts it back where `place` says.
template <typename Place>
void Reorder(Window& w, Place place) {
  std::vector<HWND>* list = SiblingsOf(w);
  if (!list) return;
  auto it = std::find(list->begin(), list->end(), w.hwnd);
  if (it == list->end()) return;
  list->erase(it);
  place(*list);
}

void MoveToTop(Window& w) {
  Reorder(w, [&](std::vector<HWND>& list) { list.insert(list.begin(), w.hwnd); });
}

void MoveToBottom(Window& w) {
  Reorder(w, [&](std::vector<HWND>& list) { list.push_back(w.hwnd); });
}

void MoveAfter(Window& w, HWND after) {
  Reorder(w, [&](std::vector<HWND>& list) {
    auto pos = std::find(list.begin(), list.end(), after);
    list.insert(pos == list.end() ? list.begin() : std::next(pos), w.hwnd);
  });
}

void Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (FromHandle(hwnd)) SendMessageW(hwnd, msg, wp, lp);
}

void NotifyShown(Window& w, bool shown) {
  if (!IsTopLevel(w)) return;
  HWND h = w.hwnd;
  Desktop::Current().Notify([&](Observer& o) {
    if (shown) {
      o.OnWindowShown(h);
    } else {
      o.OnWindowHidden(h);
    }
  });
}

// Changes visibility, sending WM_SHOWWINDOW and WM_WINDOWPOSCHANGED as Windows does.
void SetVisible(Window& w, bool visible) {
  if (w.Visible() == visible) return;
  HWND h = w.hwnd;
  Send(h, WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
  Window* again = FromHandle(h);
  if (!again) return;
  if (visible) {
    again->style |= WS_VISIBLE;
    InvalidateTree(*again);
  } else {
    again->style &= ~WS_VISIBLE;
    if (again->parent) {
      if (Window* p = FromHandle(again->parent)) p->needs_paint = true;
    }
  }
  WINDOWPOS pos{h,
                nullptr,
                again->rect.left,
                again->rect.top,
                again->rect.right - again->rect.left,
                again->rect.bottom - again->rect.top,
                static_cast<UINT>(SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                                  (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW))};
  Send(h, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if (Window* still = FromHandle(h)) {
    NotifyShown(*still, visible);
    if (!visible && IsTopLevel(*still)) OnWindowHiddenOrDestroyed(h);
    if (!visible) {
      // A hidden window loses the focus it or its children held.
      ThreadQueue& q = Queue(*still->thread);
      if (q.focus && (q.focus == h || IsChild(h, q.focus))) q.focus = nullptr;
    }
  }
}

void SendSize(Window& w, WPARAM kind) {
  RECT c = ClientRectOf(w);
  Send(w.hwnd, WM_SIZE, kind, MAKELPARAM(c.right, c.bottom));
}

}  // namespace

RECT FrameInsets(DWORD style, DWORD ex_style) {
  RECT r{0, 0, 0, 0};
  int frame = 0;
  if (style & WS_CHILD) {
    if (style & WS_BORDER) frame = 1;
  } else if (style & WS_THICKFRAME) {
    frame = kThickFrame;
  } else if (style & WS_DLGFRAME) {
    frame = kDialogFrame;
  } else if (style & WS_BORDER) {
    frame = 1;
  }
  if (ex_style & WS_EX_CLIENTEDGE) frame += 2;
  r.left = r.right = r.bottom = frame;
  r.top = frame;
  if ((style & WS_CAPTION) == WS_CAPTION && !(style & WS_CHILD)) r.top += kCaptionHeight;
  return r;
}

RECT ClientRectOf(const Window& w) {
  if (w.minimized) return RECT{0, 0, 0, 0};
  RECT in = FrameInsets(w.style, w.ex_style);
  LONG width = std::max<LONG>(0, (w.rect.right - w.rect.left) - in.left - in.right);
  LONG height = std::max<LONG>(0, (w.rect.bottom - w.rect.top) - in.top - in.bottom);
  return RECT{0, 0, width, height};
}

void InvalidateTree(Window& w) {
  w.needs_paint = true;
  w.needs_erase = true;
  for (HWND c : w.children)
    if (Window* cw = FromHandle(c)) InvalidateTree(*cw);
}

void SetForegroundInternal(HWND hwnd) {
  auto& s = State();
  if (s.foreground == hwnd) return;
  s.foreground = hwnd;
  if (hwnd) Desktop::Current().Notify([&](Observer& o) { o.OnWindowForeground(hwnd); });
}

namespace {

// Tells a thread's active window that it lost the activation to `incoming`, and its focus window
// that it lost the focus; called on that thread.
void SendDeactivation(HWND active, HWND focus, HWND incoming) {
  if (FromHandle(active)) {
    Send(active, WM_NCACTIVATE, FALSE, 0);
    Send(active, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(incoming));
  }
  if (FromHandle(focus)) Send(focus, WM_KILLFOCUS, 0, 0);
}

// The foreground moves from thread `old_tid` to `incoming`, a window of another thread: the old
// thread is no longer active, so it keeps neither an active window nor the focus (GetActiveWindow
// and GetFocus give NULL there), as on Windows. It is told at once when it is the calling thread,
// otherwise when it next takes messages.
void DeactivateOtherThread(DWORD old_tid, HWND incoming) {
  Window* in = FromHandle(incoming);
  Thread* old_thread = FindThread(old_tid);
  if (!in || !old_thread || old_thread == in->thread) return;
  ThreadQueue& q = Queue(*old_thread);
  HWND active = std::exchange(q.active, nullptr);
  HWND focus = std::exchange(q.focus, nullptr);
  if (old_thread == &CurrentThread()) {
    SendDeactivation(active, focus, incoming);
  } else {
    // An activation it has not taken yet never happens.
    std::erase_if(q.events, [](const ActivationEvent& e) { return e.activate; });
    if (active || focus) q.events.push_back(ActivationEvent{false, active, focus, incoming});
  }
}

// Whether activating a window of `thread` takes the foreground: when asked to, when no visible
// window has it, or when the thread already owns it.
bool TakesForeground(const Thread* thread, bool make_foreground) {
  Window* fg = FromHandle(State().foreground);
  return make_foreground || !fg || !fg->Visible() || fg->thread == thread;
}

DWORD ForegroundThreadId() {
  Window* fg = FromHandle(State().foreground);
  return fg && fg->thread ? fg->thread->id : 0;
}

// Activation on the window's own thread. Every message sent on the way may destroy windows, so
// only handles are kept across them.
void ActivateOnOwnThread(HWND h, bool make_foreground) {
  Window* w = FromHandle(h);
  if (!w) return;
  ThreadQueue& q = CurrentQueue();
  bool takes_foreground = TakesForeground(w->thread, make_foreground);
  DWORD old_tid = ForegroundThreadId();
  HWND old = q.active;
  if (old != h) {
    q.active = h;
    if (FromHandle(old)) {
      Send(old, WM_NCACTIVATE, FALSE, 0);
      Send(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(h));
    }
    if (Window* now = FromHandle(h)) {
      bool minimized = now->minimized;
      Send(h, WM_NCACTIVATE, TRUE, 0);
      Send(h, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, minimized ? 1 : 0), reinterpret_cast<LPARAM>(old));
    }
    // While the active window is minimised no window has the keyboard focus; keys then go to the
    // active window as system keys.
    Window* now = FromHandle(h);
    if (now && now->minimized && q.focus) {
      HWND lost = std::exchange(q.focus, nullptr);
      Send(lost, WM_KILLFOCUS, 0, 0);
    }
  }
  if (takes_foreground && FromHandle(h)) {
    DeactivateOtherThread(old_tid, h);
    SetForegroundInternal(h);
  }
}

}  // namespace

// A window of the calling thread is activated at once. A window of another thread takes the
// foreground and the top of the z-order now, and its thread handles the activation when it next
// takes messages, as Windows delivers it: the caller never waits for a busy thread.
void ActivateWindow(Window& target, bool make_foreground) {
  Window* w = FromHandle(RootOf(target.hwnd));
  if (!w || w->message_only || !w->thread) return;
  HWND h = w->hwnd;
  MoveToTop(*w);
  if (w->thread == &CurrentThread()) {
    ActivateOnOwnThread(h, make_foreground);
    return;
  }
  bool takes_foreground = TakesForeground(w->thread, make_foreground);
  Queue(*w->thread).events.push_back(ActivationEvent{true, h, nullptr, nullptr});
  if (takes_foreground) {
    DeactivateOtherThread(ForegroundThreadId(), h);
    SetForegroundInternal(h);
  }
}

void ProcessActivationEvents() {
  ThreadQueue& q = CurrentQueue();
  while (!q.events.empty()) {
    ActivationEvent e = q.events.front();
    q.events.pop_front();
    if (!e.activate) {
      SendDeactivation(e.hwnd, e.focus, e.other);
    } else {
      ActivateOnOwnThread(e.hwnd, false);
    }
  }
}

// When a top-level window is hidden or goes away, Windows activates another window: the owner
// first, when it can take the activation, else the next visible top-level window in z-order. A
// disabled window is passed over, so a modal dialog that hides before its owner is enabled
// hands the activation to some other window. A window of the calling thread is told that it is
// active (WM_NCACTIVATE, WM_ACTIVATE) at once.
void OnWindowHiddenOrDestroyed(HWND hwnd, bool notify) {
  auto& s = State();
  Window* gone = FromHandle(hwnd);
  HWND owner = gone ? gone->owner : nullptr;
  for (auto& [h, w] : s.windows) {
    (void)h;
    if (!w->thread) continue;
    ThreadQueue* q = w->thread->slots.Find<ThreadQueue>();
    if (q && q->active == hwnd) q->active = nullptr;
  }
  if (s.foreground != hwnd) return;
  s.foreground = nullptr;
  auto can_activate = [&](HWND h) {
    Window* w = FromHandle(h);
    return h != hwnd && w && w->thread && w->Visible() && !(w->style & WS_DISABLED);
  };
  HWND next = nullptr;
  if (can_activate(owner)) {
    next = owner;
  } else {
    for (HWND h : s.top_level) {
      if (can_activate(h)) {
        next = h;
        break;
      }
    }
  }
  if (!next) return;
  Window* n = FromHandle(next);
  if (notify && n->thread == &CurrentThread()) {
    // The window of this thread is activated with its messages: WM_ACTIVATE gives it back the
    // keyboard focus (a dialog its saved control), as after a modal dialog hides.
    ActivateOnOwnThread(next, false);
    return;
  }
  Queue(*n->thread).active = next;
  SetForegroundInternal(next);
}

}  // namespace sim::user

using namespace sim::user;

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return FALSE;
  if (w->remote) return sim::ipc::ShowWindow(*w->remote, nCmdShow).value_or(FALSE);
  BOOL was_visible = w->Visible() ? TRUE : FALSE;
  bool top = !w->parent && !w->message_only;
  auto restore = [&]() {
    if (w->minimized || w->maximized) {
      bool was_min = w->minimized;
      w->minimized = false;
      w->maximized = false;
      w->rect = w->normal_rect;
      if (was_min) sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnWindowRestored(hWnd); });
      InvalidateTree(*w);
      SendSize(*w, SIZE_RESTORED);
    }
  };
  switch (nCmdShow) {
    case SW_HIDE:
      SetVisible(*w, false);
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: {
      bool active_minimized = top && w->minimized && Queue(*w->thread).active == hWnd;
      SetVisible(*w, true);
      if ((w = FromHandle(hWnd))) restore();
      if ((w = FromHandle(hWnd)) && top) ActivateWindow(*w, false);
      // An active window restored from minimised is told again that it is active, so that
      // DefWindowProc gives it back the keyboard focus.
      if (active_minimized && FromHandle(hWnd)) Send(hWnd, WM_ACTIVATE, WA_ACTIVE, 0);
      break;
    }
    case SW_SHOWNOACTIVATE:
      SetVisible(*w, true);
      if ((w = FromHandle(hWnd))) restore();
      break;
    case SW_SHOW:
      SetVisible(*w, true);
      if ((w = FromHandle(hWnd)) && top) ActivateWindow(*w, false);
      break;
    case SW_SHOWNA:
      SetVisible(*w, true);
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      SetVisible(*w, true);
      if ((w = FromHandle(hWnd)) && !w->minimized) {
        if (!w->maximized) w->normal_rect = w->rect;
        w->minimized = true;
        w->rect = RECT{-32000, -32000, -32000 + 160, -32000 + 28};
        InvalidateTree(*w);
        sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnWindowMinimized(hWnd); });
        SendSize(*w, SIZE_MINIMIZED);
        // A minimised window gives up the foreground, as Windows activates the next window.
        if (nCmdShow == SW_MINIMIZE && top) OnWindowHiddenOrDestroyed(hWnd);
      }
      break;
    case SW_SHOWMAXIMIZED:
      SetVisible(*w, true);
      if ((w = FromHandle(hWnd)) && !w->maximized) {
        if (!w->minimized) w->normal_rect = w->rect;
        w->minimized = false;
        w->maximized = true;
        w->rect = RECT{0, 0, 1280, 1024};
        InvalidateTree(*w);
        SendSize(*w, SIZE_MAXIMIZED);
      }
      if ((w = FromHandle(hWnd)) && top) ActivateWindow(*w, false);
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return was_visible;
  }
  return was_visible;
}

BOOL WINAPI OpenIcon(HWND hWnd) {
  if (!CheckedFromHandle(hWnd)) return FALSE;
  SendMessageW(hWnd, WM_QUERYOPEN, 0, 0);
  ShowWindow(hWnd, SW_SHOWNORMAL);
  return TRUE;
}

BOOL WINAPI CloseWindow(HWND hWnd) {
  if (!CheckedFromHandle(hWnd)) return FALSE;
  ShowWindow(hWnd, SW_MINIMIZE);
  return TRUE;
}

BOOL WINAPI BringWindowToTop(HWND hWnd) {
  return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || w->message_only) return FALSE;
  if (w->remote) return sim::ipc::SetForegroundWindow(*w->remote).value_or(FALSE);
  ActivateWindow(*w, true);
  return TRUE;
}

HWND WINAPI GetForegroundWindow(void) {
  auto& s = State();
  return FromHandle(s.foreground) ? s.foreground : nullptr;
}

HWND WINAPI SetActiveWindow(HWND hWnd) {
  ThreadQueue& q = CurrentQueue();
  HWND old = q.active;
  if (!hWnd) {
    q.active = nullptr;
    return old;
  }
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return nullptr;
  if (w->thread != &sim::CurrentThread()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  ActivateWindow(*w, false);
  return old;
}

HWND WINAPI GetActiveWindow(void) {
  HWND h = CurrentQueue().active;
  return FromHandle(h) ? h : nullptr;
}

HWND WINAPI SetFocus(HWND hWnd) {
  ThreadQueue& q = CurrentQueue();
  HWND old = FromHandle(q.focus) ? q.focus : nullptr;
  if (hWnd) {
    Window* w = CheckedFromHandle(hWnd);
    if (!w) return nullptr;
    if (w->thread != &sim::CurrentThread()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    if (w->style & WS_DISABLED) return nullptr;
    HWND root = RootOf(hWnd);
    if (q.active != root) {
      if (Window* r = FromHandle(root)) ActivateWindow(*r, false);
    }
  }
  if (old == hWnd) return old;
  q.focus = hWnd;
  if (old) Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  if (hWnd && q.focus == hWnd) Send(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND WINAPI GetFocus(void) {
  HWND h = CurrentQueue().focus;
  return FromHandle(h) ? h : nullptr;
}

HWND WINAPI SetCapture(HWND hWnd) {
  ThreadQueue& q = CurrentQueue();
  HWND old = q.capture;
  q.capture = hWnd;
  return old;
}

HWND WINAPI GetCapture(void) { return CurrentQueue().capture; }

BOOL WINAPI ReleaseCapture(void) {
  ThreadQueue& q = CurrentQueue();
  HWND old = q.capture;
  q.capture = nullptr;
  if (FromHandle(old)) Send(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return FALSE;
  RECT old = w->rect;
  RECT next = old;
  if (!(uFlags & SWP_NOMOVE)) {
    next.right = X + (old.right - old.left);
    next.bottom = Y + (old.bottom - old.top);
    next.left = X;
    next.top = Y;
  }
  if (!(uFlags & SWP_NOSIZE)) {
    next.right = next.left + std::max(cx, 0);
    next.bottom = next.top + std::max(cy, 0);
  }
  WINDOWPOS pos{hWnd,  hWndInsertAfter, next.left, next.top, next.right - next.left, next.bottom - next.top,
                uFlags};
  Send(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  if (!(w = FromHandle(hWnd))) return FALSE;
  bool moved = next.left != old.left || next.top != old.top;
  bool sized = (next.right - next.left) != (old.right - old.left) ||
               (next.bottom - next.top) != (old.bottom - old.top);
  if (!w->minimized) w->rect = next;
  if (!w->minimized && !w->maximized) w->normal_rect = w->rect;
  if (!(uFlags & SWP_NOZORDER)) {
    if (hWndInsertAfter == HWND_TOP || hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST) {
      MoveToTop(*w);
    } else if (hWndInsertAfter == HWND_BOTTOM) {
      MoveToBottom(*w);
    } else if (FromHandle(hWndInsertAfter)) {
      MoveAfter(*w, hWndInsertAfter);
    }
  }
  if (sized && !(uFlags & SWP_NOREDRAW)) InvalidateTree(*w);
  UINT changed = uFlags & ~(SWP_SHOWWINDOW | SWP_HIDEWINDOW);
  if (!moved) changed |= SWP_NOMOVE;
  if (!sized) changed |= SWP_NOSIZE;
  pos.flags = changed;
  Send(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if (!(w = FromHandle(hWnd))) return TRUE;
  if (uFlags & SWP_SHOWWINDOW) SetVisible(*w, true);
  if ((w = FromHandle(hWnd)) && (uFlags & SWP_HIDEWINDOW)) SetVisible(*w, false);
  if ((w = FromHandle(hWnd)) && !(uFlags & SWP_NOACTIVATE) && !w->parent && !w->message_only && w->Visible())
    ActivateWindow(*w, false);
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                      SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || !lpRect) return FALSE;
  *lpRect = ClientRectOf(*w);
  return TRUE;
}

namespace {

// The screen position of a window's client area origin.
POINT ClientOrigin(const Window& w) {
  RECT in = FrameInsets(w.style, w.ex_style);
  POINT p{w.rect.left + in.left, w.rect.top + in.top};
  if (w.parent) {
    if (Window* parent = FromHandle(w.parent)) {
      POINT po = ClientOrigin(*parent);
      p.x += po.x;
      p.y += po.y;
    }
  }
  return p;
}

}  // namespace

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || !lpRect) return FALSE;
  *lpRect = w->rect;
  if (w->parent) {
    if (Window* p = FromHandle(w->parent)) {
      POINT o = ClientOrigin(*p);
      lpRect->left += o.x;
      lpRect->right += o.x;
      lpRect->top += o.y;
      lpRect->bottom += o.y;
    }
  }
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || !lpPoint) return FALSE;
  POINT o = ClientOrigin(*w);
  lpPoint->x += o.x;
  lpPoint->y += o.y;
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || !lpPoint) return FALSE;
  POINT o = ClientOrigin(*w);
  lpPoint->x -= o.x;
  lpPoint->y -= o.y;
  return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  POINT from{0, 0}, to{0, 0};
  if (Window* f = FromHandle(hWndFrom)) from = ClientOrigin(*f);
  if (Window* t = FromHandle(hWndTo)) to = ClientOrigin(*t);
  LONG dx = from.x - to.x, dy = from.y - to.y;
  for (UINT i = 0; i < cPoints; ++i) {
    lpPoints[i].x += dx;
    lpPoints[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
  if (!lpPoint) return FALSE;
  *lpPoint = State().cursor;
  return TRUE;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
  State().cursor = POINT{X, Y};
  return TRUE;
}

int WINAPI GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXSCREEN:
      return kScreenWidth;
    case SM_CYSCREEN:
      return kScreenHeight;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 17;
    case SM_CYCAPTION:
      return kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return kDialogFrame;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CYMENU:
      return 20;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return kThickFrame;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    default:
      return 0;
  }
}
