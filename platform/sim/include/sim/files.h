// The simulated desktop's file system as the world sees it. Files are real files on Linux
// behind Windows paths:
//   - "Z:\a\b.ini" is "/a/b.ini" (drive Z is the Linux root);
//   - other drives ("C:\...") exist only once the world gives them a Linux folder with
//     SetDriveRoot; until then their paths fail with ERROR_PATH_NOT_FOUND;
//   - "\x\y" (no drive) is on the current drive, Z; a relative path is relative to the folder of
//     the process's executable (its current directory, as when started from the shell);
//   - '/' is accepted as a separator, "." and ".." are resolved, and trailing dots and spaces of
//     names are dropped, as Windows does;
//   - names are case-sensitive, because Linux file systems are: "A.ini" and "a.ini" are two files;
//   - paths of MAX_PATH (260) characters or more fail with ERROR_FILENAME_EXCED_RANGE unless
//     written as "\\?\X:\..." (then up to 32767 characters, taken literally).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace sim {

// ---- Drives and paths --------------------------------------------------------------------------
// Maps drive `letter` ('A'..'Z', either case) to a Linux folder. Drive Z starts as "/".
void SetDriveRoot(char letter, const std::string& linux_folder);
// The Linux path behind a Windows path (as the world's process resolves it), or nothing.
std::optional<std::string> HostPath(const std::u16string& windows_path);
// The Windows form of an absolute Linux path on drive Z: "/tmp/a" gives "Z:\tmp\a".
std::u16string WindowsPathOf(const std::string& linux_path);
// What GetTempPathW returns (a trailing backslash is added when missing). Default "Z:\tmp\".
void SetTempPath(const std::u16string& windows_folder);

// ---- Fault injection ---------------------------------------------------------------------------
enum class FileOperation {
  kWrite,  // WriteFile on a handle opened on the path
  kFlush,  // FlushFileBuffers on such a handle
  kMove,   // MoveFileExW with the path as source or destination
};
enum class FaultEffect {
  kFail,  // the call fails with `error` and changes nothing
  // The calling process ends right there (exit code 0xC0000005), as if it crashed: a write
  // leaves the first half of its data in the file, a move does not happen. Its threads stop and
  // can no longer change files or the registry. On the world's own thread this acts as kFail.
  kCrash,
};
// Makes the `nth` next such operation on `windows_path` (1 = the very next) fail or crash.
// False, arming nothing, when the path cannot be resolved or nth is below 1.
bool InjectFileFault(const std::u16string& windows_path, FileOperation operation, int nth = 1,
                     FaultEffect effect = FaultEffect::kFail, DWORD error = ERROR_DISK_FULL);
void ClearFileFaults();

// ---- What processes opened -------------------------------------------------------------------
struct FileOpenRecord {
  std::u16string path;  // the full Windows path, e.g. u"Z:\\tmp\\Tellbud.ini"
  DWORD access = 0;     // GENERIC_READ / GENERIC_WRITE as asked
  DWORD disposition = 0;
};
// The files that process `pid` opened successfully (CreateFileW, icon files), in order, kept
// after the process ends: the most recent 512 at least, older ones forgotten so that a long
// session stays bounded.
std::vector<FileOpenRecord> OpenedFiles(DWORD pid);

}  // namespace sim
