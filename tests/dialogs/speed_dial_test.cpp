// The speed-dial dialog: a number of up to three digits per contact, unique among the rows,
// compared as text, and dialled on the handset's keypad.
#include "dialogs/dialog_fixture.h"

#include "res/resource.h"

namespace {

class SpeedDialTest : public DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    StartConnected({"ann@example.com \"Ann\" online", "bob@example.com \"Bob\" online",
                    "carl@example.com \"Carl\" offline"});
  }
  void SetNumber(int row, const std::u16string& number) {
    ContactCommand(row, "SpeedDialNumber");
    ASSERT_TRUE(IsOpen("Set speed dial number"));
    Type("Set speed dial number", IDC_NAME_EDIT, number);
    Click("Set speed dial number", "OK");
  }
  std::string Speed(size_t row) { return ContactRows(world)[row].speed; }
};

TEST_F(SpeedDialTest, NumbersAreUniqueAsTextAndTheOwnNumberIsAcceptedAgain) {
  SetNumber(1, u"07");
  EXPECT_EQ(Speed(0), "07");
  EXPECT_EQ(Custom("SpeedDialNumber", "ann@example.com"), "\"07\"");

  SetNumber(2, u"07");
  EXPECT_TRUE(IsOpen("Tellbud")) << "the duplicate message";
  Click("Tellbud", "OK");
  EXPECT_TRUE(IsOpen("Set speed dial number"));
  EXPECT_EQ(EditText("Set speed dial number", IDC_NAME_EDIT), "07") << "the text stays as typed";
  Type("Set speed dial number", IDC_NAME_EDIT, u"7");
  Click("Set speed dial number", "OK");
  EXPECT_FALSE(IsOpen("Set speed dial number"));
  EXPECT_EQ(Speed(1), "7") << "07 and 7 are different numbers";

  SetNumber(1, u"07");
  EXPECT_FALSE(IsOpen("Tellbud")) << "the contact's own number is no duplicate";
  EXPECT_FALSE(IsOpen("Set speed dial number"));
}

TEST_F(SpeedDialTest, AnEmptyNumberIsStoredAsTwoQuotesAndTheEditTakesDigitsOnly) {
  SetNumber(4, u"12x3");
  EXPECT_EQ(Speed(3), "123");
  SetNumber(4, u"");
  EXPECT_EQ(Speed(3), "");
  EXPECT_EQ(Custom("SpeedDialNumber", "carl@example.com"), "\"\"");
  SetNumber(1, u"");
  SetNumber(2, u"");
  EXPECT_FALSE(IsOpen("Tellbud")) << "empty numbers are never duplicates";
}

TEST_F(SpeedDialTest, ADialledNumberCallsTheContact) {
  SetNumber(2, u"42");
  Run("handset dial 42");
  Run("handset key call");
  Run("handset key call");
  world.Settle();
  EXPECT_PRINTED("StartVoice(\"bob@example.com\")");
}

// A separator row is no contact: OK closes and nothing is stored.
TEST_F(SpeedDialTest, WithoutAContactOkClosesWithoutStoring) {
  std::string before = ReadFile("Custom.ini");
  Tellbud().m_list.SetSelectionMark(-1);
  PostMessageW(*world.TellbudMainWindow(), WM_COMMAND, ID_CONTACT_SPEEDDIAL, 0);
  world.Settle();
  ASSERT_TRUE(IsOpen("Set speed dial number"));
  EXPECT_EQ(EditText("Set speed dial number", IDC_NAME_EDIT), "");
  Type("Set speed dial number", IDC_NAME_EDIT, u"9");
  Click("Set speed dial number", "OK");
  EXPECT_FALSE(IsOpen("Set speed dial number"));
  EXPECT_EQ(ReadFile("Custom.ini"), before);
}

}  // namespace
