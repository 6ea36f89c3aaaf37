// The contact list: the list view's rows are Tellbud's contact table, online contacts above a
// blank separator and offline ones below it, placed by the first character of what each row
// shows; custom names and speed-dial numbers come from Custom.ini.
#include "monitor/connected_fixture.h"

namespace {

class ContactListTest : public ConnectedFixture {};

TEST_F(ContactListTest, ConnectFillsOnlineAboveTheSeparatorAndOfflineBelow) {
  StartConnected({"carl@example.com \"Carl\" online", "dora@example.com \"dora\" offline",
                  "ann@example.com \"Ann\" busy", "ben@example.com \"Ben\" offline"});
  auto rows = ContactRows(world);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(Names(), "Ann|Carl| |Ben|dora");
  EXPECT_EQ(rows[0].image, 0);
  EXPECT_EQ(rows[1].image, 0);
  EXPECT_EQ(rows[2].image, -1);
  EXPECT_EQ(rows[2].signin, "");
  EXPECT_EQ(rows[3].image, 1);
  EXPECT_EQ(rows[4].signin, "dora@example.com");
  EXPECT_EQ(Tellbud().m_nOnlineCount, 2u);
  EXPECT_EQ(Tellbud().m_nContactCount, 4u);
}

// Each name goes after every row whose first character it compares greater than or equal to
// (ignoring case), so names sharing a first letter keep the order in which they came.
TEST_F(ContactListTest, NamesWithTheSameFirstLetterKeepTheirOrderOfAddition) {
  StartConnected({"carl@example.com \"Carl\" online", "bob@example.com \"bob\" online",
                  "anna@example.com \"Anna\" online", "bert@example.com \"Bert\" online",
                  "zoe@example.com \"zoe\" offline", "dan@example.com \"Dan\" offline",
                  "dave@example.com \"dave\" offline", "al@example.com \"al\" offline"});
  EXPECT_EQ(Names(), "Anna|bob|Bert|Carl| |al|Dan|dave|zoe");
}

TEST_F(ContactListTest, AOneCharacterNameGoesBeforeRowsStartingWithThatCharacter) {
  StartConnected({"bob@example.com \"bob\" online", "bert@example.com \"Bert\" online",
                  "b@example.com \"B\" online", "x@example.com \"x\" offline",
                  "xa@example.com \"Xavier\" offline", "x2@example.com \"X\" offline"});
  EXPECT_EQ(Names(), "B|bob|Bert| |X|x|Xavier");
}

TEST_F(ContactListTest, WithNobodyOnlineTheSeparatorIsTheFirstRow) {
  StartConnected({"bob@example.com \"Bob\" offline", "ann@example.com \"Ann\" offline"});
  auto rows = ContactRows(world);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name, " ");
  EXPECT_EQ(rows[0].image, -1);
  EXPECT_EQ(Names(), " |Ann|Bob");
  EXPECT_EQ(Tellbud().m_nOnlineCount, 0u);
}

TEST_F(ContactListTest, WithNoContactsOnlyTheSeparatorIsShown) {
  StartConnected({});
  EXPECT_EQ(Names(), " ");
}

TEST_F(ContactListTest, StatusChangesMoveRowsBetweenTheParts) {
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" offline",
                  "carl@example.com \"Carl\" online"});
  ASSERT_EQ(Names(), "Bob|Carl| |Ann");
  Run("contact status ann@example.com online");
  EXPECT_EQ(Names(), "Ann|Bob|Carl| ");
  EXPECT_EQ(Tellbud().m_nOnlineCount, 3u);
  Run("contact status bob@example.com offline");
  EXPECT_EQ(Names(), "Ann|Carl| |Bob");
  EXPECT_EQ(ContactRows(world)[3].image, 1);
  EXPECT_EQ(Tellbud().m_nOnlineCount, 2u);
}

// Only a change across online/offline moves a row; a move re-inserts it, so a row that stays
// in its part keeps its place even where a fresh insertion would put it elsewhere.
TEST_F(ContactListTest, StatusChangesWithinAPartLeaveTheRowWhereItIs) {
  StartConnected({"bob@example.com \"Bob\" online", "bill@example.com \"Bill\" online",
                  "ann@example.com \"Ann\" offline", "al@example.com \"Al\" offline"});
  ASSERT_EQ(Names(), "Bob|Bill| |Ann|Al");
  Run("contact status bob@example.com away");
  Run("contact status ann@example.com 0");
  EXPECT_EQ(Names(), "Bob|Bill| |Ann|Al");
  Run("contact status bob@example.com offline");
  EXPECT_EQ(Names(), "Bill| |Ann|Al|Bob");
}

TEST_F(ContactListTest, ContactsAddedAndRemovedInMessengerFollowAtOnce) {
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" offline"});
  Run("contact add carl@example.com \"Carl\" online");
  Run("contact add al@example.com \"Al\" offline");
  EXPECT_EQ(Names(), "Bob|Carl| |Ann|Al");
  EXPECT_EQ(Tellbud().m_nOnlineCount, 2u);
  Run("contact remove bob@example.com");
  EXPECT_EQ(Names(), "Carl| |Ann|Al");
  EXPECT_EQ(Tellbud().m_nOnlineCount, 1u);
  Run("contact remove ann@example.com");
  EXPECT_EQ(Names(), "Carl| |Al");
  EXPECT_EQ(Tellbud().m_nOnlineCount, 1u);
}

TEST_F(ContactListTest, SpeedDialNumbersShowAtMostThreeDigits) {
  Run("ini Custom.ini SpeedDialNumber bob@example.com \"1234\"");
  Run("ini Custom.ini SpeedDialNumber ann@example.com \"7\"");
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" offline",
                  "carl@example.com \"Carl\" online"});
  auto rows = ContactRows(world);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].speed, "123");
  EXPECT_EQ(rows[1].speed, "");
  EXPECT_EQ(rows[3].speed, "7");
}

// The connect orders the rows by Messenger's friendly names and only then shows the custom
// names; a contact added later is placed among what the rows show by then.
TEST_F(ContactListTest, CustomNamesAreShownOnlyOnceApplied) {
  Run("ini Custom.ini CustomName ann@example.com \"Zelda\"");
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
  EXPECT_EQ(Names(), "Zelda|Bob| ");
  Run("contact add carl@example.com \"Carl\" online");
  EXPECT_EQ(Names(), "Carl|Zelda|Bob| ");
}

TEST_F(ContactListTest, AContactAddedOrMovedByMessengerShowsItsCustomNameAtOnce) {
  Run("ini Custom.ini CustomName carl@example.com \"Uncle C\"");
  Run("ini Custom.ini CustomName bob@example.com \"Bobby\"");
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("contact add carl@example.com \"Carl\" offline");
  EXPECT_EQ(Names(), "Bobby| |Uncle C");
  Run("contact status carl@example.com online");
  EXPECT_EQ(Names(), "Bobby|Uncle C| ");
}

TEST_F(ContactListTest, ACustomNameWrittenWhileConnectedWaitsForTheNextMove) {
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("ini Custom.ini CustomName bob@example.com \"Bobby\"");
  Tick();
  EXPECT_EQ(Names(), "Bob| ");
  Run("contact status bob@example.com offline");
  EXPECT_EQ(Names(), " |Bobby");
}

TEST_F(ContactListTest, StatusAndRemovalOfAContactWithoutARowChangeNothing) {
  StartConnected({"bob@example.com \"Bob\" online"});
  // Tellbud misses the addition: the name cannot be read while it handles the event.
  Run("messenger fail get_SigninName E_FAIL 1");
  Run("contact add ann@example.com \"Ann\" online");
  ASSERT_EQ(Names(), "Bob| ");
  Run("contact status ann@example.com offline");
  Run("contact remove ann@example.com");
  EXPECT_EQ(Names(), "Bob| ");
  EXPECT_EQ(Tellbud().m_nOnlineCount, 1u);
}

// Messenger spells a contact as it was first added; Tellbud's rows and Custom.ini keys match
// sign-in names whatever their letter case.
TEST_F(ContactListTest, SigninNamesDifferingOnlyInCaseAreOneContact) {
  Run("ini Custom.ini SpeedDialNumber BOB@EXAMPLE.COM \"12\"");
  StartConnected({"bob@example.com \"Bob\" online"});
  EXPECT_EQ(ContactRows(world)[0].speed, "12");
  // The removal is missed (the name cannot be read), and Messenger then lists the contact
  // again in another spelling: the row is replaced, not doubled.
  Run("messenger fail get_SigninName E_FAIL 1");
  Run("contact remove bob@example.com");
  Run("contact add Bob@Example.COM \"Bobby\" offline");
  auto rows = ContactRows(world);
  ASSERT_EQ(rows.size(), 2u) << Names();
  EXPECT_EQ(Names(), " |Bobby");
  EXPECT_EQ(rows[1].signin, "Bob@Example.COM");
  EXPECT_EQ(Tellbud().m_nOnlineCount, 0u);
  Run("contact status BOB@example.com online");
  EXPECT_EQ(Names(), "Bobby| ");
}

// The connect fills the list in one go; contacts added one by one while connected go through
// the same placement row by row. Both must give the same rows, whatever the names.
TEST_F(ContactListTest, AListFilledAtConnectEqualsTheSameContactsAddedOneByOne) {
  struct C {
    std::string signin, name;
    LONG status;
  };
  std::vector<C> contacts;
  const char* const names[] = {"Bob",   "bob",  "B",      "Bert", "x",    "Élodie", "eve",   "Ève", "zoë",
                               "Zoe",   "1st",  "_under", "Ann",  "anna", "A",      "a",     "Ω",   "ω mega",
                               "Bobby", "Carl", "carla",  "Ca",   "ß",    "ss",     "Ärger", "arg", "  pad"};
  int i = 0;
  for (const char* name : names) {
    contacts.push_back(
        {"c" + std::to_string(i) + "@example.com", name, i % 3 == 0 ? 1 : (i % 3 == 1 ? 2 : 34)});
    ++i;
  }
  // Sign-in names that are not plain mail addresses, and one spelt in mixed case.
  contacts.push_back({"MiXeD@Example.com", "Mixed", 2});
  contacts.push_back({"weird name@example.com", "Weird", 2});
  contacts.push_back({"ünï@example.com", "Uni", 1});
  contacts.push_back({"tab\there@example.com", "Tab", 1});

  StartMessenger({});
  for (const C& c : contacts)
    ASSERT_TRUE(world.messenger().AddContact(c.signin, c.name, c.status)) << c.signin;
  Run("handset plug");
  StartTellbud();
  std::vector<ContactRowView> atConnect = ContactRows(world);
  ASSERT_EQ(atConnect.size(), contacts.size() + 1);

  for (const C& c : contacts) ASSERT_TRUE(world.messenger().RemoveContact(c.signin));
  ASSERT_EQ(Names(), " ");
  for (const C& c : contacts) ASSERT_TRUE(world.messenger().AddContact(c.signin, c.name, c.status));
  std::vector<ContactRowView> oneByOne = ContactRows(world);
  ASSERT_EQ(oneByOne.size(), atConnect.size());
  for (size_t row = 0; row < atConnect.size(); ++row) {
    EXPECT_EQ(oneByOne[row].name, atConnect[row].name) << row;
    EXPECT_EQ(oneByOne[row].signin, atConnect[row].signin) << row;
    EXPECT_EQ(oneByOne[row].image, atConnect[row].image) << row;
  }
}

TEST_F(ContactListTest, SigningOutEmptiesTheListAndSigningInFillsItAgain) {
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" offline"});
  Run("messenger signout");
  EXPECT_EQ(ContactRows(world).size(), 0u);
  EXPECT_EQ(Tellbud().m_nOnlineCount, 0u);
  EXPECT_EQ(Tellbud().m_nContactCount, 0u);
  Run("messenger signin");
  Tick();
  EXPECT_EQ(Names(), "Bob| |Ann");
}

}  // namespace
