// Internal state and helpers of the file functions: drive mapping, path resolution, errno
// translation, injected faults and the record of opened files.
#pragma once

#include <windows.h>

#include <sim/files.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/core.h"

namespace sim {

struct ResolvedPath {
  std::string host;        // the Linux path
  std::u16string windows;  // the full Windows path ("Z:\\tmp\\a.ini")
};

struct FileFaultHit {
  FaultEffect effect = FaultEffect::kFail;
  DWORD error = 0;
};

struct FileSystemState {
  std::map<char16_t, std::string> drive_roots{{u'Z', "/"}};
  std::u16string temp_path = u"Z:\\tmp\\";
  struct PendingFault {
    std::string host_path;
    FileOperation operation;
    int remaining = 1;
    FileFaultHit hit;
  };
  std::vector<PendingFault> faults;
  std::map<DWORD, std::vector<FileOpenRecord>> opened;
};

FileSystemState& FileSystem();

// Resolves a path as the calling process sees it. On failure returns nothing and sets the
// thread's last error (ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE).
std::optional<ResolvedPath> ResolvePath(LPCWSTR path);

// The Windows error for a failed system call on `host_path`: ENOENT becomes ERROR_FILE_NOT_FOUND
// when the folder exists and ERROR_PATH_NOT_FOUND otherwise.
DWORD ErrorFromErrno(int error_number, const std::string& host_path);

// Consumes one count of a fault armed for `operation` on one of `host_paths`, if any is due.
std::optional<FileFaultHit> TakeFileFault(FileOperation operation,
                                          const std::vector<std::string>& host_paths);

// Ends the calling process as a crash would, by unwinding the calling thread (never returns).
// Returns false, doing nothing, on the world's thread, which cannot end.
bool CrashCallingProcess();

// True when the calling thread's process has ended (it is unwinding after a crash or an exit);
// such a thread must not change files or the registry. Sets ERROR_ACCESS_DENIED when true.
bool CallerProcessEnded();

void RecordOpenedFile(const ResolvedPath& path, DWORD access, DWORD disposition);

}  // namespace sim
