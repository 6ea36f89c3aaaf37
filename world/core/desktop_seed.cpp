#include "world/core/desktop_seed.h"

#include <sim/icons.h>
#include <sim/registry.h>

#include <cstdio>

#include "world/core/embedded_files.h"
#include "world/core/exe_folder.h"
#include "world/core/text.h"

namespace world {

namespace {

constexpr char16_t kImageName[] = u"Tellbud.exe";

// Windows compares paths without regard to case.
bool StartsWithIgnoringCase(const std::u16string& text, const std::u16string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    auto lower = [](char16_t c) {
      return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    };
    if (lower(text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

}  // namespace

void SeedDesktop(const std::filesystem::path& exe_folder) {
  for (const EmbeddedIcon& icon : ProgramIconResources())
    sim::RegisterIconResource(kImageName, icon.id,
                              std::vector<uint8_t>(icon.bytes.begin(), icon.bytes.end()));
  sim::SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, kStartupValue,
                         WindowsPath(StartupFolder(exe_folder)));
}

std::string DescribeIconLook(HICON icon, const std::filesystem::path& exe_folder) {
  if (!icon) return "none";
  auto description = sim::DescribeIcon(icon);
  if (!description) return "none";
  switch (description->origin) {
    case sim::IconDescription::Origin::kFile: {
      std::u16string folder = WindowsPath(exe_folder) + u"\\";
      std::u16string path = description->path;
      if (StartsWithIgnoringCase(path, folder)) path = path.substr(folder.size());
      return Utf8(path);
    }
    case sim::IconDescription::Origin::kResource:
      return "#" + std::to_string(description->resource_id);
    case sim::IconDescription::Origin::kSystem:
      return "system #" + std::to_string(description->resource_id);
    case sim::IconDescription::Origin::kMemory:
      return "memory";
  }
  return "none";
}

}  // namespace world
