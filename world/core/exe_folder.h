// The folder that plays Tellbud.exe's directory: a Linux folder that the program sees as
// "Z:" followed by the path with backslashes, holding the data files shipped beside the
// executable and the user's Startup folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace world {

// The Windows form of an absolute Linux path: "/tmp/w/Tellbud.exe" -> "Z:\tmp\w\Tellbud.exe".
std::u16string WindowsPath(const std::filesystem::path& linux_path);

// Creates `folder` when needed and writes every shipped data file that is missing (files that
// exist are kept as they are: the user may have edited them), and the Startup folder. Returns
// false with a reason when the folder cannot be prepared.
bool PrepareExeFolder(const std::filesystem::path& folder, std::string* why_not = nullptr);

// The Startup folder inside the executable's folder, seeded into the registry as the user's.
std::filesystem::path StartupFolder(const std::filesystem::path& exe_folder);

// A fresh private folder under the system's temporary directory, removed with everything in
// it when the object goes.
class TemporaryFolder {
 public:
  TemporaryFolder();  // throws std::filesystem::filesystem_error when none can be made
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace world

namespace world {

// A file beside the executable named as a person would name it: relative to the folder, with
// '/' or '\' between folder names. Nothing for names that leave the folder (absolute paths,
// "..") or name nothing.
std::optional<std::filesystem::path> FileBesideExe(const std::filesystem::path& exe_folder,
                                                   const std::string& name);

}  // namespace world
