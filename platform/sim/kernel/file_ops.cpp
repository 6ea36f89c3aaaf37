// Operations on files by name: copy, move, delete, attributes, folders and the temp folder.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kernel/file_system.h"

namespace {

BOOL FailWith(DWORD error) {
  SetLastError(error);
  return FALSE;
}

bool ReadOnly(const struct stat& st) { return !(st.st_mode & S_IWUSR); }

// Copies the bytes and permissions of `from` to `to` (created or truncated); returns an errno
// value, 0 on success.
int CopyContents(const std::string& from, const std::string& to, bool exclusive) {
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  struct stat st {};
  if (fstat(in, &st) != 0) st.st_mode = 0600;
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (exclusive ? O_EXCL : 0), 0600);
  if (out < 0) {
    int e = errno;
    close(in);
    return e;
  }
  int error = 0;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) error = errno;
      break;
    }
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(out, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) {
        error = errno;
        break;
      }
      done += w;
    }
    if (error) break;
  }
  fchmod(out, st.st_mode & 07777);
  close(in);
  if (close(out) != 0 && !error) error = errno;
  return error;
}

// fsyncs a file and the folder holding it, so a rename is on disk when the call returns.
void SyncFileAndFolder(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  size_t slash = path.find_last_of('/');
  std::string folder = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
  int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
}

}  // namespace

BOOL WINAPI CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
  if (sim::CallerProcessEnded()) return FALSE;
  auto from = sim::ResolvePath(lpExistingFileName);
  if (!from) return FALSE;
  auto to = sim::ResolvePath(lpNewFileName);
  if (!to) return FALSE;
  struct stat src, dst;
  if (stat(from->host.c_str(), &src) != 0) return FailWith(sim::ErrorFromErrno(errno, from->host));
  if (S_ISDIR(src.st_mode)) return FailWith(ERROR_ACCESS_DENIED);
  if (stat(to->host.c_str(), &dst) == 0) {
    if (bFailIfExists) return FailWith(ERROR_FILE_EXISTS);
    // Copying a file onto itself would truncate the only copy before reading it.
    if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) return FailWith(ERROR_SHARING_VIOLATION);
    if (S_ISDIR(dst.st_mode) || ReadOnly(dst)) return FailWith(ERROR_ACCESS_DENIED);
  }
  int error = CopyContents(from->host, to->host, bFailIfExists != FALSE);
  if (error) return FailWith(error == EEXIST ? ERROR_FILE_EXISTS : sim::ErrorFromErrno(error, to->host));
  return TRUE;
}

BOOL WINAPI MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
  if (sim::CallerProcessEnded()) return FALSE;
  if (!lpNewFileName) return FailWith(ERROR_INVALID_PARAMETER);  // deleting at reboot is not offered
  auto from = sim::ResolvePath(lpExistingFileName);
  if (!from) return FALSE;
  auto to = sim::ResolvePath(lpNewFileName);
  if (!to) return FALSE;
  struct stat src, dst;
  if (lstat(from->host.c_str(), &src) != 0) return FailWith(sim::ErrorFromErrno(errno, from->host));
  if (lstat(to->host.c_str(), &dst) == 0 && from->host != to->host) {
    if (!(dwFlags & MOVEFILE_REPLACE_EXISTING)) return FailWith(ERROR_ALREADY_EXISTS);
    if (S_ISDIR(dst.st_mode) || S_ISDIR(src.st_mode) || ReadOnly(dst)) return FailWith(ERROR_ACCESS_DENIED);
  }
  if (auto fault = sim::TakeFileFault(sim::FileOperation::kMove, {from->host, to->host})) {
    if (fault->effect == sim::FaultEffect::kCrash) sim::CrashCallingProcess();
    return FailWith(fault->error);
  }
  if (rename(from->host.c_str(), to->host.c_str()) != 0) {
    int error = errno;
    if (error != EXDEV || !(dwFlags & MOVEFILE_COPY_ALLOWED) || S_ISDIR(src.st_mode))
      return FailWith(sim::ErrorFromErrno(error, error == ENOENT ? to->host : from->host));
    error = CopyContents(from->host, to->host, false);
    if (error) return FailWith(sim::ErrorFromErrno(error, to->host));
    unlink(from->host.c_str());
  }
  if (dwFlags & MOVEFILE_WRITE_THROUGH) SyncFileAndFolder(to->host);
  return TRUE;
}

BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
  if (sim::CallerProcessEnded()) return FALSE;
  auto path = sim::ResolvePath(lpFileName);
  if (!path) return FALSE;
  struct stat st;
  if (lstat(path->host.c_str(), &st) != 0) return FailWith(sim::ErrorFromErrno(errno, path->host));
  if (S_ISDIR(st.st_mode) || ReadOnly(st)) return FailWith(ERROR_ACCESS_DENIED);
  if (unlink(path->host.c_str()) != 0) return FailWith(sim::ErrorFromErrno(errno, path->host));
  return TRUE;
}

DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
  auto path = sim::ResolvePath(lpFileName);
  if (!path) return INVALID_FILE_ATTRIBUTES;
  struct stat st;
  if (stat(path->host.c_str(), &st) != 0) {
    SetLastError(sim::ErrorFromErrno(errno, path->host));
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return FILE_ATTRIBUTE_ARCHIVE | (ReadOnly(st) ? FILE_ATTRIBUTE_READONLY : 0);
}

BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES) {
  if (sim::CallerProcessEnded()) return FALSE;
  auto path = sim::ResolvePath(lpPathName);
  if (!path) return FALSE;
  if (mkdir(path->host.c_str(), 0777) != 0) {
    if (errno == EEXIST) return FailWith(ERROR_ALREADY_EXISTS);
    if (errno == ENOENT) return FailWith(ERROR_PATH_NOT_FOUND);
    return FailWith(sim::ErrorFromErrno(errno, path->host));
  }
  return TRUE;
}

// Returns the length copied, or the size needed (terminator included) when the buffer is short.
DWORD WINAPI GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer) {
  const std::u16string& path = sim::FileSystem().temp_path;
  if (!lpBuffer || nBufferLength <= path.size()) return static_cast<DWORD>(path.size() + 1);
  std::copy(path.begin(), path.end(), lpBuffer);
  lpBuffer[path.size()] = 0;
  return static_cast<DWORD>(path.size());
}
