// The apartment poster's window and its shared queue.
//
// The queue lives in a block that the poster object owns; a run of queued closures holds a
// reference of its own, so a closure may destroy the poster. The window only points at the
// block and holds nothing: a window can vanish without any message when its process ends, and
// must not take anything with it. The poster detaches and closes the window when it goes.
// Destroying a poster off its receiving thread is safe in the simulated desktop, where one
// thread runs at a time; on Windows, do it when the receiving thread is not in its message loop
// dispatching to the poster.
#include "world/common/apartment_poster.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <utility>

#include "world/common/spin_lock.h"

namespace world {

namespace {

constexpr UINT kRunMessage = WM_USER + 0x100;  // closures are waiting
const WCHAR kClassName[] = TEXT("WorldApartmentPoster");

}  // namespace

struct ApartmentPoster::Shared {
  std::atomic<int> refs{1};
  SpinLock spin;
  std::deque<std::function<void()>> pending;
  HWND hwnd = nullptr;  // null once the window is gone or detached
  bool closed = false;  // the poster is gone

  void AddRef() { ++refs; }
  void Release() {
    if (--refs == 0) delete this;
  }

  // Runs queued closures on the receiving thread until the queue is empty or the poster goes.
  // The run's reference is given back also when a closure ends the thread (its process crashes
  // or exits) and the stack unwinds through here.
  void RunPending() {
    AddRef();
    struct RunReference {
      Shared* shared;
      ~RunReference() { shared->Release(); }
    } reference{this};
    for (;;) {
      std::function<void()> next;
      {
        std::lock_guard lock(spin);
        if (closed || pending.empty()) break;
        next = std::move(pending.front());
        pending.pop_front();
      }
      next();
    }
  }

  // Empties the queue (outside the lock: dropping a closure may release objects) and forgets the
  // window. Returns the window it had.
  HWND Close(bool poster_gone) {
    std::deque<std::function<void()>> dropped;
    HWND old;
    {
      std::lock_guard lock(spin);
      closed = closed || poster_gone;
      dropped.swap(pending);
      old = std::exchange(hwnd, nullptr);
    }
    return old;
  }
};

namespace {

using Shared = ApartmentPoster::Shared;

Shared* SharedOf(HWND hwnd) { return reinterpret_cast<Shared*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

LRESULT CALLBACK PosterProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (Shared* shared = SharedOf(hwnd)) {
    if (msg == kRunMessage) {
      shared->RunPending();
      return 0;
    }
    if (msg == WM_NCDESTROY) {
      std::lock_guard lock(shared->spin);
      shared->hwnd = nullptr;
    }
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

// Registers the window class once per process; a second registration fails harmlessly.
void RegisterPosterClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = PosterProc;
  wc.hInstance = ModuleInstance();
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}

}  // namespace

ApartmentPoster::ApartmentPoster() : shared_(new Shared), thread_id_(GetCurrentThreadId()) {
  RegisterPosterClass();
  HWND hwnd = CreateWindowExW(0, kClassName, TEXT(""), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleInstance(),
                              shared_);
  std::lock_guard lock(shared_->spin);
  shared_->hwnd = hwnd;
}

ApartmentPoster::~ApartmentPoster() {
  HWND hwnd = shared_->Close(true);
  // Touch the window only while it is still ours: a vanished window's handle may be reused.
  if (hwnd && IsWindow(hwnd) && SharedOf(hwnd) == shared_) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (GetCurrentThreadId() == thread_id_) {
      DestroyWindow(hwnd);
    } else {
      PostMessageW(hwnd, WM_CLOSE, 0, 0);  // only the owner may destroy it; DefWindowProc does
    }
  }
  shared_->Release();
}

bool ApartmentPoster::IsValid() const {
  HWND hwnd = Window();
  return hwnd && IsWindow(hwnd);
}

HWND ApartmentPoster::Window() const {
  std::lock_guard lock(shared_->spin);
  return shared_->hwnd;
}

bool ApartmentPoster::Post(std::function<void()> closure) {
  HWND hwnd;
  {
    std::lock_guard lock(shared_->spin);
    if (shared_->closed || !shared_->hwnd) return false;
    shared_->pending.push_back(std::move(closure));
    hwnd = shared_->hwnd;
  }
  if (PostMessageW(hwnd, kRunMessage, 0, 0)) return true;
  shared_->Close(false);  // the window vanished with its process: nothing will run there any more
  return false;
}

}  // namespace world
