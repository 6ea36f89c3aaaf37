// The tray icon: its first look, the pictures and tips that tell the program's state, icon
// files that are missing or broken, and icons that are released once replaced.
#include "ui_fixture.h"

#include <sim/icons.h>

#include "res/resource.h"

namespace {

namespace fs = std::filesystem;

using TrayIconTest = UiFixture;

TEST_F(TrayIconTest, AddedWithTheProgramIconTheStartingTipItsIdAndCallbackMessage) {
  Run("start");
  auto icon = TrayIcon();
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->owner, *world.TellbudMainWindow());
  EXPECT_EQ(icon->id, static_cast<UINT>(IDR_MAINFRAME));
  EXPECT_EQ(icon->callback_message, WM_TRAYNOTIFY);
  EXPECT_EQ(icon->callback_message, 0x0464u);
  EXPECT_EQ(icon->tip, u"Can't find USB Phone");
  EXPECT_EQ(icon->icon, Dialog()->m_hIcon);
  EXPECT_EQ(Dialog()->m_trayIcon.Data().cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
}

TEST_F(TrayIconTest, PictureAndTipTellWhetherHandsetAndMessengerAreThere) {
  RunAll({"start", "wait 1s"});
  EXPECT_PRINTED("tray icon nodevice.ico");
  Run("wait 1s");
  EXPECT_PRINTED("tray icon nophone.ico");
  EXPECT_PRINTED("tray tip \"Can't find Messenger\"");

  RunAll({"messenger start", "messenger signin", "handset plug", "wait 3s"});
  EXPECT_PRINTED("tray icon ok.ico");
  EXPECT_PRINTED("tray tip \"Online\"");

  Run("handset unplug");
  EXPECT_PRINTED("tray icon nodevice.ico");
  EXPECT_PRINTED("tray tip \"Can't find USB Phone\"");
}

TEST_F(TrayIconTest, MissingOrUnreadableIconFilesShowNoPictureButTheTipStillChanges) {
  fs::remove(world.exe_folder() / "nodevice.ico");
  WriteFile("nophone.ico", "this is not an icon");
  RunAll({"start", "wait 1s"});
  EXPECT_PRINTED("tray icon none");
  EXPECT_EQ(TrayIcon()->icon, nullptr);
  Run("wait 1s");
  EXPECT_PRINTED("tray tip \"Can't find Messenger\"");
  EXPECT_EQ(TrayIcon()->icon, nullptr);
  EXPECT_EQ(TrayIcon()->tip, u"Can't find Messenger");
}

TEST_F(TrayIconTest, ReplacedIconsAreReleasedWhileTheShownOneStaysValid) {
  RunAll({"start", "wait 3s"});
  const DWORD pid = world.RunningTellbuds().at(0);
  const size_t held = sim::LiveIconCount(pid);
  for (int tick = 0; tick < 60; ++tick) {
    Run("wait 2s");
    auto shown = TrayIcon();
    ASSERT_TRUE(shown);
    ASSERT_TRUE(sim::DescribeIcon(shown->icon)) << "the icon on show was released";
  }
  EXPECT_EQ(sim::LiveIconCount(pid), held);
  EXPECT_LE(held, 2u);
}

}  // namespace
