// Message queues: posting and sending between threads, retrieval in Windows' order (sent
// messages, posted messages, the quit message, painting, timers), dispatch and timers on the
// virtual clock.
#include <windows.h>

#include <algorithm>

#include "user/user.h"

namespace sim::user {

namespace {

DWORD MessageTime() { return static_cast<DWORD>(Now()); }

bool InFilter(UINT msg, UINT min, UINT max) {
  if (min == 0 && max == 0) return true;
  return msg >= min && msg <= max;
}

// Whether a message for `target` passes GetMessage's window filter.
bool WindowMatches(HWND filter, HWND target) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return target == nullptr;
  return target == filter || IsChild(filter, target);
}

std::optional<VTime> EarliestTimer(const ThreadQueue& q) {
  std::optional<VTime> best;
  for (const Timer& t : q.timers)
    if (!best || t.due < *best) best = t.due;
  return best;
}

Window* WindowNeedingPaint(Thread& thread, HWND filter) {
  for (auto& [h, w] : State().windows) {
    if (w->thread != &thread || !w->needs_paint) continue;
    if (!IsWindowVisible(h)) continue;
    if (!WindowMatches(filter, h)) continue;
    return w.get();
  }
  return nullptr;
}

// The first queued key that passes the filters, as the message it becomes now.
std::optional<MSG> MatchingInput(const ThreadQueue& q, HWND filter, UINT min, UINT max,
                                 std::deque<KeyInput>::const_iterator* at = nullptr) {
  for (auto it = q.input.begin(); it != q.input.end(); ++it) {
    auto m = ResolveKeyInput(q, *it);
    if (!m || !WindowMatches(filter, m->hwnd) || !InFilter(m->message, min, max)) continue;
    if (at) *at = it;
    return m;
  }
  return std::nullopt;
}

bool HasWork(Thread& thread, HWND filter, UINT min, UINT max) {
  ThreadQueue& q = Queue(thread);
  if (!q.sent.empty() || !q.events.empty()) return true;
  for (const MSG& m : q.posted)
    if (WindowMatches(filter, m.hwnd) && InFilter(m.message, min, max)) return true;
  if (MatchingInput(q, filter, min, max)) return true;
  if (q.quit_posted) return true;
  if (InFilter(WM_PAINT, min, max) && WindowNeedingPaint(thread, filter)) return true;
  if (InFilter(WM_TIMER, min, max)) {
    for (const Timer& t : q.timers)
      if (t.due <= Now() && WindowMatches(filter, t.hwnd)) return true;
  }
  return false;
}

// Takes the next message for the thread, in Windows' priority order. Sent messages are
// processed on the way and never returned.
bool TakeMessage(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  Thread& thread = CurrentThread();
  ThreadQueue& q = Queue(thread);
  ProcessIncomingSent();
  ProcessActivationEvents();
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (!WindowMatches(filter, it->hwnd) || !InFilter(it->message, min, max)) continue;
    *out = *it;
    if (remove) q.posted.erase(it);
    q.last = *out;
    return true;
  }
  // Keys whose window is gone are dropped on the way.
  std::erase_if(q.input, [&](const KeyInput& k) { return !ResolveKeyInput(q, k); });
  std::deque<KeyInput>::const_iterator key;
  if (auto m = MatchingInput(q, filter, min, max, &key)) {
    *out = *m;
    if (remove) q.input.erase(key);
    q.last = *out;
    return true;
  }
  if (q.quit_posted) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quit_code), 0, MessageTime(), State().cursor};
    if (remove) q.quit_posted = false;
    q.last = *out;
    return true;
  }
  if (InFilter(WM_PAINT, min, max)) {
    if (Window* w = WindowNeedingPaint(thread, filter)) {
      *out = MSG{w->hwnd, WM_PAINT, 0, 0, MessageTime(), State().cursor};
      q.last = *out;
      return true;
    }
  }
  if (InFilter(WM_TIMER, min, max)) {
    Timer* due = nullptr;
    for (Timer& t : q.timers)
      if (t.due <= Now() && WindowMatches(filter, t.hwnd) && (!due || t.due < due->due)) due = &t;
    if (due) {
      *out = MSG{due->hwnd,     WM_TIMER,      due->id, reinterpret_cast<LPARAM>(due->proc),
                 MessageTime(), State().cursor};
      if (remove) {
        // Periods that passed while the thread was busy collapse into this one message.
        VTime interval = std::max<VTime>(due->interval, 1);
        while (due->due <= Now()) due->due += interval;
      }
      q.last = *out;
      return true;
    }
  }
  return false;
}

// Blocks in a message wait: meanwhile the thread counts as waiting for input (WaitForInputIdle).
template <typename Ready, typename Wake>
void WaitForInput(Thread& self, Ready ready, Wake wake) {
  self.waits_for_input = true;
  struct Reset {
    Thread& t;
    ~Reset() { t.waits_for_input = false; }
  } reset{self};
  sim::Block(sim::WaitSpec{ready, wake});
}

void Post(ThreadQueue& q, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  q.posted.push_back(MSG{hwnd, msg, wp, lp, MessageTime(), State().cursor});
}

}  // namespace

bool ProcessIncomingSent() {
  ThreadQueue& q = CurrentQueue();
  bool any = false;
  while (!q.sent.empty()) {
    std::shared_ptr<SentMessage> sm = q.sent.front();
    q.sent.pop_front();
    any = true;
    auto previous = q.current_incoming;
    q.current_incoming = sm;
    LRESULT result = 0;
    if (Window* w = FromHandle(sm->hwnd)) result = CallProc(*w, sm->msg, sm->wparam, sm->lparam);
    q.current_incoming = previous;
    if (!sm->done) {
      sm->result = result;
      sm->done = true;
    }
  }
  return any;
}

}  // namespace sim::user

using namespace sim::user;

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!hWnd) return PostThreadMessageW(GetCurrentThreadId(), Msg, wParam, lParam);
  Window* w = CheckedFromHandle(hWnd);
  if (w && w->remote) return sim::ipc::PostMessage(*w->remote, Msg, wParam, lParam).value_or(FALSE);
  if (!w || !w->thread) return FALSE;
  Post(Queue(*w->thread), hWnd, Msg, wParam, lParam);
  sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnMessagePosted(hWnd, Msg, wParam, lParam); });
  return TRUE;
}

BOOL WINAPI PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
  sim::Thread* t = sim::FindThread(idThread);
  if (!t) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Post(Queue(*t), nullptr, Msg, wParam, lParam);
  return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
  ThreadQueue& q = CurrentQueue();
  q.quit_posted = true;
  q.quit_code = nExitCode;
}

namespace {

std::shared_ptr<SentMessage> QueueSent(Window& w, UINT msg, WPARAM wp, LPARAM lp, bool notify_only = false) {
  auto sm = std::make_shared<SentMessage>();
  sm->hwnd = w.hwnd;
  sm->msg = msg;
  sm->wparam = wp;
  sm->lparam = lp;
  sm->notify_only = notify_only;
  Queue(*w.thread).sent.push_back(sm);
  return sm;
}

// Takes a message the sender no longer waits for out of the receiver's queue, unless the
// receiver has begun with it: its parameters may point into the sender's memory.
void Withdraw(const std::shared_ptr<SentMessage>& sm, DWORD target_tid) {
  sm->done = true;
  if (sim::Thread* target = sim::FindThread(target_tid)) {
    auto& sent = Queue(*target).sent;
    sent.erase(std::remove(sent.begin(), sent.end(), sm), sent.end());
  }
}

// Waits for the reply to a message sent to another thread, serving what other threads send to
// this one meanwhile, as Windows does. False when the receiver went away or the deadline passed
// first (a late reply is then dropped), or when the world's wait was given up because the
// receiver can never answer.
bool AwaitReply(const std::shared_ptr<SentMessage>& sm, DWORD target_tid, HWND hwnd,
                std::optional<sim::VTime> deadline) {
  ThreadQueue& mine = CurrentQueue();
  auto gone = [&] { return !sim::FindThread(target_tid) || !FromHandle(hwnd); };
  auto late = [&] { return deadline && sim::Now() >= *deadline; };
  while (!sm->done) {
    bool answered =
        sim::Block(sim::WaitSpec{[&] { return sm->done || !mine.sent.empty() || gone() || late(); },
                                 [&]() -> std::optional<sim::VTime> { return deadline; }});
    if (sm->done) break;
    if (!answered || gone() || late()) {
      Withdraw(sm, target_tid);
      return false;
    }
    ProcessIncomingSent();
  }
  return true;
}

}  // namespace

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return 0;
  if (w->thread == &sim::CurrentThread()) return CallProc(*w, Msg, wParam, lParam);
  if (!w->thread || w->thread->state == sim::Thread::State::kExited) return 0;
  DWORD target = w->thread->id;
  auto sm = QueueSent(*w, Msg, wParam, lParam);
  return AwaitReply(sm, target, hWnd, std::nullopt) ? sm->result : 0;
}

LRESULT WINAPI SendMessageTimeoutW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam, UINT, UINT uTimeout,
                                   PDWORD_PTR lpdwResult) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w) return 0;
  if (w->thread == &sim::CurrentThread()) {
    LRESULT r = CallProc(*w, Msg, wParam, lParam);
    if (lpdwResult) *lpdwResult = static_cast<DWORD_PTR>(r);
    return 1;
  }
  if (!w->thread || w->thread->state == sim::Thread::State::kExited) return 0;
  DWORD target = w->thread->id;
  auto sm = QueueSent(*w, Msg, wParam, lParam);
  if (!AwaitReply(sm, target, hWnd, sim::Now() + uTimeout)) {
    SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  if (lpdwResult) *lpdwResult = static_cast<DWORD_PTR>(sm->result);
  return 1;
}

BOOL WINAPI SendNotifyMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = CheckedFromHandle(hWnd);
  if (!w || !w->thread) return FALSE;
  if (w->thread == &sim::CurrentThread()) {
    CallProc(*w, Msg, wParam, lParam);
    return TRUE;
  }
  QueueSent(*w, Msg, wParam, lParam, true);
  return TRUE;
}

BOOL WINAPI InSendMessage(void) { return CurrentQueue().current_incoming != nullptr; }

BOOL WINAPI ReplyMessage(LRESULT lResult) {
  auto& incoming = CurrentQueue().current_incoming;
  if (!incoming || incoming->done) return FALSE;
  incoming->result = lResult;
  incoming->done = true;
  return TRUE;
}

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (!lpMsg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (hWnd && hWnd != reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)) && !CheckedFromHandle(hWnd))
    return -1;
  sim::Thread& self = sim::CurrentThread();
  ThreadQueue& q = Queue(self);
  for (;;) {
    if (TakeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true)) return lpMsg->message != WM_QUIT;
    WaitForInput(
        self, [&] { return HasWork(self, hWnd, wMsgFilterMin, wMsgFilterMax); },
        [&] { return EarliestTimer(q); });
  }
}

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (!lpMsg) return FALSE;
  return TakeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0);
}

BOOL WINAPI WaitMessage(void) {
  sim::Thread& self = sim::CurrentThread();
  ThreadQueue& q = Queue(self);
  WaitForInput(
      self, [&] { return HasWork(self, nullptr, 0, 0); }, [&] { return EarliestTimer(q); });
  ProcessIncomingSent();
  return TRUE;
}

DWORD WINAPI GetQueueStatus(UINT flags) {
  sim::Thread& self = sim::CurrentThread();
  ThreadQueue& q = Queue(self);
  DWORD status = 0;
  if (!q.posted.empty()) status |= QS_POSTMESSAGE;
  if (!q.input.empty()) status |= QS_KEY;
  if (!q.sent.empty()) status |= QS_SENDMESSAGE;
  if (WindowNeedingPaint(self, nullptr)) status |= QS_PAINT;
  for (const Timer& t : q.timers)
    if (t.due <= sim::Now()) status |= QS_TIMER;
  status &= flags;
  return (status << 16) | status;
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll,
                                       DWORD dwMilliseconds, DWORD dwWakeMask) {
  sim::Thread& self = sim::CurrentThread();
  ThreadQueue& q = Queue(self);
  auto waited = sim::WaitObjects(nCount, pHandles);
  if (!waited) return WAIT_FAILED;
  auto& objects = *waited;
  auto signalled = [&] { return sim::SatisfiedIndex(objects, fWaitAll); };
  // Evaluated by the scheduler on other threads too: it must look at this thread's queue.
  auto input = [&] {
    if (!q.sent.empty() || !q.events.empty() || ((dwWakeMask & QS_POSTMESSAGE) && !q.posted.empty()))
      return true;
    if ((dwWakeMask & QS_KEY) && !q.input.empty()) return true;
    if ((dwWakeMask & QS_PAINT) && WindowNeedingPaint(self, nullptr)) return true;
    if (dwWakeMask & QS_TIMER) {
      for (const Timer& t : q.timers)
        if (t.due <= sim::Now()) return true;
    }
    return false;
  };
  std::optional<sim::VTime> deadline;
  if (dwMilliseconds != INFINITE) deadline = sim::Now() + dwMilliseconds;
  WaitForInput(
      self, [&] { return signalled() >= 0 || input() || (deadline && sim::Now() >= *deadline); },
      [&]() -> std::optional<sim::VTime> {
        auto t = EarliestTimer(q);
        if (deadline && (!t || *deadline < *t)) return deadline;
        return t;
      });
  int index = signalled();
  if (index >= 0) {
    objects[index]->Acquire();
    return WAIT_OBJECT_0 + static_cast<DWORD>(index);
  }
  if (input()) return WAIT_OBJECT_0 + nCount;
  return WAIT_TIMEOUT;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  if (!lpMsg) return FALSE;
  UINT m = lpMsg->message;
  if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN) return FALSE;
  WPARAM vk = lpMsg->wParam;
  WCHAR ch = 0;
  bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  if (vk >= 'A' && vk <= 'Z') {
    ch = static_cast<WCHAR>(shift ? vk : vk + 32);
  } else if (vk >= '0' && vk <= '9') {
    ch = static_cast<WCHAR>(vk);
  } else if (vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_BACK || vk == VK_TAB || vk == VK_SPACE) {
    ch = static_cast<WCHAR>(vk);
  }
  if (!ch) return FALSE;
  Post(Queue(sim::CurrentThread()), lpMsg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, ch, lpMsg->lParam);
  return TRUE;
}

LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) {
  if (!lpMsg) return 0;
  if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
    proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, static_cast<DWORD>(sim::Now()));
    return 0;
  }
  if (!lpMsg->hwnd) return 0;
  Window* w = FromHandle(lpMsg->hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (w->thread != &sim::CurrentThread()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  LRESULT r = CallProc(*w, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
  // A window procedure that ignores WM_PAINT must not get it again and again.
  if (lpMsg->message == WM_PAINT) {
    if (Window* still = FromHandle(lpMsg->hwnd)) still->needs_paint = false;
  }
  return r;
}

DWORD WINAPI GetMessageTime(void) { return CurrentQueue().last.time; }

DWORD WINAPI GetMessagePos(void) {
  POINT pt = CurrentQueue().last.pt;
  return static_cast<DWORD>(MAKELONG(pt.x, pt.y));
}

UINT WINAPI RegisterWindowMessageW(LPCWSTR lpString) {
  if (!lpString) return 0;
  auto& s = State();
  auto it = s.registered_messages.find(lpString);
  if (it != s.registered_messages.end()) return it->second;
  UINT id = s.next_registered_message++;
  s.registered_messages.emplace(lpString, id);
  return id;
}

LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!lpPrevWndFunc) return 0;
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

// ---- Timers ----------------------------------------------------------------------------------

// A timer belongs to a window of the calling thread and its id; setting the same pair again
// replaces the interval and starts the period anew. Intervals below 10 ms count as 10 ms, as
// USER_TIMER_MINIMUM makes them on Windows.
UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  ThreadQueue& q = CurrentQueue();
  if (hWnd) {
    Window* w = CheckedFromHandle(hWnd);
    if (!w) return 0;
    if (w->thread != &sim::CurrentThread()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  } else {
    nIDEvent = q.next_thread_timer_id++;
  }
  UINT interval = std::max<UINT>(uElapse, 10);
  for (Timer& t : q.timers) {
    if (t.hwnd == hWnd && t.id == nIDEvent) {
      t.interval = interval;
      t.due = sim::Now() + interval;
      t.proc = lpTimerFunc;
      return hWnd ? 1 : nIDEvent;
    }
  }
  q.timers.push_back(Timer{hWnd, nIDEvent, interval, sim::Now() + interval, lpTimerFunc});
  return hWnd ? 1 : nIDEvent;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  ThreadQueue& q = CurrentQueue();
  auto it = std::find_if(q.timers.begin(), q.timers.end(),
                         [&](const Timer& t) { return t.hwnd == hWnd && t.id == uIDEvent; });
  if (it == q.timers.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  q.timers.erase(it);
  // A WM_TIMER already taken from the queue is not recalled, but none is pending in ours.
  return TRUE;
}
