// The conversation scan: Messenger's status lines in a conversation's history ring the handset,
// show a call in progress or return it to ready; the most recent phrase decides.
#include "monitor/connected_fixture.h"

namespace {

const char kBobRings[] = "handset ShowIncomingCall(\"bob@example.com\")";
const char kAnnRings[] = "handset ShowIncomingCall(\"ann@example.com\")";
const char kBobTalks[] = "handset ShowTalking(\"bob@example.com\")";
const char kIdle[] = "handset SetIdle()";

class ConversationScanTest : public ConnectedFixture {
 protected:
  void StartWithBobAndAnn() {
    StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
    Forget();
  }
  // Bob's call rings the handset.
  void BobRings() {
    Run("call bob@example.com");
    Tick();
    ASSERT_PRINTED(kBobRings);
    ASSERT_EQ(CallState(), CALL_RINGING);
  }
  // Replaces the English language file with these phrase sections.
  void WriteEnglishPhrases(const std::string& sections) { WriteFile("Language/English.ini", sections); }
};

TEST_F(ConversationScanTest, AnInvitationRingsTheHandsetWithinOneTick) {
  StartWithBobAndAnn();
  Run("call bob@example.com");
  EXPECT_NOT_PRINTED("ShowIncomingCall");
  Tick();
  EXPECT_PRINTED(kBobRings);
  EXPECT_EQ(CallState(), CALL_RINGING);
  EXPECT_EQ(Caller(), "bob@example.com");
  EXPECT_TRUE(HasCurrentConversation());
}

TEST_F(ConversationScanTest, TheCallerHangingUpBeforeAnswerReturnsTheHandsetToIdle) {
  StartWithBobAndAnn();
  BobRings();
  Run("hangup bob@example.com");
  EXPECT_PRINTED("has cancelled the invitation");
  Tick();
  EXPECT_PRINTED(kIdle);
  EXPECT_EQ(CallState(), CALL_READY);
  EXPECT_FALSE(HasCurrentConversation());
}

TEST_F(ConversationScanTest, AnAnsweredCallShowsTalkingAndItsEndReturnsToReady) {
  StartWithBobAndAnn();
  BobRings();
  Run("handset lift");
  Tick();
  EXPECT_PRINTED(kBobTalks);
  EXPECT_EQ(CallState(), CALL_TALKING);
  Run("hangup bob@example.com");
  Tick();
  EXPECT_PRINTED(kIdle);
  EXPECT_EQ(CallState(), CALL_READY);
  EXPECT_FALSE(HasCurrentConversation());
}

TEST_F(ConversationScanTest, AnInvitationAndThenAReadyPhraseInTheSameNewTextDoNotRing) {
  StartWithBobAndAnn();
  Run("call bob@example.com");
  Run("hangup bob@example.com");
  Tick();
  EXPECT_NOT_PRINTED("ShowIncomingCall");
  EXPECT_PRINTED(kIdle);
  EXPECT_EQ(CallState(), CALL_READY);
}

TEST_F(ConversationScanTest, AnInvitationRepeatedAfterAReadyPhraseRingsByItsLaterOccurrence) {
  StartWithBobAndAnn();
  Run("call bob@example.com");
  Run("hangup bob@example.com");
  Run("call bob@example.com");
  Tick();
  EXPECT_PRINTED(kBobRings);
}

TEST_F(ConversationScanTest, ChatWithoutStatusPhrasesChangesNothing) {
  StartWithBobAndAnn();
  Run("chat bob@example.com \"hello, shall we talk later?\"");
  Tick();
  Tick();
  EXPECT_NOT_PRINTED("handset Show");
  EXPECT_NOT_PRINTED(kIdle);
  EXPECT_EQ(CallState(), CALL_READY);
  EXPECT_EQ(Watched(), 1u);
}

// Occurrences of one phrase may share a character: the second "*ring*" below starts on the
// last character of the first, and is later than the ready phrase "g*r" between them.
TEST_F(ConversationScanTest, PhraseOccurrencesSharingOneCharacterAreBothFound) {
  WriteEnglishPhrases(
      "[INFO_CALLIN]\n1=*ring*\n[INFO_INTALK]\n1=You are now in a voice conversation\n"
      "[INFO_READY]\n1=g*r\n[INFO_OTHER]\nIMWndName=\" - Dialog\"\n");
  StartWithBobAndAnn();
  Run("chat bob@example.com \"*ring*ring*\"");
  Tick();
  EXPECT_PRINTED(kBobRings);
}

// A tie between an in-talk and a ready phrase (both start at the same character) goes to
// talking for a conversation that is not current, and to ready for the current one.
TEST_F(ConversationScanTest, ATalkReadyTieGoesToTalkingForANewConversationAndToReadyForTheCurrentOne) {
  WriteEnglishPhrases(
      "[INFO_CALLIN]\n1=would like to have a voice conversation with you\n"
      "[INFO_INTALK]\n1=You are now in a voice conversation\n"
      "[INFO_READY]\n1=The voice conversation has ended\n2=You are now\n[INFO_OTHER]\nIMWndName=\" - "
      "Dialog\"\n");
  StartWithBobAndAnn();
  Run("chat bob@example.com \"You are now in a voice conversation\"");
  Tick();
  EXPECT_PRINTED(kBobTalks);
  EXPECT_EQ(CallState(), CALL_TALKING);
  ASSERT_TRUE(HasCurrentConversation());
  Run("chat bob@example.com \"You are now in a voice conversation\"");
  Tick();
  EXPECT_PRINTED(kIdle);
  EXPECT_EQ(CallState(), CALL_READY);
  EXPECT_FALSE(HasCurrentConversation());
}

TEST_F(ConversationScanTest, ALanguageFileWithoutInvitationPhrasesNeverRings) {
  WriteEnglishPhrases(
      "[INFO_INTALK]\n1=You are now in a voice conversation\n"
      "[INFO_READY]\n1=The voice conversation has ended\n[INFO_OTHER]\nIMWndName=\" - Dialog\"\n");
  StartWithBobAndAnn();
  Run("call bob@example.com");
  Tick();
  Tick();
  EXPECT_NOT_PRINTED("ShowIncomingCall");
  EXPECT_EQ(CallState(), CALL_READY);
}

TEST_F(ConversationScanTest, ALanguageFileWithoutReadyPhrasesNeverEndsACallByItself) {
  WriteEnglishPhrases(
      "[INFO_CALLIN]\n1=would like to have a voice conversation with you\n"
      "[INFO_INTALK]\n1=You are now in a voice conversation\n[INFO_OTHER]\nIMWndName=\" - Dialog\"\n");
  StartWithBobAndAnn();
  BobRings();
  Run("hangup bob@example.com");
  Tick();
  Tick();
  EXPECT_NOT_PRINTED(kIdle);
  EXPECT_EQ(CallState(), CALL_RINGING);
}

// Before the handset is found the state is not ready: the invitation is consumed unrung, and
// the handset found later does not ring for it.
TEST_F(ConversationScanTest, AnInvitationWhileNotReadyNeverRingsLater) {
  StartMessenger({"bob@example.com \"Bob\" online"});
  StartTellbud();
  ASSERT_EQ(CallState(), CALL_NO_HANDSET);
  Run("call bob@example.com");
  Tick();
  Run("handset plug");
  Tick();
  Tick();
  ASSERT_EQ(CallState(), CALL_READY);
  EXPECT_NOT_PRINTED("ShowIncomingCall");
  // The next invitation rings.
  Run("hangup bob@example.com");
  Run("call bob@example.com");
  Tick();
  EXPECT_PRINTED(kBobRings);
}

// While a conversation is current only it is scanned; another's invitation is examined on
// the first tick after the current one was cleared.
TEST_F(ConversationScanTest, WhileACallIsCurrentOtherConversationsWaitTheirTurn) {
  StartWithBobAndAnn();
  BobRings();
  Run("call ann@example.com");
  Tick();
  EXPECT_NOT_PRINTED(kAnnRings);
  EXPECT_EQ(Caller(), "bob@example.com");
  Run("hangup bob@example.com");
  Tick();
  EXPECT_NOT_PRINTED(kAnnRings);
  EXPECT_PRINTED(kIdle);
  Tick();
  EXPECT_PRINTED(kAnnRings);
  EXPECT_EQ(CallState(), CALL_RINGING);
}

TEST_F(ConversationScanTest, AConversationWithTwoOtherParticipantsIsNotWatchedAndNeverRings) {
  StartWithBobAndAnn();
  Run("call bob@example.com");
  Run("join bob@example.com ann@example.com");
  EXPECT_EQ(Watched(), 0u);
  Tick();
  Tick();
  EXPECT_NOT_PRINTED("ShowIncomingCall");
  EXPECT_EQ(CallState(), CALL_READY);
}

TEST_F(ConversationScanTest, AConversationLeftUntilOneParticipantRemainsIsWatchedAgain) {
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online",
                  "carl@example.com \"Carl\" online"});
  Run("chat bob@example.com \"hi\"");
  Run("join bob@example.com ann@example.com");
  Run("join bob@example.com carl@example.com");
  ASSERT_EQ(Watched(), 0u);
  Run("leave bob@example.com carl@example.com");
  EXPECT_EQ(Watched(), 0u);
  Run("leave bob@example.com ann@example.com");
  EXPECT_EQ(Watched(), 1u);
  Tick();
  Forget();
  Run("call bob@example.com");
  EXPECT_EQ(world.messenger().Conversations().size(), 1u);
  Tick();
  EXPECT_PRINTED(kBobRings);
}

TEST_F(ConversationScanTest, ASecondParticipantJoiningTheRingingConversationReturnsTheHandsetToIdle) {
  StartWithBobAndAnn();
  BobRings();
  Run("join bob@example.com ann@example.com");
  EXPECT_PRINTED(kIdle);
  EXPECT_EQ(CallState(), CALL_READY);
  EXPECT_FALSE(HasCurrentConversation());
  EXPECT_EQ(Watched(), 0u);
}

TEST_F(ConversationScanTest, ClosingTheRingingConversationReturnsTheHandsetToIdle) {
  StartWithBobAndAnn();
  BobRings();
  Run("close bob@example.com");
  EXPECT_PRINTED(kIdle);
  EXPECT_EQ(CallState(), CALL_READY);
  EXPECT_FALSE(HasCurrentConversation());
  EXPECT_EQ(Watched(), 0u);
}

// Windows open before Tellbud connected are found by their titles and scanned whole.
TEST_F(ConversationScanTest, AConversationOpenBeforeConnectingThatEndsWithAnInvitationRingsAtOnce) {
  StartMessenger({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
  Run("chat ann@example.com \"hello\"");
  Run("call bob@example.com");
  Run("handset plug");
  Run("start");
  Run("wait 2500ms");
  EXPECT_PRINTED("tray tip \"Online\"");
  EXPECT_PRINTED(kBobRings);
  EXPECT_EQ(Watched(), 2u);
  EXPECT_EQ(CallState(), CALL_RINGING);
}

// Someone outside the contact list is known by the address in the window's title, and their call
// rings; a window named after a contact who is gone by then is left alone.
TEST_F(ConversationScanTest, AnOpenWindowOfSomeoneOutsideTheListIsAdoptedByItsAddress) {
  StartMessenger({"bob@example.com \"Bob\" online"});
  Run("call stranger@example.com");
  Run("contact add ann@example.com \"Ann\" online");
  Run("chat ann@example.com");
  Run("contact remove ann@example.com");
  Run("handset plug");
  StartTellbud();
  EXPECT_EQ(Watched(), 1u);
  EXPECT_PRINTED("handset ShowIncomingCall(\"stranger@example.com\")");
  EXPECT_NOT_PRINTED("InstantMessage(\"Ann\")");
}

// The windows are collected before they are adopted, however many there are: here four
// windows and one contact, whose window comes last.
TEST_F(ConversationScanTest, MoreOpenWindowsThanContactsAreAllLookedAt) {
  StartMessenger({"bob@example.com \"Bob\" online"});
  Run("call bob@example.com");
  for (const char* stranger : {"x@example.com", "y@example.com", "z@example.com"})
    Run(std::string("chat ") + stranger);
  Run("handset plug");
  StartTellbud();
  EXPECT_EQ(Watched(), 4u);
  EXPECT_PRINTED(kBobRings);
}

TEST_F(ConversationScanTest, OpenWindowsWithNoContactsAtAllAreWatchedByTheirAddresses) {
  StartMessenger({});
  Run("chat x@example.com");
  Run("chat y@example.com");
  Run("handset plug");
  StartTellbud();
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
  EXPECT_EQ(Watched(), 2u);
  EXPECT_EQ(CallState(), CALL_READY);
}

// "Bob" begins "Bobby" too: a row showing exactly the title's name is preferred.
TEST_F(ConversationScanTest, AnOpenWindowIsAdoptedForTheContactOfExactlyThatName) {
  StartMessenger({"bobby@example.com \"Bobby\" online", "bob@example.com \"Bob\" online"});
  Run("call bob@example.com");
  Run("chat bobby@example.com");
  Run("handset plug");
  StartTellbud();
  ASSERT_EQ(Names(), "Bobby|Bob| ");
  EXPECT_EQ(Watched(), 2u);
  EXPECT_PRINTED(kBobRings);
}

TEST_F(ConversationScanTest, AnAdoptedWindowIsMatchedByTheFriendlyNameBeforeCustomNamesApply) {
  Run("ini Custom.ini CustomName bob@example.com \"Bobby\"");
  StartMessenger({"bob@example.com \"Bob\" online"});
  Run("call bob@example.com");
  Run("handset plug");
  StartTellbud();
  EXPECT_PRINTED(kBobRings);
  EXPECT_EQ(Names(), "Bobby| ");
}

}  // namespace
