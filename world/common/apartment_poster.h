// Runs closures on one chosen thread, as COM delivers calls into a single-threaded apartment:
// the thread that creates the poster owns a hidden message-only window; any thread may post a
// closure, and the owner runs it from its message loop, in posting order. Portable over the
// Windows API.
#pragma once

#include <windows.h>

#include <functional>

namespace world {

class ApartmentPoster {
 public:
  // Creates the window on the calling thread, which becomes the receiving thread.
  ApartmentPoster();
  // May run on any thread. Closures not yet run are dropped; the window goes with its owner.
  ~ApartmentPoster();
  ApartmentPoster(const ApartmentPoster&) = delete;
  ApartmentPoster& operator=(const ApartmentPoster&) = delete;

  // Whether the window still exists (it goes when its thread's process ends).
  bool IsValid() const;
  DWORD ThreadId() const { return thread_id_; }
  HWND Window() const;
  // Queues `closure` for the receiving thread. False when it can no longer run there.
  bool Post(std::function<void()> closure);

  struct Shared;

 private:
  Shared* shared_ = nullptr;
  DWORD thread_id_ = 0;
};

}  // namespace world
