// COM calls that fail: the handset's control is not installed, Messenger refuses a request.
// Each leaves the program running quietly, with the tray telling what it misses.
#include "support/program_fixture.h"

#include <sim/com.h>
#include <sim/dialogs.h>

#include "world/handset/handset_ids.h"

namespace {

using ComFailureTest = ProgramFixture;

TEST_F(ComFailureTest, WithoutTheHandsetControlTheProgramRunsAndEndsCleanlyWithoutAHandset) {
  ASSERT_TRUE(sim::UnregisterComClass(world::handset::kClsidHandsetControl));
  RunAll({"start", "wait 3s"});
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_FALSE(Dialog()->m_bPhoneFound);
  EXPECT_PRINTED("tray tip \"Can't find USB Phone\"");
  EXPECT_FALSE(PrintedSinceMark("handset OpenDevice"));

  RunAll({"tray rclick", "menu Exit"});
  EXPECT_PRINTED("tray remove");
  EXPECT_PRINTED("process Tellbud.exe ended (exit code 0)");
}

TEST_F(ComFailureTest, AudioWizardThatMessengerRefusesChangesNothing) {
  RunAll({"messenger start", "messenger signin", "start", "wait 3s"});
  ASSERT_TRUE(Dialog()->m_bMSNConnected);
  RunAll({"messenger fail MediaWizard 0x80004005", "debug on", "tray rclick", "menu SetAudio"});
  EXPECT_PRINTED("0x80004005");
  for (const sim::DialogInfo& dialog : sim::OpenDialogs())
    EXPECT_EQ(dialog.hwnd, Dialog()->GetSafeHwnd()) << "no message box";
  EXPECT_TRUE(Dialog()->m_bMSNConnected);

  RunAll({"messenger heal", "tray rclick", "menu SetAudio"});
  EXPECT_PRINTED("messenger MediaWizard(0)");
}

}  // namespace
