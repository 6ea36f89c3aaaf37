// Tellbud's start: one instance per user, the exit marker, the settings paths.
#include "support/program_fixture.h"

namespace {

using StartupTest = ProgramFixture;

TEST_F(StartupTest, AFirstStartShowsTheMainWindowAndTheTrayIcon) {
  Run("start");
  EXPECT_PRINTED("tray add \"Can't find USB Phone\"");
  EXPECT_PRINTED("tray icon #128");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
  CTellbudDlg* dlg = Dialog();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(dlg->m_nCallState, CALL_NO_HANDSET);
  EXPECT_TRUE(std::filesystem::exists(world.exe_folder() / "Custom.ini"));
}

}  // namespace
