#include "config/profile_file.h"

namespace config {
namespace {

constexpr unsigned kTemporaryNameAttempts = 64;

bool IsSeparator(WCHAR c) { return c == TEXT('\\') || c == TEXT('/'); }

// "X:\..." with no "." or ".." folder, which the "\\?\" form would take literally.
bool CanTakeLongPrefix(const Text& folder) {
  if (folder.size() < 3 || folder[1] != TEXT(':') || !IsSeparator(folder[2])) return false;
  size_t start = 3;
  while (start < folder.size()) {
    size_t end = start;
    while (end < folder.size() && !IsSeparator(folder[end])) ++end;
    const Text part = folder.substr(start, end - start);
    if (part.empty() || part == TEXT(".") || part == TEXT("..")) return false;
    start = end + 1;
  }
  return true;
}

// Closes `handle` without disturbing the last error of an earlier failure.
void CloseKeepingError(HANDLE handle) {
  const DWORD error = GetLastError();
  CloseHandle(handle);
  SetLastError(error);
}

HANDLE CreateTemporaryFileBeside(LPCWSTR path, Text& temporary) {
  for (unsigned attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary = TemporaryPathBeside(path, attempt);
    if (temporary.empty()) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return INVALID_HANDLE_VALUE;
    }
    HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return INVALID_HANDLE_VALUE;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAndFlush(HANDLE file, const Bytes& contents) {
  DWORD written = 0;
  const auto size = static_cast<DWORD>(contents.size());
  if (size > 0 && !WriteFile(file, contents.data(), size, &written, nullptr)) return false;
  if (written != size) {
    SetLastError(ERROR_WRITE_FAULT);
    return false;
  }
  return FlushFileBuffers(file) != FALSE;
}

}  // namespace

Text TemporaryPathBeside(const Text& path, unsigned attempt) {
  const unsigned tag = GetCurrentProcessId() * 2654435761u + GetTickCount() + attempt * 40503u;
  const size_t slash = path.find_last_of(TEXT("\\/"));
  Text folder;
  if (slash != Text::npos) {
    folder = path.substr(0, slash + 1);
  } else if (path.size() >= 2 && path[1] == TEXT(':')) {
    folder = path.substr(0, 2);  // "C:name": relative to the drive's current folder
  }
  Text name = TEXT("~tb");
  for (int shift = 12; shift >= 0; shift -= 4) name.push_back(TEXT("0123456789abcdef")[(tag >> shift) & 0xF]);
  name += TEXT(".tmp");

  const Text candidate = folder + name;
  const Text long_prefix = TEXT("\\\\?\\");
  if (candidate.size() < MAX_PATH || candidate.compare(0, long_prefix.size(), long_prefix) == 0)
    return candidate;
  if (!CanTakeLongPrefix(folder)) return {};
  Text long_form = long_prefix + candidate;
  for (WCHAR& c : long_form) {
    if (c == TEXT('/')) c = TEXT('\\');
  }
  return long_form;
}

bool ReadWholeFile(LPCWSTR path, Bytes& contents) {
  contents.clear();
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) {
    CloseKeepingError(file);
    return false;
  }
  if (size.QuadPart > kMaxProfileFileSize) {
    CloseHandle(file);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  contents.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < contents.size()) {
    DWORD read = 0;
    if (!ReadFile(file, contents.data() + done, static_cast<DWORD>(contents.size() - done), &read, nullptr)) {
      CloseKeepingError(file);
      contents.clear();
      return false;
    }
    if (read == 0) break;  // the file became shorter meanwhile
    done += read;
  }
  contents.resize(done);
  CloseHandle(file);
  return true;
}

bool ReplaceWholeFile(LPCWSTR path, const Bytes& contents) {
  if (path == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  Text temporary;
  HANDLE file = CreateTemporaryFileBeside(path, temporary);
  if (file == INVALID_HANDLE_VALUE) return false;

  bool ok = WriteAndFlush(file, contents);
  DWORD error = ok ? ERROR_SUCCESS : GetLastError();
  if (!CloseHandle(file) && ok) {
    ok = false;
    error = GetLastError();
  }
  if (ok && !MoveFileExW(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    error = GetLastError();
  }
  if (!ok) {
    DeleteFileW(temporary.c_str());
    SetLastError(error);
  }
  return ok;
}

}  // namespace config
