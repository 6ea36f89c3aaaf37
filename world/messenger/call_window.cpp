#include "world/messenger/call_window.h"

namespace world::messenger {

namespace {

const WCHAR kClassName[] = TEXT("TellbudWorldCallWindow");
constexpr UINT kRunPosted = WM_APP + 0x101;  // run the oldest queued closure
constexpr UINT kRunSent = WM_APP + 0x102;    // run the closure lParam points to
constexpr LRESULT kRan = 0x52554E;           // what a sent closure's message returns once it ran

bool RegisterOnce(WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &wc)) return true;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

CallWindow::CallWindow() {
  if (!RegisterOnce(&CallWindow::Proc)) return;
  hwnd_ = CreateWindowExW(0, kClassName, TEXT(""), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  thread_id_ = GetCurrentThreadId();
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CallWindow::~CallWindow() {
  if (!hwnd_ || !IsWindow(hwnd_)) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  if (GetCurrentThreadId() == thread_id_) {
    DestroyWindow(hwnd_);
  } else {
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  }
}

bool CallWindow::Post(std::function<void()> work) {
  if (!hwnd_) return false;
  queue_.push_back(std::move(work));
  if (PostMessageW(hwnd_, kRunPosted, 0, 0)) return true;
  queue_.pop_back();
  return false;
}

bool CallWindow::Send(const std::function<void()>& work) {
  if (!hwnd_ || !IsWindow(hwnd_)) return false;
  return SendMessageW(hwnd_, kRunSent, 0, reinterpret_cast<LPARAM>(&work)) == kRan;
}

LRESULT CALLBACK CallWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<CallWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case kRunPosted: {
      if (!self || self->queue_.empty()) return 0;
      // Taken out first: the closure may destroy this object.
      std::function<void()> work = std::move(self->queue_.front());
      self->queue_.pop_front();
      work();
      return 0;
    }
    case kRunSent:
      if (!self) return 0;
      (*reinterpret_cast<const std::function<void()>*>(lp))();
      return kRan;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace world::messenger
