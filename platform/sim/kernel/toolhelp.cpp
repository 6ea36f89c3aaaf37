// Process snapshots. The snapshot copies the process table when it is taken, so processes that
// start or end afterwards do not change what it lists.
#include <tlhelp32.h>
#include <windows.h>

#include <sim/debug.h>

#include <algorithm>
#include <optional>

#include "core/core.h"

namespace {

constexpr LONG kNormalPriorityBase = 8;

struct SnapshotObject : sim::KernelObject {
  std::vector<PROCESSENTRY32W> entries;
  size_t next = 0;
};

struct SnapshotFaults {
  std::optional<DWORD> fail_next;
};

DWORD LiveThreadCount(DWORD pid) {
  sim::Process* process = sim::FindProcess(pid);
  if (!process) return 1;
  auto live = std::count_if(process->threads.begin(), process->threads.end(),
                            [](sim::Thread* t) { return t->state != sim::Thread::State::kExited; });
  return std::max<DWORD>(1, static_cast<DWORD>(live));  // a process always has a thread on Windows
}

PROCESSENTRY32W EntryFor(const sim::ProcessInfo& info) {
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  entry.th32ProcessID = info.pid;
  entry.cntThreads = LiveThreadCount(info.pid);
  entry.th32ParentProcessID = info.parent_pid;
  entry.pcPriClassBase = kNormalPriorityBase;
  size_t n = std::min<size_t>(info.image_name.size(), MAX_PATH - 1);
  std::copy(info.image_name.begin(), info.image_name.begin() + n, entry.szExeFile);
  return entry;
}

// Hands out the snapshot's next entry into lppe, keeping the caller's dwSize.
BOOL NextEntry(HANDLE hSnapshot, LPPROCESSENTRY32W lppe, bool restart) {
  auto snapshot = sim::LookupHandleAs<SnapshotObject>(hSnapshot);
  if (!snapshot) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!lppe) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (lppe->dwSize < sizeof(PROCESSENTRY32W)) {
    SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  if (restart) snapshot->next = 0;
  if (snapshot->next >= snapshot->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  DWORD size = lppe->dwSize;
  *lppe = snapshot->entries[snapshot->next++];
  lppe->dwSize = size;
  return TRUE;
}

}  // namespace

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD dwFlags, DWORD) {
  auto& faults = sim::Desktop::Current().Module<SnapshotFaults>();
  if (faults.fail_next) {
    SetLastError(*faults.fail_next);
    faults.fail_next.reset();
    return INVALID_HANDLE_VALUE;
  }
  auto snapshot = std::make_shared<SnapshotObject>();
  if (dwFlags & TH32CS_SNAPPROCESS)
    for (const auto& info : sim::Desktop::Current().Processes()) snapshot->entries.push_back(EntryFor(info));
  return sim::AddHandle(snapshot, sim::CurrentProcess().info.pid);
}

BOOL WINAPI Process32FirstW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe) {
  return NextEntry(hSnapshot, lppe, true);
}

BOOL WINAPI Process32NextW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe) {
  return NextEntry(hSnapshot, lppe, false);
}

namespace sim {

void FailNextProcessSnapshot(DWORD error) { Desktop::Current().Module<SnapshotFaults>().fail_next = error; }

}  // namespace sim
