// Start with Windows: the tray menu's "AutoRun" mark and the copy of Tellbud.lnk in the user's
// Startup folder that it stands for.
#include "ui_fixture.h"

#include <sim/files.h>
#include <sim/registry.h>

#include <functional>

namespace {

namespace fs = std::filesystem;

const char16_t kShellFolders[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class AutoRunTest : public UiFixture {
 protected:
  fs::path Link() const { return world::StartupFolder(world.exe_folder()) / "Tellbud.lnk"; }
  std::string ReadLink() const {
    std::ifstream in(Link(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void PutLink(const std::string& bytes) const { std::ofstream(Link(), std::ios::binary) << bytes; }
};

TEST_F(AutoRunTest, ChoosingAutoRunTwiceCopiesTheShortcutAndDeletesItAgain) {
  Run("start");
  EXPECT_FALSE(AutoRunChecked());
  ChooseAutoRun();
  ASSERT_TRUE(fs::exists(Link()));
  EXPECT_EQ(ReadLink(), ReadFile("Tellbud.lnk"));
  EXPECT_TRUE(AutoRunChecked());
  ChooseAutoRun();
  EXPECT_FALSE(fs::exists(Link()));
  EXPECT_FALSE(AutoRunChecked());
}

TEST_F(AutoRunTest, ShortcutInTheStartupFolderAtStartChecksTheMarkAndChoosingDeletesIt) {
  PutLink("installed earlier");
  Run("start");
  EXPECT_TRUE(AutoRunChecked());
  ChooseAutoRun();
  EXPECT_FALSE(fs::exists(Link()));
  EXPECT_FALSE(AutoRunChecked());
}

TEST_F(AutoRunTest, MarkFollowsTheCommandWhenThereIsNoShortcutToCopy) {
  fs::remove(world.exe_folder() / "Tellbud.lnk");
  Run("start");
  ChooseAutoRun();
  EXPECT_TRUE(AutoRunChecked());
  EXPECT_FALSE(fs::exists(Link()));
  // The next start finds no copy.
  RunAll({"start *exit*", "start"});
  EXPECT_FALSE(AutoRunChecked());
}

TEST_F(AutoRunTest, ShortcutPlacedWhileRunningIsKeptBySwitchingOnAndDeletedBySwitchingOff) {
  Run("start");
  PutLink("someone else's");
  ChooseAutoRun();
  EXPECT_EQ(ReadLink(), "someone else's");
  EXPECT_TRUE(AutoRunChecked());
  ChooseAutoRun();
  EXPECT_FALSE(fs::exists(Link()));
}

TEST_F(AutoRunTest, WithoutAUsableStartupFolderNothingIsCopiedOrDeletedAnywhere) {
  const auto rootLink = sim::HostPath(u"\\Tellbud.lnk");
  ASSERT_TRUE(rootLink);
  ASSERT_FALSE(fs::exists(*rootLink));
  const std::u16string tooLong = world::WindowsPath(world.exe_folder()) + u"\\" + std::u16string(240, u's');
  struct Case {
    const char* what;
    std::function<void()> arrange;
  } cases[] = {
      {"no registry key", [] { sim::RemoveRegistryKey(HKEY_CURRENT_USER, kShellFolders); }},
      {"an empty value", [] { sim::SetRegistryString(HKEY_CURRENT_USER, kShellFolders, u"StartUp", u""); }},
      {"a number instead of a folder",  // its bytes read as text name the folder "A"
       [&] {
         fs::create_directory(world.exe_folder() / "A");
         sim::SetRegistryDword(HKEY_CURRENT_USER, kShellFolders, u"StartUp", 0x41);
       }},
      {"a folder too long for the name",
       [&] { sim::SetRegistryString(HKEY_CURRENT_USER, kShellFolders, u"StartUp", tooLong); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    Run("start");
    EXPECT_FALSE(AutoRunChecked());
    ChooseAutoRun();
    EXPECT_TRUE(AutoRunChecked()) << "the mark follows the command";
    EXPECT_FALSE(fs::exists(*rootLink));
    EXPECT_TRUE(fs::is_empty(world::StartupFolder(world.exe_folder())));
    EXPECT_FALSE(fs::exists(world.exe_folder() / "A" / "Tellbud.lnk"));
    ChooseAutoRun();
    EXPECT_FALSE(AutoRunChecked());
    Run("start *exit*");
  }
}

}  // namespace
