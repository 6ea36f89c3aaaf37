// The rename dialog when things go wrong: Messenger failing, a settings file that refuses the
// change, text a settings line cannot hold, the list changing while the dialog is open. The
// user's change is either stored or visibly refused, and no contact loses its row.
#include "dialogs/dialog_fixture.h"

#include <filesystem>

#include "res/resource.h"

namespace {

class RenameTest : public DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    StartConnected({"ann@example.com \"Ann\" online", "bob@example.com \"Bob\" online",
                    "carl@example.com \"Carl\" offline"});
    Run("ini Custom.ini CustomName bob@example.com \"Zed\"");
    PostMessageW(*world.TellbudMainWindow(), WM_TIMER, TIMER_CONTACT_REFRESH, 0);
    world.Settle();
    ASSERT_EQ(Names(), "Ann|Zed| |Carl");
  }
};

TEST_F(RenameTest, ClearingWhileMessengerFailsStoresTheChangeAndKeepsTheRow) {
  ContactCommand(2, "Rename");
  Type("Rename", IDC_NAME_EDIT, "");
  Run("messenger fail get_Count E_FAIL 1");
  Click("Rename", "OK");
  EXPECT_FALSE(IsOpen("Rename"));
  EXPECT_NE(ReadFile("Custom.ini").find("bob@example.com=\"\""), std::string::npos);
  EXPECT_EQ(Names(), "Ann|bob@example.com| |Carl") << "the row stays, named by its sign-in name";
  Tick();
  EXPECT_EQ(Names(), "Ann|Bob| |Carl") << "the list is rebuilt soon after";
}

// A read-only Custom.ini, and a line break (which no settings line can hold): a message, the
// dialog stays open, and neither the file nor the row changes.
TEST_F(RenameTest, AChangeThatCannotBeStoredIsRefusedVisibly) {
  std::string before = ReadFile("Custom.ini");
  ContactCommand(2, "Rename");
  HWND edit = sim::FindControl(sim::FindDialog(u"Rename")->hwnd, IDC_NAME_EDIT);
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Bob\r\n[CustomName]"));
  world.Settle();
  Click("Rename", "OK");
  EXPECT_TRUE(IsOpen("Tellbud")) << "a message box tells that nothing was stored";
  Click("Tellbud", "OK");

  std::filesystem::permissions(world.exe_folder() / "Custom.ini", std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::replace);
  Type("Rename", IDC_NAME_EDIT, "Bobby");
  Click("Rename", "OK");
  EXPECT_TRUE(IsOpen("Tellbud"));
  Click("Tellbud", "OK");
  EXPECT_TRUE(IsOpen("Rename"));
  EXPECT_EQ(ReadFile("Custom.ini"), before);
  EXPECT_EQ(Names(), "Ann|Zed| |Carl");
  Click("Rename", "Cancel");
}

// Messenger's events move rows while the dialog is open; the name goes to the contact chosen.
TEST_F(RenameTest, TheChosenContactIsRenamedEvenIfItsRowMovedMeanwhile) {
  ContactCommand(1, "Rename");  // Ann
  Run("contact status ann@example.com offline");
  Tick();
  ASSERT_EQ(Names(), "Zed| |Ann|Carl");
  Type("Rename", IDC_NAME_EDIT, "Annie");
  Click("Rename", "OK");
  EXPECT_EQ(Names(), "Zed| |Annie|Carl");
  EXPECT_NE(ReadFile("Custom.ini").find("ann@example.com=\"Annie\""), std::string::npos);
}

}  // namespace
