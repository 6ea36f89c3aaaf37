// A hidden message-only window that runs closures on the thread that created it: posted (the
// caller goes on) or sent (the caller waits, as an out-of-process call waits for its server).
// Messenger's thread serves automation calls (sent) and the world's commands (posted) through
// one. (Events travel the other way through world::ApartmentPoster.)
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

namespace world::messenger {

class CallWindow {
 public:
  // Creates the window on the calling thread. Valid() says whether that worked.
  CallWindow();
  // From the owning thread the window is destroyed at once; from any other thread it is detached
  // and asked to close itself. Closures still queued are dropped unrun.
  ~CallWindow();
  CallWindow(const CallWindow&) = delete;
  CallWindow& operator=(const CallWindow&) = delete;

  bool Valid() const { return hwnd_ != nullptr; }
  HWND hwnd() const { return hwnd_; }

  // Queues `work` to run on the owning thread when its message loop gets to it. False (and
  // `work` dropped) when the window is gone.
  bool Post(std::function<void()> work);
  // Runs `work` on the owning thread and waits for it; from the owning thread it runs at once.
  // False when the window or its thread went away before `work` finished.
  bool Send(const std::function<void()>& work);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  DWORD thread_id_ = 0;
  // The posted closures live here, not in the messages: a window whose process ends goes without
  // being told, and nothing may be left that only it could free.
  std::deque<std::function<void()>> queue_;
};

}  // namespace world::messenger
