// The folder that plays the executable's directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "world/core/embedded_files.h"
#include "world/core/exe_folder.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ExeFolderTest, WindowsPathIsDriveZWithBackslashes) {
  EXPECT_EQ(world::WindowsPath("/tmp/w/Tellbud.exe"), u"Z:\\tmp\\w\\Tellbud.exe");
  EXPECT_EQ(world::WindowsPath("/tmp/w/"), u"Z:\\tmp\\w");
  EXPECT_EQ(world::WindowsPath("/"), u"Z:\\");
}

TEST(ExeFolderTest, ShippedFilesAreTheDataFilesWithoutCustomIni) {
  std::vector<std::string> names;
  for (auto& f : world::ShippedDataFiles()) names.emplace_back(f.name);
  for (const char* expected : {"Tellbud.ini", "Tellbud.lnk", "ok.ico", "nophone.ico", "nodevice.ico",
                               "Language/English.ini", "Language/German.ini", "Language/French.ini"})
    EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
  EXPECT_EQ(std::find(names.begin(), names.end(), "Custom.ini"), names.end());
}

TEST(ExeFolderTest, IconResourcesAreTheProgramsThreeIcons) {
  std::vector<int> ids;
  for (auto& icon : world::ProgramIconResources()) {
    ids.push_back(icon.id);
    ASSERT_GE(icon.bytes.size(), 6u);
    EXPECT_EQ(icon.bytes[2], 1) << "an icon file's header says type 1";
  }
  EXPECT_EQ(ids, (std::vector<int>{128, 140, 142}));
}

TEST(ExeFolderTest, PreparingFillsMissingFilesAndKeepsEditedOnes) {
  world::TemporaryFolder temp;
  fs::path dir = temp.path() / "new" / "dir";
  ASSERT_TRUE(world::PrepareExeFolder(dir));
  EXPECT_TRUE(fs::is_directory(dir / "Startup"));
  EXPECT_TRUE(fs::exists(dir / "Language" / "French.ini"));
  EXPECT_FALSE(fs::exists(dir / "Custom.ini"));

  std::ofstream(dir / "Tellbud.ini", std::ios::binary) << "edited";
  fs::remove(dir / "ok.ico");
  ASSERT_TRUE(world::PrepareExeFolder(dir));
  EXPECT_EQ(ReadFile(dir / "Tellbud.ini"), "edited");
  EXPECT_TRUE(fs::exists(dir / "ok.ico"));
}

TEST(ExeFolderTest, PreparingFailsWhereAFileBlocksTheFolder) {
  world::TemporaryFolder temp;
  std::ofstream(temp.path() / "blocker") << "x";
  std::string why;
  EXPECT_FALSE(world::PrepareExeFolder(temp.path() / "blocker", &why));
  EXPECT_FALSE(why.empty());
}

TEST(ExeFolderTest, TemporaryFolderGoesWithEverythingInIt) {
  fs::path kept;
  {
    world::TemporaryFolder temp;
    kept = temp.path();
    ASSERT_TRUE(world::PrepareExeFolder(kept));
  }
  EXPECT_FALSE(fs::exists(kept));
}

TEST(ExeFolderTest, FilesBesideTheExecutableStayInsideItsFolder) {
  fs::path dir = "/tmp/w";
  EXPECT_EQ(world::FileBesideExe(dir, "Custom.ini"), dir / "Custom.ini");
  EXPECT_EQ(world::FileBesideExe(dir, "Language\\German.ini"), dir / "Language/German.ini");
  for (const char* bad : {"", "/etc/passwd", "../x.ini", "Language/../../x", "C:\\x.ini", "Language/"})
    EXPECT_EQ(world::FileBesideExe(dir, bad), std::nullopt) << bad;
}

}  // namespace
