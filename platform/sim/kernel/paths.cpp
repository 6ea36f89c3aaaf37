// Windows paths to Linux paths. Resolution works on the full Windows path first (drive, then
// names), so the MAX_PATH limit and name rules apply to what Windows would see.
#include <cerrno>
#include <string_view>
#include <sys/stat.h>

#include "kernel/file_system.h"

namespace sim {

namespace {

constexpr size_t kLongPathLimit = 32767;
constexpr std::u16string_view kLongPrefix = u"\\\\?\\";

char16_t UpperDrive(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool IsDriveLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// '/' can only appear inside a literal ("\\?\") path's names, where it is not a separator.
bool IsInvalidNameChar(char16_t c) {
  return c < 0x20 || c == u'/' || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|' ||
         c == u'?' || c == u'*';
}

// The folder of the process's executable, where relative paths start.
std::u16string CurrentDirectory() {
  const std::u16string& module = CurrentProcess().info.module_path;
  size_t slash = module.find_last_of(u"\\/");
  if (module.size() < 3 || !IsDriveLetter(module[0]) || module[1] != u':' || slash == std::u16string::npos)
    return u"Z:\\";
  return module.substr(0, slash + 1);
}

std::optional<ResolvedPath> Fail(DWORD error) {
  SetLastError(error);
  return std::nullopt;
}

// Splits `rest` (below the drive root) into names, applying Windows' normalisation unless the
// path was given literally.
std::optional<std::vector<std::u16string>> SplitNames(std::u16string_view rest, bool literal) {
  std::vector<std::u16string> names;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find(u'\\', start);
    if (end == std::u16string_view::npos) end = rest.size();
    std::u16string name(rest.substr(start, end - start));
    start = end + 1;
    if (!literal) {
      if (name == u"..") {
        if (!names.empty()) names.pop_back();
        continue;
      }
      if (name != u".") {
        while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.pop_back();
      }
      if (name.empty() || name == u".") continue;
    } else if (name.empty()) {
      continue;
    } else if (name == u"." || name == u"..") {
      return std::nullopt;  // literal paths are not normalised, and must not climb out of a drive
    }
    for (char16_t c : name)
      if (IsInvalidNameChar(c)) return std::nullopt;
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace

FileSystemState& FileSystem() { return Desktop::Current().Module<FileSystemState>(); }

std::optional<ResolvedPath> ResolvePath(LPCWSTR raw) {
  if (!raw || !*raw) return Fail(ERROR_PATH_NOT_FOUND);
  std::u16string path(raw);
  bool literal = path.starts_with(kLongPrefix);
  if (literal) {
    path.erase(0, kLongPrefix.size());
  } else {
    for (char16_t& c : path)
      if (c == u'/') c = u'\\';
  }

  char16_t drive;
  std::u16string_view rest;
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':') {
    drive = UpperDrive(path[0]);
    rest = std::u16string_view(path).substr(2);
  } else if (literal || path.starts_with(u"\\\\")) {
    return Fail(ERROR_PATH_NOT_FOUND);  // network paths and unusual literal forms do not exist here
  } else if (path[0] == u'\\') {
    drive = u'Z';
    rest = path;
  } else {
    std::u16string absolute = CurrentDirectory() + path;
    return ResolvePath(absolute.c_str());
  }

  auto names = SplitNames(rest, literal);
  if (!names) return Fail(ERROR_INVALID_NAME);

  ResolvedPath out;
  out.windows = std::u16string(1, drive) + u":\\";
  for (size_t i = 0; i < names->size(); ++i) out.windows += (i ? u"\\" : u"") + (*names)[i];
  if (out.windows.size() >= (literal ? kLongPathLimit : static_cast<size_t>(MAX_PATH)))
    return Fail(ERROR_FILENAME_EXCED_RANGE);

  auto& roots = FileSystem().drive_roots;
  auto root = roots.find(drive);
  if (root == roots.end()) return Fail(ERROR_PATH_NOT_FOUND);
  out.host = root->second;
  while (out.host.size() > 1 && out.host.back() == '/') out.host.pop_back();
  for (auto& name : *names) {
    if (out.host.back() != '/') out.host += '/';
    out.host += ToUtf8(name);
  }
  return out;
}

DWORD ErrorFromErrno(int error_number, const std::string& host_path) {
  switch (error_number) {
    case ENOENT: {
      size_t slash = host_path.find_last_of('/');
      std::string folder = slash == 0 ? "/" : host_path.substr(0, slash);
      struct stat st;
      bool folder_exists =
          slash != std::string::npos && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      return folder_exists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EEXIST:
      return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:  // EACCES, EPERM, EROFS, EISDIR, EBUSY, ...
      return ERROR_ACCESS_DENIED;
  }
}

void SetDriveRoot(char letter, const std::string& linux_folder) {
  char16_t drive = UpperDrive(static_cast<char16_t>(letter));
  if (drive < u'A' || drive > u'Z') return;
  FileSystem().drive_roots[drive] = linux_folder.empty() ? "/" : linux_folder;
}

std::optional<std::string> HostPath(const std::u16string& windows_path) {
  DWORD saved = GetLastError();
  auto resolved = ResolvePath(windows_path.c_str());
  SetLastError(saved);
  if (!resolved) return std::nullopt;
  return resolved->host;
}

std::u16string WindowsPathOf(const std::string& linux_path) {
  std::u16string out = u"Z:" + FromUtf8(linux_path);
  for (char16_t& c : out)
    if (c == u'/') c = u'\\';
  if (out.size() == 2) out += u'\\';
  return out;
}

void SetTempPath(const std::u16string& windows_folder) {
  std::u16string path = windows_folder;
  if (path.empty() || path.back() != u'\\') path += u'\\';
  FileSystem().temp_path = path;
}

}  // namespace sim
