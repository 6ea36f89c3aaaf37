// Helpers shared by the kernel and shell tests: a scratch folder on Linux and running a body
// as a program (a simulated process on Linux, a thread on Windows).
#pragma once

#include "support/test_desktop.h"

#if PLATFORM_TEST_SIMULATED
#include <sim/desktop.h>
#include <sim/files.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace kernel_test {

#if PLATFORM_TEST_SIMULATED
// A fresh folder under /tmp, removed with everything in it at the end of the test.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tellbud-kernel-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& linux_path() const { return path_; }
  std::string Linux(const std::string& name) const { return path_ + "/" + name; }
  // The path of a name in the folder for the test's own file access (the standard library).
  std::string Host(const std::string& name) const { return Linux(name); }
  // The Windows path of a name in the folder, on drive Z.
  std::u16string Windows(const std::string& name = "") const {
    return sim::WindowsPathOf(name.empty() ? path_ : Linux(name));
  }

 private:
  std::string path_;
};
#else
// A fresh folder in the temporary folder, removed with everything in it at the end of the test.
class ScratchFolder {
 public:
  ScratchFolder() {
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (unsigned n = GetTickCount();; ++n) {
      path_ = std::filesystem::path(temp) /
              ("tellbud-kernel-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n));
      if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string Host(const std::string& name) const { return (path_ / name).string(); }
  WString Windows(const std::string& name = "") const {
    return name.empty() ? path_.wstring() : (path_ / name).wstring();
  }

 private:
  std::filesystem::path path_;
};
#endif

inline std::string ReadAll(const std::string& linux_path) {
  std::ifstream in(linux_path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& linux_path, const std::string& bytes) {
  std::ofstream(linux_path, std::ios::binary) << bytes;
}

#if PLATFORM_TEST_SIMULATED
// Starts a process running `body` and lets the desktop run until every thread waits.
inline DWORD RunProcess(sim::Desktop& desktop, const std::u16string& image, std::function<int()> body) {
  DWORD pid = desktop.StartProcess(sim::ProcessInfo{0, image, u"Z:\\tmp\\" + image, image}, std::move(body));
  desktop.RunUntilIdle();
  return pid;
}
#else
inline DWORD RunProcess(platform_test::TestDesktop& desktop, const WString& image,
                        std::function<int()> body) {
  return desktop.StartProgram(image, std::move(body));
}
#endif

}  // namespace kernel_test
