// What the World prepares on its desktop before Tellbud starts, and how it names what it shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/registry.h>

#include "world/core/desktop_seed.h"
#include "world/core/exe_folder.h"
#include "world/core/world.h"

namespace {

class WorldTest : public ::testing::Test {
 protected:
  world::TemporaryFolder folder;
  world::World world{folder.path()};

  // Runs `body` in a process whose image is Tellbud.exe, as the program's icons are looked up.
  // The process then waits, keeping its icons (they go when it ends).
  void RunAsTellbud(std::function<void()> body) {
    sim::ProcessInfo info{0, u"Tellbud.exe", world.ModulePath(), u"\"" + world.ModulePath() + u"\""};
    world.desktop().StartProcess(info, [body] {
      body();
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      }
      return 0;
    });
    world.Settle();
  }
};

TEST_F(WorldTest, ModulePathIsTheFolderInWindowsForm) {
  EXPECT_EQ(world.ModulePath(), world::WindowsPath(folder.path()) + u"\\Tellbud.exe");
  EXPECT_EQ(world.ModulePath().substr(0, 3), u"Z:\\");
}

TEST_F(WorldTest, UsersStartupFolderIsInsideTheWorld) {
  auto value = sim::ReadRegistryValue(HKEY_CURRENT_USER, world::kShellFoldersKey, u"StartUp");
  ASSERT_TRUE(value && value->AsString());
  EXPECT_EQ(*value->AsString(), world::WindowsPath(folder.path() / "Startup"));
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "Startup"));
}

TEST_F(WorldTest, SysLogIsAbsentUntilSomeoneSetsIt) {
  EXPECT_FALSE(
      sim::ReadRegistryValue(HKEY_CURRENT_USER, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", u"SysLog"));
}

TEST_F(WorldTest, TellbudFindsItsIconResources) {
  HICON main_icon = nullptr, offline = nullptr, online = nullptr, missing = nullptr;
  RunAsTellbud([&] {
    main_icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
    offline = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(140));
    online = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(142));
    missing = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(141));
  });
  EXPECT_EQ(world::DescribeIconLook(main_icon, world.exe_folder()), "#128");
  EXPECT_EQ(world::DescribeIconLook(offline, world.exe_folder()), "#140");
  EXPECT_EQ(world::DescribeIconLook(online, world.exe_folder()), "#142");
  EXPECT_EQ(missing, nullptr);
}

TEST_F(WorldTest, IconFilesBesideTheExecutableAreNamedRelativeToIt) {
  HICON ok = nullptr, elsewhere = nullptr;
  std::filesystem::copy_file(folder.path() / "ok.ico", folder.path() / "Startup" / "copy.ico");
  std::u16string dir = world.ModulePath().substr(0, world.ModulePath().rfind(u'\\'));
  RunAsTellbud([&] {
    ok = static_cast<HICON>(
        LoadImageW(nullptr, (dir + u"\\ok.ico").c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    elsewhere = static_cast<HICON>(
        LoadImageW(nullptr, (dir + u"\\Startup\\copy.ico").c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
  });
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(world::DescribeIconLook(ok, world.exe_folder()), "ok.ico");
  EXPECT_EQ(world::DescribeIconLook(elsewhere, world.exe_folder()), "Startup\\copy.ico");
  EXPECT_EQ(world::DescribeIconLook(nullptr, world.exe_folder()), "none");
}

TEST_F(WorldTest, StartingWithoutTheProgramIsRefused) {
  if (world::World::ProgramLinked()) GTEST_SKIP() << "the program is part of this build";
  EXPECT_EQ(world.StartTellbud(""), 0u);
  EXPECT_TRUE(world.RunningTellbuds().empty());
}

}  // namespace
