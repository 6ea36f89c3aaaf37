// Messenger's model: the user's status and its events, the contact list with names compared
// without case, conversations, and the voice conversation's steps with their history lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/messenger/model.h"

namespace world::messenger {
namespace {

// Records what the model tells, one readable line per event.
class Recorder : public ModelListener {
 public:
  std::vector<std::string> events;
  void OnSignedIn() override { events.push_back("signed in"); }
  void OnSignedOut() override { events.push_back("signed out"); }
  void OnContactAdded(const Text& s) override { events.push_back("added " + ToUtf8(s)); }
  void OnContactRemoved(const Text& s) override { events.push_back("removed " + ToUtf8(s)); }
  void OnContactStatusChanged(const Text& s, LONG st) override {
    events.push_back("status " + ToUtf8(s) + " " + std::to_string(st));
  }
  void OnConversationOpened(const Conversation& c) override { events.push_back("opened " + ToUtf8(c.title)); }
  void OnConversationClosed(const Conversation& c) override { events.push_back("closed " + ToUtf8(c.title)); }
  void OnParticipantJoined(const Conversation& c, const Text& s) override {
    events.push_back("joined " + std::to_string(c.id) + " " + ToUtf8(s));
  }
  void OnParticipantLeft(const Conversation& c, const Text& s) override {
    events.push_back("left " + std::to_string(c.id) + " " + ToUtf8(s));
  }
  void OnHistoryLine(const Conversation&, const Text& line) override { events.push_back(ToUtf8(line)); }
};

class ModelTest : public ::testing::Test {
 protected:
  Model model;
  Recorder rec;
  void SetUp() override {
    model.SetListener(&rec);
    model.SignIn();
    model.AddContact(TEXT("bob@example.com"), TEXT("Bob"), kStatusOnline);
    rec.events.clear();
  }
  std::string History(int id) { return ToUtf8(model.FindConversation(id)->history); }
  VoiceState Voice(int id) { return model.FindConversation(id)->voice; }
};

// ---- The user's status ----------------------------------------------------------------------------

TEST_F(ModelTest, SigningInAndOutTellsOnlyChanges) {
  model.SignIn();
  model.SignOut();
  model.SignOut();
  model.SignIn();
  EXPECT_EQ(rec.events, (std::vector<std::string>{"signed out", "signed in"}));
  EXPECT_EQ(model.MyStatus(), kStatusOnline);
}

TEST_F(ModelTest, LocalStatesCountAsSignedOutAndOtherOnlineStatesAsSignedIn) {
  model.SetStatus(10);  // busy: still signed in
  EXPECT_TRUE(rec.events.empty());
  model.SetStatus(0x100);  // signing in again: not signed in
  EXPECT_EQ(model.MyStatus(), 0x100);
  EXPECT_FALSE(model.SignedIn());
  model.SetStatus(2);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"signed out", "signed in"}));
}

TEST_F(ModelTest, SigningOutEndsEveryVoiceConversationAsTheContactWould) {
  int talking = model.OpenOneToOne(TEXT("bob@example.com"));
  model.ContactInvites(talking);
  model.UserAccepts(talking);
  int inviting = model.OpenOneToOne(TEXT("ann@example.com"));
  model.ContactInvites(inviting);
  rec.events.clear();
  model.SignOut();
  EXPECT_EQ(Voice(talking), VoiceState::kNone);
  EXPECT_EQ(Voice(inviting), VoiceState::kNone);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"The voice conversation has ended.",
                                                  "ann@example.com has cancelled the invitation to a voice "
                                                  "conversation.",
                                                  "signed out"}));
}

// ---- Contacts ---------------------------------------------------------------------------------------

TEST_F(ModelTest, ContactNamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  EXPECT_FALSE(model.AddContact(TEXT("BOB@Example.com"), TEXT("Bobby"), 1));
  ASSERT_EQ(model.Contacts().size(), 1u);
  EXPECT_EQ(ToUtf8(model.Contacts()[0].friendly), "Bob");
  EXPECT_EQ(ToUtf8(model.FindContact(TEXT("Bob@EXAMPLE.com"))->signin), "bob@example.com");
  EXPECT_TRUE(model.SetContactStatus(TEXT("BOB@example.com"), 1));
  EXPECT_TRUE(model.RemoveContact(TEXT("Bob@Example.Com")));
  EXPECT_EQ(rec.events, (std::vector<std::string>{"status bob@example.com 1", "removed bob@example.com"}));
}

TEST_F(ModelTest, ContactsKeepTheOrderTheyWereAddedIn) {
  model.AddContact(TEXT("zed@example.com"), TEXT("Zed"), 1);
  model.AddContact(TEXT("ann@example.com"), TEXT("Ann"), 2);
  ASSERT_EQ(model.Contacts().size(), 3u);
  EXPECT_EQ(ToUtf8(model.Contacts()[1].signin), "zed@example.com");
  EXPECT_EQ(ToUtf8(model.Contacts()[2].signin), "ann@example.com");
}

TEST_F(ModelTest, UnchangedStatusAndUnknownContactsTellNothing) {
  EXPECT_TRUE(model.SetContactStatus(TEXT("bob@example.com"), kStatusOnline));
  EXPECT_FALSE(model.SetContactStatus(TEXT("nobody@example.com"), 1));
  EXPECT_FALSE(model.RemoveContact(TEXT("nobody@example.com")));
  EXPECT_FALSE(model.AddContact(TEXT(""), TEXT("Nobody"), 1));
  EXPECT_TRUE(rec.events.empty());
}

// ---- Conversations -------------------------------------------------------------------------------------

TEST_F(ModelTest, OneToOneConversationIsFoundAgainWhateverTheCase) {
  int id = model.OpenOneToOne(TEXT("bob@example.com"));
  EXPECT_EQ(model.OpenOneToOne(TEXT("BOB@example.com")), id);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"opened Bob - Dialog"}));
}

TEST_F(ModelTest, ConversationWithSomeoneJoinedIsNoLongerOneToOne) {
  int id = model.OpenOneToOne(TEXT("bob@example.com"));
  EXPECT_TRUE(model.Join(id, TEXT("ann@example.com")));
  EXPECT_FALSE(model.Join(id, TEXT("ANN@example.com")));
  EXPECT_EQ(model.FindOneToOne(TEXT("bob@example.com")), nullptr);
  EXPECT_EQ(model.FindConversationOf(TEXT("bob@example.com"))->id, id);
  EXPECT_NE(model.OpenOneToOne(TEXT("bob@example.com")), id);
  EXPECT_TRUE(model.Leave(id, TEXT("Ann@example.com")));
  EXPECT_FALSE(model.Leave(id, TEXT("ann@example.com")));
}

// Ann joins Bob's conversation and Bob leaves: Ann is alone in it and in a call of her own; her
// hanging up is meant for the call.
TEST_F(ModelTest, AContactAloneInTwoConversationsActsOnTheOneWithTheCall) {
  int group = model.OpenOneToOne(TEXT("bob@example.com"));
  ASSERT_TRUE(model.Join(group, TEXT("ann@example.com")));
  int call = model.OpenOneToOne(TEXT("ann@example.com"));
  ASSERT_TRUE(model.ContactInvites(call));
  ASSERT_TRUE(model.Leave(group, TEXT("bob@example.com")));
  EXPECT_EQ(model.FindConversationOf(TEXT("ann@example.com"))->id, group);
  EXPECT_EQ(model.FindCallOf(TEXT("ANN@example.com"))->id, call);
  EXPECT_EQ(model.FindCallOf(TEXT("bob@example.com")), nullptr);

  // Eve's call goes on after Carl joins it and she has a second, quiet conversation of her own.
  int talking = model.OpenOneToOne(TEXT("eve@example.com"));
  ASSERT_TRUE(model.ContactInvites(talking) && model.UserAccepts(talking));
  ASSERT_TRUE(model.Join(talking, TEXT("carl@example.com")));
  int quiet = model.OpenOneToOne(TEXT("eve@example.com"));
  EXPECT_EQ(model.FindCallOf(TEXT("eve@example.com"))->id, talking);
  EXPECT_EQ(model.FindConversationOf(TEXT("eve@example.com"))->id, quiet);
}

TEST_F(ModelTest, TheLastParticipantLeavingEndsTheVoiceConversation) {
  int ringing = model.OpenOneToOne(TEXT("bob@example.com"));
  ASSERT_TRUE(model.ContactInvites(ringing));
  EXPECT_TRUE(model.Leave(ringing, TEXT("bob@example.com")));
  EXPECT_EQ(model.FindConversation(ringing)->voice, VoiceState::kNone);
  EXPECT_TRUE(model.FindConversation(ringing)->participants.empty());

  int talking = model.OpenOneToOne(TEXT("ann@example.com"));
  ASSERT_TRUE(model.ContactInvites(talking));
  ASSERT_TRUE(model.UserAccepts(talking));
  ASSERT_TRUE(model.Join(talking, TEXT("eve@example.com")));
  EXPECT_TRUE(model.Leave(talking, TEXT("ann@example.com")));
  EXPECT_EQ(model.FindConversation(talking)->voice, VoiceState::kTalking);  // Eve is still there
  EXPECT_TRUE(model.Leave(talking, TEXT("eve@example.com")));
  EXPECT_EQ(model.FindConversation(talking)->voice, VoiceState::kNone);
}

TEST_F(ModelTest, TitleUsesTheFriendlyNameAndTheLanguageOfTheMomentItOpened) {
  model.SetLanguage(Language::kGerman);
  int bob = model.OpenOneToOne(TEXT("bob@example.com"));
  model.SetLanguage(Language::kFrench);
  int stranger = model.OpenOneToOne(TEXT("eve@example.com"));
  EXPECT_EQ(ToUtf8(model.FindConversation(bob)->title), "Bob - Unterhaltung");
  EXPECT_EQ(ToUtf8(model.FindConversation(stranger)->title), "eve@example.com - Conversation");
}

TEST_F(ModelTest, HistoryOnlyGrowsWithLinesSeparatedByCarriageReturnLineFeed) {
  int id = model.OpenOneToOne(TEXT("bob@example.com"));
  model.Chat(id, TEXT("bob@example.com"), TEXT("hi"));
  model.Chat(id, TEXT("bob@example.com"), TEXT("there"));
  EXPECT_EQ(History(id), "Bob says: hi\r\nBob says: there");
}

TEST_F(ModelTest, ClosedConversationIsGoneAndClosingAgainFails) {
  int id = model.OpenOneToOne(TEXT("bob@example.com"));
  EXPECT_TRUE(model.CloseConversation(id));
  EXPECT_FALSE(model.CloseConversation(id));
  EXPECT_EQ(model.FindConversation(id), nullptr);
  EXPECT_FALSE(model.ContactInvites(id));
}

// ---- Voice conversations ------------------------------------------------------------------------------

TEST_F(ModelTest, IncomingCallAcceptedThenEndedWritesTheLinesInOrder) {
  int id = model.OpenOneToOne(TEXT("bob@example.com"));
  EXPECT_TRUE(model.ContactInvites(id));
  EXPECT_EQ(Voice(id), VoiceState::kIncomingPending);
  EXPECT_TRUE(model.UserAccepts(id));
  EXPECT_EQ(Voice(id), VoiceState::kTalking);
  EXPECT_TRUE(model.ContactHangsUp(id));
  EXPECT_EQ(Voice(id), VoiceState::kNone);
  EXPECT_EQ(History(id),
            "Bob would like to have a voice conversation with you. Do you want to Accept (Alt+C) or Decline "
            "(Alt+D) the invitation?\r\n"
            "You are now in a voice conversation with Bob.\r\n"
            "The voice conversation has ended.");
}

TEST_F(ModelTest, OwnInvitationAcceptedWritesAcceptedBeforeStarted) {
  int id = model.OpenOneToOne(TEXT("bob@example.com"));
  model.UserInvites(id);
  model.ContactAccepts(id);
  EXPECT_EQ(Voice(id), VoiceState::kTalking);
  EXPECT_EQ(
      History(id),
      "You are inviting Bob to start a voice conversation. Please wait for a response or Cancel (Alt+Q) "
      "the pending invitation.\r\n"
      "Bob has accepted your invitation to start a voice conversation.\r\n"
      "You are now in a voice conversation with Bob.");
}

TEST_F(ModelTest, DeclinesAndCancellationsReturnToNoCallWithTheirLines) {
  int id = model.OpenOneToOne(TEXT("bob@example.com"));
  model.ContactInvites(id);
  model.UserDeclines(id);
  model.UserInvites(id);
  model.ContactDeclines(id);
  model.ContactInvites(id);
  model.ContactHangsUp(id);  // withdraws the invitation
  model.UserInvites(id);
  model.ContactHangsUp(id);  // declines the user's invitation
  EXPECT_EQ(Voice(id), VoiceState::kNone);
  std::vector<std::string> lines(rec.events.begin() + 1, rec.events.end());
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[1], "You have declined the invitation to a voice conversation.");
  EXPECT_EQ(lines[3], "Bob has declined your invitation to start a voice conversation.");
  EXPECT_EQ(lines[5], "Bob has cancelled the invitation to a voice conversation.");
  EXPECT_EQ(lines[7], "Bob has declined your invitation to start a voice conversation.");
}

TEST_F(ModelTest, StepsThatDoNotApplyChangeNothing) {
  int id = model.OpenOneToOne(TEXT("bob@example.com"));
  EXPECT_FALSE(model.UserAccepts(id));
  EXPECT_FALSE(model.UserDeclines(id));
  EXPECT_FALSE(model.UserHangsUp(id));
  EXPECT_FALSE(model.ContactAccepts(id));
  EXPECT_FALSE(model.ContactHangsUp(id));
  model.ContactInvites(id);
  EXPECT_FALSE(model.UserInvites(id));  // one invitation at a time
  EXPECT_FALSE(model.ContactInvites(id));
  EXPECT_FALSE(model.ContactAccepts(id));  // the contact cannot accept their own invitation
  model.UserAccepts(id);
  EXPECT_FALSE(model.UserAccepts(id));
  EXPECT_FALSE(model.UserDeclines(id));
  EXPECT_EQ(rec.events.size(), 3u);  // opened, invitation, started
}

TEST_F(ModelTest, LinesAreWrittenInTheLanguageOfTheMoment) {
  int id = model.OpenOneToOne(TEXT("bob@example.com"));
  model.SetLanguage(Language::kGerman);
  model.ContactInvites(id);
  model.SetLanguage(Language::kFrench);
  model.UserAccepts(id);
  EXPECT_EQ(History(id),
            "Bob möchte ein Sprachgespräch mit Ihnen führen. Möchten Sie die Einladung annehmen (Alt+N) oder "
            "ablehnen (Alt+B)?\r\n"
            "Vous êtes maintenant en conversation vocale avec Bob.");
}

}  // namespace
}  // namespace world::messenger
