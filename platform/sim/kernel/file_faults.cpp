// Injected file faults, simulated crashes, and the record of the files each process opened.
#include "kernel/file_system.h"

#include <algorithm>

namespace sim {

namespace {

constexpr int kCrashExitCode = static_cast<int>(0xC0000005);  // an access violation's status

}  // namespace

bool InjectFileFault(const std::u16string& windows_path, FileOperation operation, int nth, FaultEffect effect,
                     DWORD error) {
  auto host = HostPath(windows_path);
  if (!host || nth < 1) return false;
  FileSystem().faults.push_back({*host, operation, nth, FileFaultHit{effect, error}});
  return true;
}

void ClearFileFaults() { FileSystem().faults.clear(); }

std::optional<FileFaultHit> TakeFileFault(FileOperation operation,
                                          const std::vector<std::string>& host_paths) {
  auto& faults = FileSystem().faults;
  for (auto it = faults.begin(); it != faults.end(); ++it) {
    if (it->operation != operation) continue;
    if (std::find(host_paths.begin(), host_paths.end(), it->host_path) == host_paths.end()) continue;
    if (--it->remaining > 0) continue;
    FileFaultHit hit = it->hit;
    faults.erase(it);
    return hit;
  }
  return std::nullopt;
}

bool CrashCallingProcess() {
  Thread& thread = CurrentThread();
  if (thread.is_world) return false;
  Desktop::Current().EndProcess(thread.process->info.pid, kCrashExitCode);
  throw ThreadExit{};
}

bool CallerProcessEnded() {
  if (!CurrentProcess().ended) return false;
  SetLastError(ERROR_ACCESS_DENIED);
  return true;
}

// Keeps the most recent opens of each process: enough for any test, bounded for long sessions.
constexpr size_t kOpenedFilesKept = 1024;

void RecordOpenedFile(const ResolvedPath& path, DWORD access, DWORD disposition) {
  auto& opened = FileSystem().opened[CurrentProcess().info.pid];
  if (opened.size() >= kOpenedFilesKept) opened.erase(opened.begin(), opened.begin() + kOpenedFilesKept / 2);
  opened.push_back(FileOpenRecord{path.windows, access, disposition});
}

std::vector<FileOpenRecord> OpenedFiles(DWORD pid) {
  auto& opened = FileSystem().opened;
  auto it = opened.find(pid);
  return it == opened.end() ? std::vector<FileOpenRecord>{} : it->second;
}

}  // namespace sim
