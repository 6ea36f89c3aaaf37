// The menu commands that open the dialogs, and the contact list's mouse actions: each dialog is
// modal over the main window while timers, handset events and Messenger events keep arriving.
#include "dialogs/dialog_fixture.h"

#include <sim/menus.h>

#include "res/resource.h"

namespace {

using MenuCommandsTest = DialogFixture;

TEST_F(MenuCommandsTest, OptionOpensOnlyWhileTheHandsetIsFound) {
  StartMessenger({});
  StartTellbud();
  TrayCommand("Option");
  EXPECT_FALSE(IsOpen("Ring style"));
  Run("handset plug");
  Run("wait 2s");
  TrayCommand("Option");
  ASSERT_TRUE(IsOpen("Ring style"));
  auto info = sim::InspectWindow(DialogWindow("Ring style"));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->owner, *world.TellbudMainWindow()) << "modal with the main window as parent";
  Click("Ring style", "OK");
  EXPECT_FALSE(IsOpen("Ring style"));
}

// A call rings, is answered and ends while the rename dialog stays open.
TEST_F(MenuCommandsTest, CallsGoOnWhileADialogIsOpen) {
  StartConnected({"bob@example.com \"Bob\" online"});
  ContactCommand(1, "Rename");
  ASSERT_TRUE(IsOpen("Rename"));
  Run("call bob@example.com");
  Tick();
  EXPECT_EQ(CallState(), CALL_RINGING);
  Run("handset lift");
  Tick();
  EXPECT_EQ(CallState(), CALL_TALKING);
  Run("contact add ann@example.com \"Ann\" online");
  world.Settle();
  EXPECT_EQ(Names(), "Ann|Bob| ");
  EXPECT_TRUE(IsOpen("Rename"));
  Click("Rename", "Cancel");
}

TEST_F(MenuCommandsTest, DoubleClickCallsOnlyWhenReadyAndTheSeparatorHasNoMenu) {
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
  Run("call bob@example.com");
  Tick();
  ASSERT_EQ(CallState(), CALL_RINGING);
  Forget();
  Run("list dblclick 1");
  EXPECT_NOT_PRINTED("StartVoice");
  Run("list rclick 3");
  EXPECT_FALSE(sim::OpenPopupMenu().has_value()) << "the separator row opens no menu";
  Run("handset key end");
  Tick();
  ASSERT_EQ(CallState(), CALL_READY);
  Run("list dblclick 3");
  EXPECT_NOT_PRINTED("StartVoice");
  Run("list dblclick 1");
  EXPECT_PRINTED("StartVoice(\"ann@example.com\")");
}

// Ending the program with a dialog open closes the dialog and ends cleanly.
TEST_F(MenuCommandsTest, ExitWhileTheOptionDialogIsOpen) {
  StartConnected({});
  TrayCommand("Option");
  ASSERT_TRUE(IsOpen("Ring style"));
  Run("start *exit*");
  EXPECT_PRINTED("window \"Ring style\" destroyed");
  EXPECT_PRINTED("process Tellbud.exe ended (exit code 0)");
}

}  // namespace
