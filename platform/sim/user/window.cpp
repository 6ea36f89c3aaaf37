// Window classes and windows: registration, creation, destruction, the window tree, lookup by
// class and title, window text and window data.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "user/paint_record.h"
#include "user/user.h"

namespace sim::user {

namespace {

bool EqualsIgnoringAsciiCase(const std::u16string& a, LPCWSTR b) {
  size_t n = 0;
  while (b[n]) ++n;
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool IsAtom(LPCWSTR name) { return IS_INTRESOURCE(name); }

// Class atoms are the class's index plus 0xC000, as registered classes get on Windows.
const WindowClass* FindClass(LPCWSTR name, DWORD pid) {
  EnsureSystemClasses();
  auto& classes = State().classes;
  if (IsAtom(name)) {
    size_t index = reinterpret_cast<uintptr_t>(name);
    if (index < 0xC000 || index - 0xC000 >= classes.size()) return nullptr;
    return classes[index - 0xC000].get();
  }
  // A process's own classes hide the system classes of the same name.
  for (auto& c : classes)
    if (!c->system && c->owner_pid == pid && EqualsIgnoringAsciiCase(c->name, name)) return c.get();
  for (auto& c : classes)
    if (c->system && EqualsIgnoringAsciiCase(c->name, name)) return c.get();
  return nullptr;
}

ATOM AddClass(const WNDCLASSEXW& wc, bool system, DWORD pid) {
  if (!wc.lpszClassName || !wc.lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto& classes = State().classes;
  for (auto& c : classes) {
    if (c->system == system && (system || c->owner_pid == pid) &&
        EqualsIgnoringAsciiCase(c->name, wc.lpszClassName)) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  auto c = std::make_unique<WindowClass>();
  c->name = wc.lpszClassName;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->cls_extra = wc.cbClsExtra;
  c->wnd_extra = wc.cbWndExtra;
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->icon_small = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  c->system = system;
  c->owner_pid = pid;
  classes.push_back(std::move(c));
  return static_cast<ATOM>(0xC000 + classes.size() - 1);
}

HWND NewHandle() {
  auto& s = State();
  HWND h = reinterpret_cast<HWND>(s.next_handle);
  s.next_handle += 2;
  return h;
}

void Unlink(Window& w) {
  auto& s = State();
  if (w.parent) {
    if (Window* p = FromHandle(w.parent)) {
      auto& c = p->children;
      c.erase(std::remove(c.begin(), c.end(), w.hwnd), c.end());
    }
  } else {
    auto& t = s.top_level;
    t.erase(std::remove(t.begin(), t.end(), w.hwnd), t.end());
  }
}

// Removes timers and queued messages of a window that is going away.
void DropQueuedFor(Window& w) {
  if (!w.thread) return;
  ThreadQueue& q = Queue(*w.thread);
  auto& timers = q.timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == w.hwnd; }),
               timers.end());
  if (q.focus == w.hwnd) q.focus = nullptr;
  if (q.capture == w.hwnd) q.capture = nullptr;
  if (q.active == w.hwnd) q.active = nullptr;
}

void SendDestroy(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w) return;
  CallProc(*w, WM_DESTROY, 0, 0);
  std::vector<HWND> children = w ? w->children : std::vector<HWND>{};
  for (HWND c : children) SendDestroy(c);
}

void SendNcDestroyAndFree(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) SendNcDestroyAndFree(c);
  w = FromHandle(hwnd);
  if (!w) return;
  CallProc(*w, WM_NCDESTROY, 0, 0);
  w = FromHandle(hwnd);
  if (!w) return;
  std::u16string title = w->title;
  bool top = !w->parent && !w->message_only;
  DropQueuedFor(*w);
  Unlink(*w);
  if (w->system_menu) DestroyMenu(w->system_menu);
  if (w->menu && top) DestroyMenu(w->menu);
  Paints().Forget(hwnd);
  auto node = State().windows.extract(hwnd);  // freed at the end of this scope
  if (top) Desktop::Current().Notify([&](Observer& o) { o.OnWindowDestroyed(hwnd, title); });
}

// Destroys a window without sending it anything: its thread or process is gone.
void FreeSilently(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) FreeSilently(c);
  w = FromHandle(hwnd);
  if (!w) return;
  std::u16string title = w->title;
  bool top = !w->parent && !w->message_only;
  bool was_visible = w->Visible();
  DropQueuedFor(*w);
  Unlink(*w);
  if (w->system_menu) DestroyMenu(w->system_menu);
  Paints().Forget(hwnd);
  // Still known here, so that the activation can go to its owner.
  if (top && was_visible) OnWindowHiddenOrDestroyed(hwnd, false);
  auto node = State().windows.extract(hwnd);
  if (top) Desktop::Current().Notify([&](Observer& o) { o.OnWindowDestroyed(hwnd, title); });
}

}  // namespace

UserState::UserState() {
  auto desktop = std::make_unique<Window>();
  desktop->hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x00010010));
  desktop->style = WS_VISIBLE | WS_POPUP;
  desktop->rect = RECT{0, 0, 1280, 1024};
  desktop_class.name = u"#32769";
  desktop_class.system = true;
  desktop->cls = &desktop_class;
  this->desktop = desktop->hwnd;
  windows.emplace(desktop->hwnd, std::move(desktop));
  // When a process ends, its windows go with it, silently.
  AddProcessEndHook([](Process& p) {
    std::vector<HWND> owned;
    for (auto& [h, w] : State().windows)
      if (w->pid == p.info.pid && (!w->parent)) owned.push_back(h);
    for (HWND h : owned) FreeSilently(h);
  });
  // A thread's windows end with it, as on Windows.
  AddThreadEndHook([](Thread& t) {
    std::vector<HWND> owned;
    for (auto& [h, w] : State().windows)
      if (w->thread == &t && (!w->parent || !FromHandle(w->parent) || FromHandle(w->parent)->thread != &t))
        owned.push_back(h);
    for (HWND h : owned) FreeSilently(h);
  });
}

UserState& State() { return Desktop::Current().Module<UserState>(); }

ThreadQueue& Queue(Thread& thread) { return thread.slots.Get<ThreadQueue>(); }

ThreadQueue& CurrentQueue() { return Queue(CurrentThread()); }

Window* FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& windows = State().windows;
  auto it = windows.find(hwnd);
  if (it == windows.end()) return nullptr;
  return it->second.get();
}

Window* CheckedFromHandle(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  if (!w || w->hwnd == State().desktop) {
    if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  }
  return w;
}

void RegisterSystemClass(const WNDCLASSEXW& wc) { AddClass(wc, true, 0); }

void EnsureSystemClasses() {
  auto& s = State();
  if (s.system_classes_registered) return;
  s.system_classes_registered = true;
  RegisterDialogClass();
  RegisterControlClasses();
}

LRESULT CallProc(Window& w, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC proc = w.proc;
  if (!proc) return 0;
  return proc(w.hwnd, msg, wp, lp);
}

HWND RootOf(HWND hwnd) {
  Window* w = FromHandle(hwnd);
  while (w && w->parent) {
    Window* p = FromHandle(w->parent);
    if (!p) break;
    w = p;
  }
  return w ? w->hwnd : nullptr;
}

}  // namespace sim::user

using namespace sim::user;

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXW)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  EnsureSystemClasses();
  return AddClass(*wc, false, sim::CurrentProcess().info.pid);
}

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXW ex{sizeof(WNDCLASSEXW), wc->style,        wc->lpfnWndProc,   wc->cbClsExtra,
                 wc->cbWndExtra,      wc->hInstance,    wc->hIcon,         wc->hCursor,
                 wc->hbrBackground,   wc->lpszMenuName, wc->lpszClassName, nullptr};
  return RegisterClassExW(&ex);
}

BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE) {
  if (!lpClassName) return FALSE;
  DWORD pid = sim::CurrentProcess().info.pid;
  auto& s = State();
  const WindowClass* c = FindClass(lpClassName, pid);
  if (!c || c->system) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
  }
  for (auto& [h, w] : s.windows)
    if (w->cls == c) return FALSE;  // a class with windows cannot go
  // Keep the slot so that atoms of other classes stay valid; forget the name.
  for (auto& owned : s.classes)
    if (owned.get() == c) owned->name.clear();
  return TRUE;
}

BOOL WINAPI GetClassInfoExW(HINSTANCE, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx) {
  if (!lpszClass || !lpwcx) return FALSE;
  const WindowClass* c = FindClass(lpszClass, sim::CurrentProcess().info.pid);
  if (!c) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
  }
  lpwcx->style = c->style;
  lpwcx->lpfnWndProc = c->proc;
  lpwcx->cbClsExtra = c->cls_extra;
  lpwcx->cbWndExtra = c->wnd_extra;
  lpwcx->hInstance = c->instance;
  lpwcx->hIcon = c->icon;
  lpwcx->hIconSm = c->icon_small;
  lpwcx->hCursor = c->cursor;
  lpwcx->hbrBackground = c->background;
  lpwcx->lpszMenuName = nullptr;
  lpwcx->lpszClassName = lpszClass;
  return TRUE;
}

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
  sim::Thread& thread = sim::CurrentThread();
  if (!lpClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const WindowClass* cls = FindClass(lpClassName, thread.process->info.pid);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  auto& s = State();
  bool message_only = hWndParent == HWND_MESSAGE;
  if (message_only) hWndParent = nullptr;
  Window* parent = nullptr;
  if (hWndParent) {
    parent = FromHandle(hWndParent);
    if (!parent) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
  }
  if ((dwStyle & WS_CHILD) && !parent) {
    SetLastError(ERROR_INVALID_PARAMETER);  // a child needs a parent (Windows: error 1406)
    return nullptr;
  }

  auto w = std::make_unique<Window>();
  w->hwnd = NewHandle();
  w->cls = cls;
  w->thread = &thread;
  w->tid = thread.id;
  w->pid = thread.process->info.pid;
  w->title = lpWindowName && !IS_INTRESOURCE(lpWindowName) ? lpWindowName : u"";
  w->style = dwStyle & ~WS_VISIBLE;
  w->ex_style = dwExStyle;
  w->message_only = message_only;
  w->proc = cls->proc;
  w->instance = hInstance;
  w->extra.assign(static_cast<size_t>(std::max(cls->wnd_extra, 0)), 0);
  if (dwStyle & WS_CHILD) {
    w->parent = parent->hwnd;
    w->id = reinterpret_cast<UINT_PTR>(hMenu);
  } else {
    // A top-level window's "parent" argument is its owner (the owner's top-level window).
    w->owner = parent ? RootOf(parent->hwnd) : nullptr;
    w->menu = hMenu;
    if (!(dwStyle & WS_POPUP)) w->style |= WS_CLIPSIBLINGS | WS_CAPTION;
  }
  auto pick = [](int v, int fallback) { return v == CW_USEDEFAULT ? fallback : v; };
  int x = pick(X, 100), y = pick(Y, 100);
  int cx = pick(nWidth, 640), cy = pick(nHeight, 480);
  w->rect = RECT{x, y, x + cx, y + cy};
  w->normal_rect = w->rect;
  if (dwStyle & WS_MINIMIZE) w->minimized = true;
  HWND hwnd = w->hwnd;
  Window* raw = w.get();
  s.windows.emplace(hwnd, std::move(w));
  if (raw->parent) {
    parent->children.push_back(hwnd);
  } else if (!message_only) {
    s.top_level.insert(s.top_level.begin(), hwnd);
  }

  CREATESTRUCTW cs{lpParam,      hInstance,   hMenu,    hWndParent, cy, cx, y, x, static_cast<LONG>(dwStyle),
                   lpWindowName, lpClassName, dwExStyle};
  if (!CallProc(*raw, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (FromHandle(hwnd)) DestroyWindow(hwnd);
    return nullptr;
  }
  if (!FromHandle(hwnd)) return nullptr;
  if (CallProc(*raw, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (FromHandle(hwnd)) DestroyWindow(hwnd);
    return nullptr;
  }
  if (!FromHandle(hwnd)) return nullptr;
  RECT client = ClientRectOf(*raw);
  CallProc(*raw, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  if (!FromHandle(hwnd)) return nullptr;
  CallProc(*raw, WM_MOVE, 0, MAKELPARAM(raw->rect.left, raw->rect.top));
  if (!FromHandle(hwnd)) return nullptr;
  if (dwStyle & WS_VISIBLE) {
    int cmd = SW_SHOW;
    if (dwStyle & WS_MINIMIZE) cmd = SW_SHOWMINIMIZED;
    if (dwStyle & WS_MAXIMIZE) cmd = SW_SHOWMAXIMIZED;
    if (dwStyle & WS_CHILD) cmd = SW_SHOWNA;
    ShowWindow(hwnd, cmd);
  }
  return FromHandle(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || hWnd == State().desktop) return FALSE;
  if (w->tid != sim::CurrentThread().id) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (w->destroying) return TRUE;
  w->destroying = true;
  // Owned top-level windows go first.
  std::vector<HWND> owned;
  for (auto& [h, other] : State().windows)
    if (other->owner == hWnd && !other->destroying) owned.push_back(h);
  for (HWND h : owned) DestroyWindow(h);
  w = FromHandle(hWnd);
  if (!w) return TRUE;
  if (w->Visible()) {
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!FromHandle(hWnd)) return TRUE;
  SendDestroy(hWnd);
  SendNcDestroyAndFree(hWnd);
  return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) { return FromHandle(hWnd) != nullptr; }

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  Window* w = FromHandle(hWnd);
  while (w) {
    if (!w->Visible()) return FALSE;
    if (!w->parent) return TRUE;
    w = FromHandle(w->parent);
  }
  return FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  Window* w = FromHandle(hWnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return FALSE;
  BOOL was_disabled = (w->style & WS_DISABLED) != 0;
  if (bEnable && was_disabled) {
    w->style &= ~WS_DISABLED;
    SendMessageW(hWnd, WM_ENABLE, TRUE, 0);
  } else if (!bEnable && !was_disabled) {
    w->style |= WS_DISABLED;
    SendMessageW(hWnd, WM_ENABLE, FALSE, 0);
    ThreadQueue& q = CurrentQueue();
    if (q.focus == hWnd || IsChild(hWnd, q.focus)) SetFocus(nullptr);
  }
  return was_disabled;
}

BOOL WINAPI IsIconic(HWND hWnd) {
  Window* w = FromHandle(hWnd);
  return w && w->minimized;
}

BOOL WINAPI IsZoomed(HWND hWnd) {
  Window* w = FromHandle(hWnd);
  return w && w->maximized;
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  Window* w = FromHandle(hWnd);
  while (w && w->parent) {
    if (w->parent == hWndParent) return TRUE;
    w = FromHandle(w->parent);
  }
  return FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  if (w->style & WS_POPUP) return w->owner;
  return nullptr;
}

HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent) {
  Window* w = CheckedFromHandle(hWndChild);
  if (!w) return nullptr;
  HWND old = w->parent ? w->parent : State().desktop;
  Window* np = hWndNewParent ? FromHandle(hWndNewParent) : nullptr;
  if (hWndNewParent && !np) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  Unlink(*w);
  if (np && np->hwnd != State().desktop) {
    w->parent = np->hwnd;
    np->children.push_back(w->hwnd);
  } else {
    w->parent = nullptr;
    State().top_level.insert(State().top_level.begin(), w->hwnd);
  }
  return old;
}

HWND WINAPI GetAncestor(HWND hwnd, UINT gaFlags) {
  Window* w = CheckedFromHandle(hwnd);
  if (!w || hwnd == State().desktop) return nullptr;
  switch (gaFlags) {
    case GA_PARENT:
      return w->parent ? w->parent : State().desktop;
    case GA_ROOT:
      return RootOf(hwnd);
    case GA_ROOTOWNER: {
      HWND h = RootOf(hwnd);
      for (Window* r = FromHandle(h); r && r->owner; r = FromHandle(r->owner)) h = r->owner;
      return h;
    }
    default:
      return nullptr;
  }
}

HWND WINAPI GetDesktopWindow(void) { return State().desktop; }

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return nullptr;
  auto& s = State();
  if (uCmd == GW_CHILD) {
    const auto& list = hWnd == s.desktop ? s.top_level : w->children;
    return list.empty() ? nullptr : list.front();
  }
  if (uCmd == GW_OWNER) return w->parent ? nullptr : w->owner;
  if (hWnd == s.desktop || w->message_only) return nullptr;
  const std::vector<HWND>* siblings = &s.top_level;
  if (w->parent) siblings = &FromHandle(w->parent)->children;
  auto it = std::find(siblings->begin(), siblings->end(), hWnd);
  if (it == siblings->end()) return nullptr;
  switch (uCmd) {
    case GW_HWNDFIRST:
      return siblings->front();
    case GW_HWNDLAST:
      return siblings->back();
    case GW_HWNDNEXT:
      return std::next(it) == siblings->end() ? nullptr : *std::next(it);
    case GW_HWNDPREV:
      return it == siblings->begin() ? nullptr : *std::prev(it);
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HWND WINAPI GetTopWindow(HWND hWnd) { return GetWindow(hWnd ? hWnd : State().desktop, GW_CHILD); }

namespace {

bool Matches(const Window& w, LPCWSTR cls, LPCWSTR title) {
  if (w.remote) return false;
  if (cls) {
    if (IS_INTRESOURCE(cls)) {
      const WindowClass* c = FindClass(cls, w.pid);
      if (c != w.cls) return false;
    } else if (!EqualsIgnoringAsciiCase(w.cls->name, cls)) {
      return false;
    }
  }
  if (title && w.title != std::u16string(title)) return false;
  return true;
}

}  // namespace

namespace {

// A window handle of this desktop that stands for a window of another process.
HWND ProxyFor(const sim::ipc::RemoteWindow& remote) {
  auto& s = State();
  for (auto& [h, w] : s.windows)
    if (w->remote && w->remote->peer == remote.peer && w->remote->hwnd == remote.hwnd) return h;
  auto w = std::make_unique<Window>();
  w->hwnd = NewHandle();
  w->remote_class = std::make_unique<WindowClass>();
  w->remote_class->name = remote.class_name;
  w->cls = w->remote_class.get();
  w->title = remote.title;
  w->style = WS_VISIBLE;
  w->remote = std::make_unique<sim::ipc::RemoteWindow>(remote);
  HWND h = w->hwnd;
  s.windows.emplace(h, std::move(w));
  return h;
}

}  // namespace

HWND WINAPI FindWindowExW(HWND hWndParent, HWND hWndChildAfter, LPCWSTR lpszClass, LPCWSTR lpszWindow) {
  HWND local = FindLocalWindowEx(hWndParent, hWndChildAfter, lpszClass, lpszWindow);
  if (local) return local;
  bool top_level_search = (!hWndParent || hWndParent == State().desktop) && !hWndChildAfter;
  if (top_level_search && sim::ipc::Enabled() && !(lpszClass && IS_INTRESOURCE(lpszClass))) {
    if (auto remote = sim::ipc::FindWindow(lpszClass, lpszWindow)) return ProxyFor(*remote);
    SetLastError(ERROR_FILE_NOT_FOUND);
  }
  return nullptr;
}

HWND sim::user::FindLocalWindowEx(HWND hWndParent, HWND hWndChildAfter, LPCWSTR lpszClass,
                                  LPCWSTR lpszWindow) {
  auto& s = State();
  std::vector<HWND> list;
  if (hWndParent == HWND_MESSAGE) {
    for (auto& [h, w] : s.windows)
      if (w->message_only) list.push_back(h);
  } else if (!hWndParent || hWndParent == s.desktop) {
    list = s.top_level;
  } else {
    Window* p = CheckedFromHandle(hWndParent);
    if (!p) return nullptr;
    list = p->children;
  }
  auto it = list.begin();
  if (hWndChildAfter) {
    it = std::find(list.begin(), list.end(), hWndChildAfter);
    if (it == list.end()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    ++it;
  }
  for (; it != list.end(); ++it) {
    Window* w = FromHandle(*it);
    if (w && Matches(*w, lpszClass, lpszWindow)) return *it;
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return nullptr;
}

HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
  return FindWindowExW(nullptr, nullptr, lpClassName, lpWindowName);
}

BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  if (!lpEnumFunc) return FALSE;
  std::vector<HWND> list = State().top_level;
  for (HWND h : list)
    if (FromHandle(h) && !lpEnumFunc(h, lParam)) break;
  return TRUE;
}

BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  Window* p = CheckedFromHandle(hWndParent);
  if (!p || !lpEnumFunc) return FALSE;
  // Depth first, each child followed by its own descendants, as Windows enumerates them.
  std::vector<HWND> order;
  std::function<void(const Window&)> walk = [&](const Window& w) {
    for (HWND c : w.children) {
      order.push_back(c);
      if (Window* cw = FromHandle(c)) walk(*cw);
    }
  };
  walk(*p);
  for (HWND h : order)
    if (FromHandle(h) && !lpEnumFunc(h, lParam)) break;
  return TRUE;
}

int WINAPI GetWindowTextLengthW(HWND hWnd) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return 0;
  if (w->pid == sim::CurrentProcess().info.pid)
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
  return static_cast<int>(w->title.size());
}

// Windows of the calling process are asked with WM_GETTEXT; other processes' windows give the
// text the window manager keeps, without a message.
int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0) return 0;
  lpString[0] = 0;
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return 0;
  if (w->pid == sim::CurrentProcess().info.pid)
    return static_cast<int>(
        SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
  size_t n = std::min(w->title.size(), static_cast<size_t>(nMaxCount - 1));
  std::copy(w->title.begin(), w->title.begin() + n, lpString);
  lpString[n] = 0;
  return static_cast<int>(n);
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  if (!CheckedFromHandle(hWnd)) return FALSE;
  return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : u"")) != 0;
}

int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
  if (!lpClassName || nMaxCount <= 0) return 0;
  Window* w = CheckedFromHandle(hWnd);
  if (!w) {
    lpClassName[0] = 0;
    return 0;
  }
  const std::u16string& name = w->cls->name;
  size_t n = std::min(name.size(), static_cast<size_t>(nMaxCount - 1));
  std::copy(name.begin(), name.begin() + n, lpClassName);
  lpClassName[n] = 0;
  return static_cast<int>(n);
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return 0;
  switch (nIndex) {
    case GWL_STYLE:
      return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(w->ex_style);
    case GWLP_ID:
      return static_cast<LONG_PTR>(w->id);
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWLP_USERDATA:
      return w->user_data;
    default:
      if (nIndex >= 0 && static_cast<size_t>(nIndex) + sizeof(LONG_PTR) <= w->extra.size()) {
        LONG_PTR v;
        std::memcpy(&v, w->extra.data() + nIndex, sizeof v);
        return v;
      }
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtrW(hWnd, nIndex);
  switch (nIndex) {
    case GWL_STYLE:
      w->style = static_cast<DWORD>(dwNewLong);
      break;
    case GWL_EXSTYLE:
      w->ex_style = static_cast<DWORD>(dwNewLong);
      break;
    case GWLP_ID:
      w->id = static_cast<UINT_PTR>(dwNewLong);
      break;
    case GWLP_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(dwNewLong);
      break;
    case GWLP_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
      break;
    case GWLP_HWNDPARENT:
      if (!w->parent) w->owner = reinterpret_cast<HWND>(dwNewLong);
      break;
    case GWLP_USERDATA:
      w->user_data = dwNewLong;
      break;
    default:
      if (nIndex >= 0 && static_cast<size_t>(nIndex) + sizeof(LONG_PTR) <= w->extra.size()) {
        std::memcpy(w->extra.data() + nIndex, &dwNewLong, sizeof dwNewLong);
        break;
      }
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
  return old;
}

LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
  return static_cast<LONG>(GetWindowLongPtrW(hWnd, nIndex));
}

LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
  return static_cast<LONG>(SetWindowLongPtrW(hWnd, nIndex, dwNewLong));
}

DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return 0;
  if (lpdwProcessId) *lpdwProcessId = w->pid;
  return w->tid;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
  Window* w = CheckedFromHandle(hWnd);
  return w && w->IsChild() ? static_cast<int>(w->id) : 0;
}

BOOL WINAPI SetPropW(HWND hWnd, LPCWSTR lpString, HANDLE hData) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || !lpString || IS_INTRESOURCE(lpString)) return FALSE;
  w->props[lpString] = hData;
  return TRUE;
}

HANDLE WINAPI GetPropW(HWND hWnd, LPCWSTR lpString) {
  Window* w = FromHandle(hWnd);
  if (!w || !lpString || IS_INTRESOURCE(lpString)) return nullptr;
  auto it = w->props.find(lpString);
  return it == w->props.end() ? nullptr : it->second;
}

HANDLE WINAPI RemovePropW(HWND hWnd, LPCWSTR lpString) {
  Window* w = FromHandle(hWnd);
  if (!w || !lpString || IS_INTRESOURCE(lpString)) return nullptr;
  auto it = w->props.find(lpString);
  if (it == w->props.end()) return nullptr;
  HANDLE h = it->second;
  w->props.erase(it);
  return h;
}

// ---- Inspection for the world ---------------------------------------------------------------

namespace sim {

std::optional<WindowInfo> InspectWindow(HWND hwnd) {
  user::Window* w = user::FromHandle(hwnd);
  if (!w) return std::nullopt;
  WindowInfo info;
  info.hwnd = hwnd;
  info.class_name = w->cls->name;
  info.title = w->title;
  info.parent = w->parent;
  info.owner = w->owner;
  info.style = w->style;
  info.ex_style = w->ex_style;
  info.visible = IsWindowVisible(hwnd) != FALSE;
  info.minimized = w->minimized;
  info.enabled = !(w->style & WS_DISABLED);
  info.rect = w->rect;
  info.thread_id = w->tid;
  info.process_id = w->pid;
  info.control_id = w->IsChild() ? static_cast<int>(w->id) : 0;
  return info;
}

std::vector<HWND> TopLevelWindows() { return user::State().top_level; }

std::vector<HWND> ChildWindows(HWND parent) {
  user::Window* w = user::FromHandle(parent);
  return w ? w->children : std::vector<HWND>{};
}

}  // namespace sim
