// File handles: CreateFileW and the calls that read, write, size and position an open file.
// A file handle is a kernel object of the opening process; the descriptor closes with the last
// handle (and so when the process ends).
#include <windows.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kernel/file_system.h"

namespace {

struct FileObject : sim::KernelObject {
  int fd = -1;
  std::string host_path;
  bool can_read = false;
  bool can_write = false;
  ~FileObject() override {
    if (fd >= 0) close(fd);
  }
  bool Signaled() const override { return true; }  // synchronous I/O: nothing to wait for
};

constexpr DWORD kGenericAll = 0x10000000;

std::shared_ptr<FileObject> LookupFile(HANDLE handle) {
  auto file = sim::LookupHandleAs<FileObject>(handle);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

BOOL FailWith(DWORD error) {
  SetLastError(error);
  return FALSE;
}

HANDLE FailHandle(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

// Writes all of `size` bytes unless the system refuses; returns the count written.
ssize_t WriteAll(int fd, const BYTE* data, size_t size, int* error) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = write(fd, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      *error = errno;
      return static_cast<ssize_t>(done);
    }
    done += static_cast<size_t>(n);
  }
  *error = 0;
  return static_cast<ssize_t>(done);
}

// Open flags for a disposition, or -1 for an unknown one.
int DispositionFlags(DWORD disposition) {
  switch (disposition) {
    case CREATE_NEW:
      return O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
      return O_CREAT | O_TRUNC;
    case OPEN_EXISTING:
      return 0;
    case OPEN_ALWAYS:
      return O_CREAT;
    case TRUNCATE_EXISTING:
      return O_TRUNC;
    default:
      return -1;
  }
}

}  // namespace

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE) {
  if (sim::CallerProcessEnded()) return INVALID_HANDLE_VALUE;
  auto path = sim::ResolvePath(lpFileName);
  if (!path) return INVALID_HANDLE_VALUE;
  bool read = (dwDesiredAccess & (GENERIC_READ | FILE_READ_DATA | kGenericAll)) != 0;
  bool write = (dwDesiredAccess & (GENERIC_WRITE | FILE_WRITE_DATA | FILE_APPEND_DATA | kGenericAll)) != 0;
  int flags = DispositionFlags(dwCreationDisposition);
  if (flags < 0 || (dwCreationDisposition == TRUNCATE_EXISTING && !write))
    return FailHandle(ERROR_INVALID_PARAMETER);

  struct stat st;
  bool exists = stat(path->host.c_str(), &st) == 0;
  if (exists && dwCreationDisposition == CREATE_NEW) return FailHandle(ERROR_FILE_EXISTS);
  if (exists && S_ISDIR(st.st_mode)) return FailHandle(ERROR_ACCESS_DENIED);
  // The read-only attribute is the owner's write permission; honoured even for root.
  if (exists && write && !(st.st_mode & S_IWUSR)) return FailHandle(ERROR_ACCESS_DENIED);

  flags |= O_CLOEXEC | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
  if (dwFlagsAndAttributes & FILE_FLAG_WRITE_THROUGH) flags |= O_DSYNC;
  int fd = open(path->host.c_str(), flags, 0666);
  if (fd < 0) return FailHandle(sim::ErrorFromErrno(errno, path->host));

  auto file = std::make_shared<FileObject>();
  file->fd = fd;
  file->host_path = path->host;
  file->can_read = read;
  file->can_write = write;
  sim::RecordOpenedFile(*path, dwDesiredAccess, dwCreationDisposition);
  HANDLE handle = sim::AddHandle(file, sim::CurrentProcess().info.pid);
  bool found = exists && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
  SetLastError(found ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

// Overlapped I/O is not supported: every handle here is synchronous.
BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  if (lpOverlapped || !lpNumberOfBytesRead) return FailWith(ERROR_INVALID_PARAMETER);
  if (!file->can_read) return FailWith(ERROR_ACCESS_DENIED);
  if (!lpBuffer && nNumberOfBytesToRead) return FailWith(ERROR_NOACCESS);
  auto* out = static_cast<BYTE*>(lpBuffer);
  DWORD done = 0;
  while (done < nNumberOfBytesToRead) {
    ssize_t n = read(file->fd, out + done, nNumberOfBytesToRead - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *lpNumberOfBytesRead = done;
      return FailWith(sim::ErrorFromErrno(errno, file->host_path));
    }
    if (n == 0) break;  // end of file: success with fewer bytes
    done += static_cast<DWORD>(n);
  }
  *lpNumberOfBytesRead = done;
  return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  if (lpOverlapped || !lpNumberOfBytesWritten) return FailWith(ERROR_INVALID_PARAMETER);
  if (!file->can_write) return FailWith(ERROR_ACCESS_DENIED);
  if (!lpBuffer && nNumberOfBytesToWrite) return FailWith(ERROR_NOACCESS);
  if (sim::CallerProcessEnded()) return FALSE;
  const auto* data = static_cast<const BYTE*>(lpBuffer);
  int error = 0;
  if (auto fault = sim::TakeFileFault(sim::FileOperation::kWrite, {file->host_path})) {
    if (fault->effect == sim::FaultEffect::kCrash && !sim::CurrentThread().is_world) {
      WriteAll(file->fd, data, nNumberOfBytesToWrite / 2, &error);
      sim::CrashCallingProcess();
    }
    return FailWith(fault->error);
  }
  ssize_t n = WriteAll(file->fd, data, nNumberOfBytesToWrite, &error);
  *lpNumberOfBytesWritten = static_cast<DWORD>(n);
  if (error) return FailWith(sim::ErrorFromErrno(error, file->host_path));
  return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  if (!file->can_write) return FailWith(ERROR_ACCESS_DENIED);
  if (auto fault = sim::TakeFileFault(sim::FileOperation::kFlush, {file->host_path})) {
    if (fault->effect == sim::FaultEffect::kCrash) sim::CrashCallingProcess();
    return FailWith(fault->error);
  }
  if (fsync(file->fd) != 0) return FailWith(sim::ErrorFromErrno(errno, file->host_path));
  return TRUE;
}

BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  if (!lpFileSize) return FailWith(ERROR_NOACCESS);
  struct stat st;
  if (fstat(file->fd, &st) != 0) return FailWith(sim::ErrorFromErrno(errno, file->host_path));
  lpFileSize->QuadPart = st.st_size;
  return TRUE;
}

// The low part is returned; since it may equal INVALID_FILE_SIZE, success sets NO_ERROR.
DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(hFile, &size)) return INVALID_FILE_SIZE;
  if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(size.QuadPart >> 32);
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(size.QuadPart & 0xFFFFFFFF);
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                            DWORD dwMoveMethod) {
  auto file = LookupFile(hFile);
  if (!file) return INVALID_SET_FILE_POINTER;
  LONGLONG distance = lDistanceToMove;
  if (lpDistanceToMoveHigh) {
    ULONGLONG high = static_cast<DWORD>(*lpDistanceToMoveHigh);
    distance = static_cast<LONGLONG>((high << 32) | static_cast<DWORD>(lDistanceToMove));
  }
  LONGLONG base = 0;
  if (dwMoveMethod == FILE_CURRENT) {
    base = lseek(file->fd, 0, SEEK_CUR);
  } else if (dwMoveMethod == FILE_END) {
    struct stat st;
    base = fstat(file->fd, &st) == 0 ? st.st_size : -1;
  } else if (dwMoveMethod != FILE_BEGIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (base < 0) {
    SetLastError(sim::ErrorFromErrno(errno, file->host_path));
    return INVALID_SET_FILE_POINTER;
  }
  LONGLONG target = base + distance;
  if (target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  // Without a high part the position must stay representable in the 32-bit result.
  if (!lpDistanceToMoveHigh && target >= static_cast<LONGLONG>(INVALID_SET_FILE_POINTER)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (lseek(file->fd, target, SEEK_SET) < 0) {
    SetLastError(sim::ErrorFromErrno(errno, file->host_path));
    return INVALID_SET_FILE_POINTER;
  }
  if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(target >> 32);
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(target & 0xFFFFFFFF);
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
  auto file = LookupFile(hFile);
  if (!file) return FALSE;
  if (!file->can_write) return FailWith(ERROR_ACCESS_DENIED);
  if (sim::CallerProcessEnded()) return FALSE;
  off_t position = lseek(file->fd, 0, SEEK_CUR);
  if (position < 0 || ftruncate(file->fd, position) != 0)
    return FailWith(sim::ErrorFromErrno(errno, file->host_path));
  return TRUE;
}
