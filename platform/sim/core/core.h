// Internal core of the simulated desktop, shared by its modules (user, kernel, COM, shell):
// simulated processes and threads, the baton scheduler, kernel handles and per-object module
// state. Nothing here is visible to the program.
#pragma once

#include <sim/desktop.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace sim {

// Keyed storage for module state attached to a desktop, process or thread.
class ModuleSlots {
 public:
  template <typename T>
  T& Get() {
    void* key = Key<T>();
    auto it = slots_.find(key);
    if (it == slots_.end()) {
      auto owned = std::make_shared<T>();
      order_.push_back(key);
      it = slots_.emplace(key, std::move(owned)).first;
    }
    return *static_cast<T*>(it->second.get());
  }
  template <typename T>
  T* Find() {
    auto it = slots_.find(Key<T>());
    return it == slots_.end() ? nullptr : static_cast<T*>(it->second.get());
  }
  void* FindRaw(void* key) {
    auto it = slots_.find(key);
    return it == slots_.end() ? nullptr : it->second.get();
  }
  void StoreRaw(void* key, std::shared_ptr<void> v) {
    order_.push_back(key);
    slots_[key] = std::move(v);
  }
  // Destroys the slots in reverse order of creation.
  void Clear() {
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) slots_.erase(*it);
    order_.clear();
    slots_.clear();
  }
  ~ModuleSlots() { Clear(); }

 private:
  template <typename T>
  static void* Key() {
    static char key;
    return &key;
  }
  std::map<void*, std::shared_ptr<void>> slots_;
  std::vector<void*> order_;
};

// Thrown inside a simulated thread whose process has ended while it was blocked; the thread's
// trampoline catches it. It is deliberately not a std::exception, so code that handles ordinary
// errors does not swallow it.
struct ThreadExit {};

class Thread {
 public:
  DWORD id = 0;
  Process* process = nullptr;
  bool is_world = false;
  DWORD last_error = 0;
  ModuleSlots slots;

  enum class State { kRunning, kReady, kBlocked, kExited };
  State state = State::kReady;
  WaitSpec wait;           // valid while kBlocked
  bool terminate = false;  // set when the process ends under a blocked thread
  // The world only: its last wait was given up because nothing could ever end it.
  bool stalled = false;
  // Blocked in a message wait with nothing to take: the thread waits for input.
  bool waits_for_input = false;
  std::condition_variable cv;
  std::thread os_thread;
  std::shared_ptr<struct ThreadHandleObject> handle_object;  // signalled when the thread ends
};

class Process {
 public:
  ProcessInfo info;
  bool ended = false;
  int exit_code = 259;  // STILL_ACTIVE
  HINSTANCE instance = nullptr;
  std::vector<Thread*> threads;
  Thread* main_thread = nullptr;
  ModuleSlots slots;
};

// The calling OS thread's simulated thread, or nullptr.
Thread* CurrentThreadOrNull();
// The calling thread's simulated thread; aborts with a clear message when the OS thread was
// never attached to a desktop (a test forgot to create one, or a foreign thread called the API).
Thread& CurrentThread();
Process& CurrentProcess();
Process* FindProcess(DWORD pid);
Thread* FindThread(DWORD tid);
std::vector<Thread*> AllThreads();

// Blocks the calling simulated thread until spec.ready() holds. Returns at once when it already
// holds. Throws ThreadExit when the thread's process ends meanwhile. Returns false only on the
// world's thread, when its wait was given up: every other thread is blocked and no deadline is
// left, or the world waited longer than kWorldPatience of virtual time.
bool Block(const WaitSpec& spec);
// Blocks until `deadline` on the virtual clock.
void SleepUntil(VTime deadline);
// Creates a simulated thread in `process`, ready to run `body` when it gets the baton.
Thread* SpawnThread(Process& process, std::function<void()> body);

VTime Now();

// ---- Kernel objects and handles -------------------------------------------------------------------
struct KernelObject {
  virtual ~KernelObject() = default;
  // For waits: whether a wait on the object would return now.
  virtual bool Signaled() const { return false; }
  // A successful wait's side effect (a mutex becomes owned).
  virtual void Acquire() {}
};

struct ThreadHandleObject : KernelObject {
  bool ended = false;
  DWORD exit_code = 259;
  DWORD thread_id = 0;
  bool Signaled() const override { return ended; }
};

// Handle values are small multiples of four, unique on the desktop, as Windows hands them out.
HANDLE AddHandle(std::shared_ptr<KernelObject> object, DWORD owner_pid);
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);
template <typename T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(LookupHandle(handle));
}
bool CloseHandleInternal(HANDLE handle);
// The kernel objects behind the handles of a wait; nothing (and ERROR_INVALID_HANDLE) when one
// handle names no object.
std::optional<std::vector<std::shared_ptr<KernelObject>>> WaitObjects(DWORD count, const HANDLE* handles);
// Which object satisfies a wait now: with `all`, 0 when every object is signalled; otherwise
// the first signalled one; -1 when the wait must go on.
int SatisfiedIndex(const std::vector<std::shared_ptr<KernelObject>>& objects, bool all);
// Closes every handle a process still owns (when it ends).
void CloseProcessHandles(DWORD pid);

// Process-end hooks: modules release what a process owned (mutexes, windows, tray icons).
void AddProcessEndHook(std::function<void(Process&)> hook);
// Thread-end hooks, called on the ending thread itself: modules release what the thread owned
// (its windows). An ended thread's record is then freed; keep thread ids, not pointers.
void AddThreadEndHook(std::function<void(Thread&)> hook);

// Converts between UTF-16 and UTF-8 for messages and transcripts.
std::string ToUtf8(const std::u16string& s);
std::u16string FromUtf8(const std::string& s);

}  // namespace sim
