// Executable folders whose paths leave little or no room in the 260-character path buffers for
// the names appended to them: Tellbud refuses to start, or leaves out what does not fit, and
// never writes past a buffer or touches a file under a cut name.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/files.h>
#include <sim/menus.h>
#include <sim/tray.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/paths.h"
#include "world/core/exe_folder.h"
#include "world/core/world.h"

namespace {

namespace fs = std::filesystem;

class LongFolderTest : public ::testing::Test {
 protected:
  world::TemporaryFolder temp;
  std::unique_ptr<world::World> world;
  std::vector<std::string> printed;

  // A world whose executable folder has a Windows path of exactly `length` characters.
  void MakeWorld(size_t length) {
    fs::path dir = temp.path();
    size_t now = world::WindowsPath(dir).size();
    ASSERT_LT(now + 3, length);
    while (now < length) {
      size_t name = std::min<size_t>(length - now - 1, 100);
      if (length - (now + name + 1) == 1) --name;  // leave room for a separator and a name
      dir /= std::string(name, 'd');
      now += name + 1;
    }
    ASSERT_EQ(world::WindowsPath(dir).size(), length);
    world = std::make_unique<world::World>(dir);
    world->transcript().SetSink([this](const std::string& line) { printed.push_back(line); });
  }
  bool Printed(const std::string& text) const {
    for (const std::string& line : printed)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }
  std::u16string Folder() const { return world::WindowsPath(world->exe_folder()); }
};

TEST_F(LongFolderTest, ModulePathBeyondTheBufferIsRefusedBeforeAnyFileIsTouched) {
  MakeWorld(250);  // the module path has 262 characters
  const DWORD pid = world->StartTellbud("");
  EXPECT_FALSE(world->desktop().IsProcessRunning(pid));
  EXPECT_TRUE(sim::OpenedFiles(pid).empty());
  EXPECT_TRUE(sim::TrayIcons().empty());
  EXPECT_FALSE(Printed("window"));
  EXPECT_FALSE(fs::exists(world->exe_folder() / "Custom.ini"));
}

TEST_F(LongFolderTest, FolderWithoutRoomForTheLanguageFileIsRefused) {
  MakeWorld(240);  // Tellbud.exe and Tellbud.ini fit, "\Language\English.ini" does not
  const DWORD pid = world->StartTellbud("");
  EXPECT_FALSE(world->desktop().IsProcessRunning(pid));
  EXPECT_TRUE(sim::TrayIcons().empty());
  EXPECT_FALSE(Printed("window"));
  EXPECT_EQ(g_szLanguagePath[0], 0) << "no cut path is left for anyone to use";
}

TEST_F(LongFolderTest, FolderThatJustFitsRunsWithEveryFile) {
  MakeWorld(238);  // the language file's path has 259 characters
  world->StartTellbud("");
  ASSERT_EQ(world->RunningTellbuds().size(), 1u);
  EXPECT_EQ(std::u16string(g_szLanguagePath), Folder() + u"\\Language\\English.ini");
  world->Wait(1000);
  EXPECT_TRUE(Printed("tray icon nodevice.ico"));

  auto icon = sim::TrayIcons().at(0);
  ASSERT_TRUE(sim::RightClickTrayIcon(icon.owner, icon.id));
  world->Settle();
  ASSERT_TRUE(sim::ChoosePopupMenuItem(u"AutoRun"));
  world->Settle();
  EXPECT_TRUE(fs::exists(world::StartupFolder(world->exe_folder()) / "Tellbud.lnk"));
}

TEST_F(LongFolderTest, NamesThatDoNotFitAreLeftOutWhileTheProgramRuns) {
  MakeWorld(247);  // 259 characters with "\Tellbud.ini"; a shorter language file
  std::ofstream(world->exe_folder() / "Tellbud.ini") << "[LanguageFiles]\nEnglish=\\E.ini\n";
  world->StartTellbud("");
  ASSERT_EQ(world->RunningTellbuds().size(), 1u);

  // "\nodevice.ico" does not fit: no picture, but the tip; "\nophone.ico" fits.
  world->Wait(2000);
  EXPECT_TRUE(Printed("tray icon none"));
  EXPECT_TRUE(Printed("tray icon nophone.ico"));
  EXPECT_TRUE(Printed("tray tip \"Can't find Messenger\""));
  world->Wait(1000);
  EXPECT_TRUE(Printed("tray tip \"Can't find USB Phone\""));

  // Neither the shortcut beside the executable nor its copy in the Startup folder fits.
  auto icon = sim::TrayIcons().at(0);
  for (bool expected : {true, false}) {
    ASSERT_TRUE(sim::RightClickTrayIcon(icon.owner, icon.id));
    world->Settle();
    ASSERT_TRUE(sim::ChoosePopupMenuItem(u"AutoRun"));
    world->Settle();
    ASSERT_TRUE(sim::RightClickTrayIcon(icon.owner, icon.id));
    world->Settle();
    auto menu = sim::OpenPopupMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->items.at(0).checked, expected) << "the mark follows the command";
    ASSERT_TRUE(sim::DismissPopupMenu());
    world->Settle();
  }
  EXPECT_TRUE(fs::is_empty(world::StartupFolder(world->exe_folder())));
}

}  // namespace
