// Mutexes and events. A mutex is owned by a thread and may be acquired again by its owner; when
// the owner ends without releasing it, the mutex is abandoned and the next waiter gets it.
#include <windows.h>

#include "ipc/rendezvous.h"

#include "core/core.h"
#include "kernel/named_objects.h"

namespace {

struct MutexObject : sim::KernelObject {
  DWORD owner = 0;  // thread id, 0 when free
  DWORD count = 0;  // recursive acquisitions by the owner
  int name_lock = -1;  // the name's lock among tellbud-sim processes (see ipc/rendezvous.h)

  ~MutexObject() override { sim::ipc::ReleaseName(name_lock); }

  // Whether the owning thread has ended (with or without its process) without releasing.
  bool OwnerGone() const { return owner != 0 && sim::FindThread(owner) == nullptr; }

  // Free, abandoned, or already owned by the running thread while it asks for itself (the
  // scheduler evaluates other threads' waits while the asking thread is blocked, and then the
  // mutex must look owned).
  bool Signaled() const override {
    if (owner == 0 || OwnerGone()) return true;
    sim::Thread* self = sim::CurrentThreadOrNull();
    return self && self->id == owner && self->state == sim::Thread::State::kRunning;
  }

  void Acquire() override {
    DWORD self = sim::CurrentThread().id;
    if (owner == self) {
      ++count;
      return;
    }
    owner = self;
    count = 1;
  }
};

struct EventObject : sim::KernelObject {
  bool manual_reset = false;
  bool signaled = false;
  bool Signaled() const override { return signaled; }
  void Acquire() override {
    if (!manual_reset) signaled = false;
  }
};

template <typename T>
std::shared_ptr<T> Lookup(HANDLE handle) {
  auto object = sim::LookupHandleAs<T>(handle);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

}  // namespace

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCWSTR lpName) {
  bool existed = false;
  auto mutex = sim::CreateOrOpenNamed<MutexObject>(
      lpName, [] { return std::make_shared<MutexObject>(); }, &existed);
  if (!mutex) return nullptr;
  // A name that another tellbud-sim process holds exists on the user's desktop too.
  bool held_elsewhere = false;
  if (!existed && lpName && *lpName && sim::ipc::Enabled()) {
    mutex->name_lock = sim::ipc::LockName(sim::CanonicalObjectName(lpName), &held_elsewhere);
    existed = held_elsewhere;
  }
  // The initial ownership applies only to a mutex this call created.
  if (bInitialOwner && !existed) mutex->Acquire();
  HANDLE handle = sim::AddHandle(mutex, sim::CurrentProcess().info.pid);
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

HANDLE WINAPI OpenMutexW(DWORD, BOOL, LPCWSTR lpName) {
  if (!lpName || !*lpName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto found = sim::NamedObjects().Find(sim::CanonicalObjectName(lpName));
  if (!found) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  auto mutex = std::dynamic_pointer_cast<MutexObject>(found);
  if (!mutex) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return sim::AddHandle(mutex, sim::CurrentProcess().info.pid);
}

BOOL WINAPI ReleaseMutex(HANDLE hMutex) {
  auto mutex = Lookup<MutexObject>(hMutex);
  if (!mutex) return FALSE;
  if (mutex->owner != sim::CurrentThread().id) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  if (--mutex->count == 0) mutex->owner = 0;
  return TRUE;
}

HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName) {
  bool existed = false;
  auto event = sim::CreateOrOpenNamed<EventObject>(
      lpName,
      [&] {
        auto e = std::make_shared<EventObject>();
        e->manual_reset = bManualReset != FALSE;
        e->signaled = bInitialState != FALSE;
        return e;
      },
      &existed);
  if (!event) return nullptr;
  return sim::AddHandle(event, sim::CurrentProcess().info.pid);  // keeps the error set above
}

BOOL WINAPI SetEvent(HANDLE hEvent) {
  auto event = Lookup<EventObject>(hEvent);
  if (!event) return FALSE;
  event->signaled = true;
  return TRUE;
}

BOOL WINAPI ResetEvent(HANDLE hEvent) {
  auto event = Lookup<EventObject>(hEvent);
  if (!event) return FALSE;
  event->signaled = false;
  return TRUE;
}
