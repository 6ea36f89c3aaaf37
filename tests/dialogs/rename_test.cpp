// The rename dialog: a custom name shown in the contact's row and kept in Custom.ini; an empty
// name brings Messenger's friendly name back.
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
  }
  void Rename(int row, const std::u16string& name) {
    ContactCommand(row, "Rename");
    ASSERT_TRUE(IsOpen("Rename"));
    Type("Rename", IDC_NAME_EDIT, name);
    Click("Rename", "OK");
  }
};

TEST_F(RenameTest, ANewNameChangesTheRowInPlaceAndIsStoredInQuotes) {
  ContactCommand(2, "Rename");
  EXPECT_EQ(EditText("Rename", IDC_NAME_EDIT), "Bob") << "the edit starts with the row's name";
  Type("Rename", IDC_NAME_EDIT, u"Aaron");
  Click("Rename", "OK");
  EXPECT_FALSE(IsOpen("Rename"));
  EXPECT_EQ(Names(), "Ann|Aaron| |Carl") << "the list is not sorted again";
  EXPECT_EQ(Custom("CustomName", "bob@example.com"), "\"Aaron\"");
}

// Whatever a person types is stored so that it reads back as typed: the next rebuild of the list
// shows it again.
TEST_F(RenameTest, AnyCharactersReadBackAsTyped) {
  const std::vector<std::u16string> names = {u"\"quoted\"", u"a=b [x] ;c", u"  blanks  ", u"Zo\u00eb \u4e2d\u6587",
                                             std::u16string(256, u'n')};
  for (const std::u16string& name : names) {
    Rename(2, name);
    ASSERT_FALSE(IsOpen("Rename"));
    PostMessageW(*world.TellbudMainWindow(), WM_TIMER, TIMER_CONTACT_REFRESH, 0);
    world.Settle();
    auto rows = ContactRows(world);
    int row = Tellbud().FindContactRow(u"bob@example.com");
    ASSERT_GE(row, 0);
    EXPECT_EQ(rows[static_cast<size_t>(row)].name, world::Utf8(name));
  }
}

TEST_F(RenameTest, AnEmptyNameBringsBackTheFriendlyNameAndPlacesTheRowAgain) {
  Rename(1, u"Zed");
  Rename(1, u"");
  EXPECT_EQ(Names(), "Ann|Bob| |Carl");
  EXPECT_EQ(Custom("CustomName", "ann@example.com"), "\"\"");
  Rename(4, u"Aardvark");  // offline
  EXPECT_EQ(Names(), "Ann|Bob| |Aardvark");
  Rename(4, u"");
  EXPECT_EQ(Names(), "Ann|Bob| |Carl");
  EXPECT_EQ(Tellbud().m_nOnlineCount, 2u);
}

// Messenger failing while the friendly name is read back loses neither the change nor the row.
TEST_F(RenameTest, ClearingWhileMessengerFailsStoresTheChangeAndKeepsTheRow) {
  Rename(2, u"Zed");
  ContactCommand(2, "Rename");
  Type("Rename", IDC_NAME_EDIT, u"");
  Run("messenger fail get_Count E_FAIL 1");
  Click("Rename", "OK");
  EXPECT_FALSE(IsOpen("Rename"));
  EXPECT_EQ(Custom("CustomName", "bob@example.com"), "\"\"");
  EXPECT_EQ(Names(), "Ann|bob@example.com| |Carl") << "the row stays, named by its sign-in name";
  Tick();
  EXPECT_EQ(Names(), "Ann|Bob| |Carl") << "the list is rebuilt soon after";
}

// Without Messenger's contact collection the friendly name cannot be read back.
TEST_F(RenameTest, WithoutTheContactCollectionTheRowStaysUnderItsSigninName) {
  Rename(2, u"Zed");
  ContactCommand(2, "Rename");
  Type("Rename", IDC_NAME_EDIT, u"");
  Tellbud().m_pContacts.Release();  // as after a sign-out that Tellbud has not yet heard of
  Click("Rename", "OK");
  EXPECT_EQ(Names(), "Ann|bob@example.com| |Carl");
  EXPECT_EQ(Custom("CustomName", "bob@example.com"), "\"\"");
}

TEST_F(RenameTest, AReadOnlyCustomFileKeepsTheDialogOpenAndChangesNothing) {
  auto path = world.exe_folder() / "Custom.ini";
  std::string before = ReadFile("Custom.ini");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::replace);
  Rename(2, u"Zed");
  EXPECT_TRUE(IsOpen("Tellbud")) << "a message box tells that nothing was saved";
  EXPECT_TRUE(IsOpen("Rename"));
  EXPECT_EQ(Names(), "Ann|Bob| |Carl");
  EXPECT_EQ(ReadFile("Custom.ini"), before);
  Click("Tellbud", "OK");
  Click("Rename", "Cancel");
  EXPECT_FALSE(IsOpen("Rename"));
}

// A line break cannot be stored in a settings line: nothing is stored and the user is told.
TEST_F(RenameTest, ANameWithALineBreakIsRefusedAndChangesNothing) {
  std::string before = ReadFile("Custom.ini");
  ContactCommand(2, "Rename");
  HWND edit = sim::FindControl(DialogWindow("Rename"), IDC_NAME_EDIT);
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Bob\r\n[CustomName]"));
  world.Settle();
  Click("Rename", "OK");
  EXPECT_TRUE(IsOpen("Tellbud"));
  Click("Tellbud", "OK");
  EXPECT_TRUE(IsOpen("Rename"));
  EXPECT_EQ(ReadFile("Custom.ini"), before);
  EXPECT_EQ(Names(), "Ann|Bob| |Carl");
}

// Messenger's events keep arriving while the dialog is open; the name goes to the contact that
// was chosen, wherever its row is by then.
TEST_F(RenameTest, TheChosenContactIsRenamedEvenIfItsRowMovedMeanwhile) {
  ContactCommand(1, "Rename");  // Ann
  Run("contact status ann@example.com offline");
  Tick();
  EXPECT_EQ(Names(), "Bob| |Ann|Carl");
  Type("Rename", IDC_NAME_EDIT, u"Annie");
  Click("Rename", "OK");
  EXPECT_EQ(Names(), "Bob| |Annie|Carl");
  EXPECT_EQ(Custom("CustomName", "ann@example.com"), "\"Annie\"");
}

}  // namespace
