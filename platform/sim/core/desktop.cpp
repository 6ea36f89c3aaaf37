// The desktop object, its baton scheduler, processes, threads and kernel handles.
#include "core/core.h"

#include <sim/handles.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace sim {

struct HandleEntry {
  std::shared_ptr<KernelObject> object;
  DWORD owner_pid = 0;
};

struct Desktop::Impl {
  std::mutex mu;  // guards the scheduler's hand-over; the baton guards everything else
  Thread* running = nullptr;
  VTime now = 0;
  std::vector<std::unique_ptr<Thread>> threads;
  std::vector<std::unique_ptr<Process>> processes;
  DWORD next_tid = 0x100;
  DWORD next_pid = 0x400;
  Thread* world = nullptr;
  std::vector<Observer*> observers;
  ModuleSlots modules;
  std::map<uintptr_t, HandleEntry> handles;
  uintptr_t next_handle = 0x40;
  std::vector<std::function<void(Process&)>> end_hooks;
  std::vector<std::function<void(Thread&)>> thread_end_hooks;
  bool shutting_down = false;
  VTime world_wait_since = 0;  // when the world's current wait began

  Thread* PickNext();
  Thread* LetTimePass();
  std::optional<VTime> EarliestWake(bool with_world) const;
  void ReapEndedThreads();
  void HandOver(std::unique_lock<std::mutex>& lk, Thread* self, bool self_exits);
  Thread* NewThread(Process& process);
  void FinishProcess(Process& process, int exit_code);
};

namespace {

Desktop* g_desktop = nullptr;
thread_local Thread* t_current = nullptr;

[[noreturn]] void Fatal(const char* what) {
  std::fprintf(stderr, "simulated desktop: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

}  // namespace

// ---- Scheduler ---------------------------------------------------------------------------------

Thread* Desktop::Impl::PickNext() {
  for (auto& t : threads) {
    if (t->is_world) continue;
    switch (t->state) {
      case Thread::State::kReady:
        return t.get();
      case Thread::State::kBlocked:
        if (t->terminate || (t->wait.ready && t->wait.ready())) return t.get();
        break;
      default:
        break;
    }
  }
  if (world && world->state != Thread::State::kExited) {
    if (world->state == Thread::State::kReady) return world;
    if (world->state == Thread::State::kBlocked &&
        (world->stalled || !world->wait.ready || world->wait.ready()))
      return world;
  }
  return nullptr;
}

std::optional<VTime> Desktop::Impl::EarliestWake(bool with_world) const {
  std::optional<VTime> best;
  for (auto& t : threads) {
    if ((t->is_world && !with_world) || t->state != Thread::State::kBlocked || !t->wait.wake_time) continue;
    auto w = t->wait.wake_time();
    if (w && *w > now && (!best || *w < *best)) best = w;
  }
  return best;
}

// Nothing can run now. While the world waits for one of the other threads, time passes as it
// does on Windows: the clock moves on to the next deadline of any thread. When no deadline is
// left, or the world has waited longer than its patience, the world's wait is given up so that
// no sequence of the world's actions can hang the desktop. Returns the thread to run, or nullptr
// when the world is not waiting.
Thread* Desktop::Impl::LetTimePass() {
  if (!world || world->state != Thread::State::kBlocked) return nullptr;
  for (;;) {
    auto wake = EarliestWake(true);
    if (!wake || *wake > world_wait_since + kWorldPatience) break;
    now = *wake;
    if (Thread* next = PickNext()) return next;
  }
  world->stalled = true;
  return world;
}

// Gives the baton from `self` to the next thread that may run, and, unless `self` is ending,
// waits until the baton comes back.
void Desktop::Impl::HandOver(std::unique_lock<std::mutex>& lk, Thread* self, bool self_exits) {
  Thread* next = PickNext();
  if (!next) next = LetTimePass();
  if (next == self) {
    self->state = Thread::State::kRunning;
    return;
  }
  if (!next) {
    if (self_exits) {
      running = nullptr;
      return;
    }
    Fatal("every simulated thread is blocked and the world has ended: deadlock");
  }
  running = next;
  next->state = Thread::State::kRunning;
  next->cv.notify_one();
  if (self_exits) return;
  self->cv.wait(lk, [&] { return running == self; });
  self->state = Thread::State::kRunning;
}

Thread* Desktop::Impl::NewThread(Process& process) {
  auto t = std::make_unique<Thread>();
  t->id = next_tid;
  next_tid += 4;
  t->process = &process;
  t->handle_object = std::make_shared<ThreadHandleObject>();
  t->handle_object->thread_id = t->id;
  Thread* raw = t.get();
  threads.push_back(std::move(t));
  process.threads.push_back(raw);
  return raw;
}

bool Block(const WaitSpec& spec) {
  Thread& self = CurrentThread();
  auto& impl = Desktop::Current().impl();
  if (spec.ready && spec.ready() && !self.terminate) return true;
  if (self.is_world) impl.world_wait_since = impl.now;
  {
    std::unique_lock lk(impl.mu);
    self.wait = spec;
    self.state = Thread::State::kBlocked;
    impl.HandOver(lk, &self, false);
    self.wait = WaitSpec{};
  }
  if (self.terminate && !self.is_world) throw ThreadExit{};
  return !std::exchange(self.stalled, false);
}

void SleepUntil(VTime deadline) {
  Block(WaitSpec{[deadline] { return Now() >= deadline; },
                 [deadline]() -> std::optional<VTime> { return deadline; }});
}

VTime Now() { return Desktop::Current().Now(); }

// Frees the records of threads that have ended. Only the world's thread calls this, while it
// holds the baton; an ended OS thread may still be leaving its trampoline, so it is joined
// first (without the scheduler's lock, which it releases on the way out).
void Desktop::Impl::ReapEndedThreads() {
  if (t_current != world || shutting_down) return;
  for (auto it = threads.begin(); it != threads.end();) {
    Thread* t = it->get();
    if (t->is_world || t->state != Thread::State::kExited) {
      ++it;
      continue;
    }
    if (t->os_thread.joinable()) t->os_thread.join();
    auto& owned = t->process->threads;
    owned.erase(std::remove(owned.begin(), owned.end(), t), owned.end());
    if (t->process->main_thread == t) t->process->main_thread = nullptr;
    it = threads.erase(it);
  }
}

Thread* SpawnThread(Process& process, std::function<void()> body) {
  auto& impl = Desktop::Current().impl();
  impl.ReapEndedThreads();
  Thread* t = impl.NewThread(process);
  t->state = Thread::State::kReady;
  Desktop* desktop = &Desktop::Current();
  t->os_thread = std::thread([desktop, t, body = std::move(body)]() mutable {
    auto& impl = desktop->impl();
    {
      std::unique_lock lk(impl.mu);
      t->cv.wait(lk, [&] { return impl.running == t; });
    }
    t_current = t;
    t->state = Thread::State::kRunning;
    if (!t->terminate) {
      try {
        body();
      } catch (const ThreadExit&) {
      }
    }
    for (size_t i = 0; i < impl.thread_end_hooks.size(); ++i) impl.thread_end_hooks[i](*t);
    t->handle_object->ended = true;
    Process& process = *t->process;
    bool was_main = process.main_thread == t;
    if (was_main && !process.ended) impl.FinishProcess(process, process.exit_code);
    t->slots.Clear();
    std::unique_lock lk(impl.mu);
    t->state = Thread::State::kExited;
    t_current = nullptr;
    impl.HandOver(lk, t, true);
  });
  return t;
}

// ---- Threads and processes ------------------------------------------------------------------------

Thread* CurrentThreadOrNull() { return t_current; }

Thread& CurrentThread() {
  if (!t_current)
    Fatal("a Windows API function was called from a thread that is not on the simulated desktop");
  return *t_current;
}

Process& CurrentProcess() { return *CurrentThread().process; }

Process* FindProcess(DWORD pid) {
  for (auto& p : Desktop::Current().impl().processes)
    if (p->info.pid == pid) return p.get();
  return nullptr;
}

Thread* FindThread(DWORD tid) {
  for (auto& t : Desktop::Current().impl().threads)
    if (t->id == tid && t->state != Thread::State::kExited) return t.get();
  return nullptr;
}

std::vector<Thread*> AllThreads() {
  std::vector<Thread*> out;
  for (auto& t : Desktop::Current().impl().threads)
    if (t->state != Thread::State::kExited) out.push_back(t.get());
  return out;
}

void Desktop::Impl::FinishProcess(Process& process, int exit_code) {
  if (process.ended) return;
  process.ended = true;
  process.exit_code = exit_code;
  for (Thread* t : process.threads)
    if (t->state != Thread::State::kExited && t != t_current) t->terminate = true;
  // By index: a hook may create a module that adds a hook of its own.
  for (size_t i = 0; i < end_hooks.size(); ++i) end_hooks[i](process);
  CloseProcessHandles(process.info.pid);
  for (Observer* o : observers) o->OnProcessEnded(process.info.pid, process.info.image_name, exit_code);
}

void AddProcessEndHook(std::function<void(Process&)> hook) {
  Desktop::Current().impl().end_hooks.push_back(std::move(hook));
}

void AddThreadEndHook(std::function<void(Thread&)> hook) {
  Desktop::Current().impl().thread_end_hooks.push_back(std::move(hook));
}

// ---- Handles ----------------------------------------------------------------------------------------

HANDLE AddHandle(std::shared_ptr<KernelObject> object, DWORD owner_pid) {
  auto& impl = Desktop::Current().impl();
  uintptr_t value = impl.next_handle;
  impl.next_handle += 4;
  impl.handles[value] = HandleEntry{std::move(object), owner_pid};
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
  auto& impl = Desktop::Current().impl();
  auto it = impl.handles.find(reinterpret_cast<uintptr_t>(handle));
  return it == impl.handles.end() ? nullptr : it->second.object;
}

bool CloseHandleInternal(HANDLE handle) {
  auto& impl = Desktop::Current().impl();
  auto it = impl.handles.find(reinterpret_cast<uintptr_t>(handle));
  if (it == impl.handles.end()) return false;
  auto object = std::move(it->second.object);  // destroyed after the entry is gone
  impl.handles.erase(it);
  return true;
}

size_t OpenHandleCount(DWORD pid) {
  size_t count = 0;
  for (const auto& [value, entry] : Desktop::Current().impl().handles)
    if (entry.owner_pid == pid) ++count;
  return count;
}

void CloseProcessHandles(DWORD pid) {
  auto& impl = Desktop::Current().impl();
  std::vector<std::shared_ptr<KernelObject>> closing;
  for (auto it = impl.handles.begin(); it != impl.handles.end();) {
    if (it->second.owner_pid == pid) {
      closing.push_back(std::move(it->second.object));
      it = impl.handles.erase(it);
    } else {
      ++it;
    }
  }
}

// ---- Desktop -------------------------------------------------------------------------------------------

Desktop::Desktop() : impl_(std::make_unique<Impl>()) {
  if (g_desktop) Fatal("a second desktop was created while one exists");
  if (t_current) Fatal("the creating thread already belongs to a desktop");
  g_desktop = this;
  // Process 4 is the system, as on Windows; the world runs as the user's shell.
  AddProcess(ProcessInfo{4, u"System", u"", u"", 0});
  auto shell = std::make_unique<Process>();
  shell->info =
      ProcessInfo{0, u"explorer.exe", u"C:\\Windows\\explorer.exe", u"C:\\Windows\\explorer.exe", 0};
  shell->info.pid = impl_->next_pid;
  impl_->next_pid += 4;
  Process& shell_ref = *shell;
  impl_->processes.push_back(std::move(shell));
  Thread* world = impl_->NewThread(shell_ref);
  world->is_world = true;
  world->state = Thread::State::kRunning;
  shell_ref.main_thread = world;
  impl_->world = world;
  impl_->running = world;
  t_current = world;
}

Desktop::~Desktop() {
  impl_->shutting_down = true;
  // End every process that still runs, and let their threads unwind.
  for (auto& p : impl_->processes)
    if (!p->ended && p.get() != impl_->world->process) impl_->FinishProcess(*p, 0);
  RunUntilIdle();
  for (auto& t : impl_->threads)
    if (t->os_thread.joinable()) t->os_thread.join();
  impl_->world->slots.Clear();
  for (auto it = impl_->processes.rbegin(); it != impl_->processes.rend(); ++it) (*it)->slots.Clear();
  impl_->modules.Clear();
  impl_->handles.clear();
  t_current = nullptr;
  g_desktop = nullptr;
}

Desktop& Desktop::Current() {
  if (!g_desktop) Fatal("no simulated desktop exists");
  return *g_desktop;
}

bool Desktop::Exists() { return g_desktop != nullptr; }

VTime Desktop::Now() const { return impl_->now; }

void Desktop::RunUntilIdle() {
  Thread& self = CurrentThread();
  if (!self.is_world) Fatal("only the world's thread may run the desktop");
  Block(WaitSpec{});  // ready when no other thread is: the scheduler picks the world last
  impl_->ReapEndedThreads();
}

bool Desktop::WaitForInputIdle(DWORD pid, VTime timeout) {
  Process* process = FindProcess(pid);
  if (!process) return false;
  VTime deadline = Now() + timeout;
  auto idle = [process] {
    if (process->ended) return true;
    Thread* main = process->main_thread;
    return main && main->state == Thread::State::kBlocked && main->waits_for_input;
  };
  Block(WaitSpec{[&] { return idle() || Now() >= deadline; },
                 [deadline]() -> std::optional<VTime> { return deadline; }});
  RunUntilIdle();
  return idle();
}

std::optional<VTime> Desktop::NextWakeTime() const { return impl_->EarliestWake(false); }

void Desktop::AdvanceTo(VTime until) {
  RunUntilIdle();
  for (;;) {
    auto next = NextWakeTime();
    if (!next || *next > until) break;
    impl_->now = *next;
    RunUntilIdle();
  }
  if (until > impl_->now) impl_->now = until;
  RunUntilIdle();
}

DWORD Desktop::AddProcess(const ProcessInfo& info) {
  auto p = std::make_unique<Process>();
  p->info = info;
  if (p->info.pid == 0) {
    p->info.pid = impl_->next_pid;
    impl_->next_pid += 4;
  }
  DWORD pid = p->info.pid;
  impl_->processes.push_back(std::move(p));
  for (Observer* o : impl_->observers) o->OnProcessStarted(pid, info.image_name);
  return pid;
}

DWORD Desktop::StartProcess(const ProcessInfo& info, std::function<int()> main) {
  DWORD pid = AddProcess(info);
  Process* process = FindProcess(pid);
  process->instance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000));
  Thread* t = SpawnThread(*process, [process, main = std::move(main)] { process->exit_code = main(); });
  process->main_thread = t;
  return pid;
}

void Desktop::EndProcess(DWORD pid, int exit_code) {
  if (Process* p = FindProcess(pid)) impl_->FinishProcess(*p, exit_code);
}

bool Desktop::IsProcessRunning(DWORD pid) const {
  for (auto& p : impl_->processes)
    if (p->info.pid == pid) return !p->ended;
  return false;
}

std::optional<int> Desktop::ProcessExitCode(DWORD pid) const {
  for (auto& p : impl_->processes)
    if (p->info.pid == pid && p->ended) return p->exit_code;
  return std::nullopt;
}

std::vector<ProcessInfo> Desktop::Processes() const {
  std::vector<ProcessInfo> out;
  for (auto& p : impl_->processes)
    if (!p->ended) out.push_back(p->info);
  return out;
}

DWORD Desktop::StartThread(DWORD pid, std::function<void()> body) {
  Process* p = FindProcess(pid);
  if (!p || p->ended) return 0;
  Thread* t = SpawnThread(*p, std::move(body));
  if (!p->main_thread) p->main_thread = t;
  return t->id;
}

size_t Desktop::ThreadRecordCount() const { return impl_->threads.size(); }

void Desktop::AddObserver(Observer* observer) { impl_->observers.push_back(observer); }

void Desktop::RemoveObserver(Observer* observer) {
  auto& v = impl_->observers;
  v.erase(std::remove(v.begin(), v.end(), observer), v.end());
}

std::vector<Observer*> Desktop::ObserversSnapshot() const { return impl_->observers; }

void* Desktop::FindModule(void* key) { return impl_->modules.FindRaw(key); }

void Desktop::StoreModule(void* key, std::shared_ptr<void> module) {
  impl_->modules.StoreRaw(key, std::move(module));
}

}  // namespace sim
