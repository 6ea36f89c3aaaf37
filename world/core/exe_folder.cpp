#include "world/core/exe_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <fstream>
#include <system_error>

#include "world/core/embedded_files.h"
#include "world/core/text.h"

namespace world {

namespace fs = std::filesystem;

std::u16string WindowsPath(const fs::path& linux_path) {
  std::u16string out = u"Z:";
  for (char16_t c : Utf16(fs::absolute(linux_path).lexically_normal().string())) out += c == u'/' ? u'\\' : c;
  // "/tmp/w/" keeps no trailing separator, except for the root itself ("Z:\").
  if (out.size() > 3 && out.back() == u'\\') out.pop_back();
  return out;
}

fs::path StartupFolder(const fs::path& exe_folder) { return exe_folder / "Startup"; }

bool PrepareExeFolder(const fs::path& folder, std::string* why_not) {
  auto fail = [&](const std::string& what) {
    if (why_not) *why_not = what;
    return false;
  };
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) return fail("cannot create " + folder.string() + ": " + ec.message());
  fs::create_directories(StartupFolder(folder), ec);
  if (ec) return fail("cannot create " + StartupFolder(folder).string() + ": " + ec.message());
  for (const EmbeddedFile& file : ShippedDataFiles()) {
    fs::path target = folder / fs::path(std::string(file.name));
    if (fs::exists(target, ec)) continue;
    fs::create_directories(target.parent_path(), ec);
    std::ofstream out(target, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.bytes.data()),
              static_cast<std::streamsize>(file.bytes.size()));
    out.close();
    if (!out) return fail("cannot write " + target.string());
  }
  return true;
}

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "tellbud-sim-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw fs::filesystem_error("cannot create a temporary folder", pattern,
                               std::error_code(errno, std::generic_category()));
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

}  // namespace world

namespace world {

std::optional<std::filesystem::path> FileBesideExe(const std::filesystem::path& exe_folder,
                                                   const std::string& name) {
  std::string portable = name;
  for (char& c : portable)
    if (c == '\\') c = '/';
  std::filesystem::path relative(portable);
  if (portable.empty() || relative.is_absolute() || relative.has_root_name() ||
      portable.find(':') != std::string::npos)
    return std::nullopt;
  for (const auto& part : relative)
    if (part == "..") return std::nullopt;
  if (relative.filename().empty()) return std::nullopt;
  return exe_folder / relative;
}

}  // namespace world
