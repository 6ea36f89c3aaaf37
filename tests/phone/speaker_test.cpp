// Hands-free speaker mode on the two kinds of handset with a speaker: group A switched with
// SetSpeakerA and reporting its hook as HookChanged, group B switched with SetSpeakerB and
// reporting its hook as HookChangedB.
#include "handset_fixture.h"

namespace {

using world::messenger::VoiceState;

class SpeakerATest : public HandsetFixture {
 protected:
  void SetUp() override {
    HandsetFixture::SetUp();
    Run("ini Custom.ini SpeedDialNumber bob@example.com \"12\"");
    StartWorld("0200");
  }
  // An outgoing call to Bob, answered, with the handset on its hook.
  void CallBobOnTheHook() {
    Run("handset dial 12#");
    Run("answer bob@example.com");
    Run("wait 2s");
    ASSERT_EQ(Dialog()->m_nCallState, CALL_TALKING);
    Forget();
  }
};

TEST_F(SpeakerATest, SpeakerOnInTheReadyStateShowsAnEmptyDialString) {
  Run("window close");
  Run("handset key speaker");
  EXPECT_PRINTED("handset SetSpeakerA(1)");
  EXPECT_PRINTED("handset ShowDialString(\"\")");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
  EXPECT_TRUE(Dialog()->m_bSpeaker);
  EXPECT_TRUE(Handset().speaker_a);
}

TEST_F(SpeakerATest, SpeakerPressedTwiceWhileTalkingOnTheHookEndsTheCall) {
  CallBobOnTheHook();
  Run("handset key speaker");
  EXPECT_PRINTED("handset SetSpeakerA(1)");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  Run("handset key speaker");
  EXPECT_PRINTED("messenger Close(\"Bob - Dialog\")");
  Run("wait 1s");
  EXPECT_PRINTED("click \"Windows Live Messenger\" 1");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_FALSE(Dialog()->m_bSpeaker);
}

TEST_F(SpeakerATest, PuttingTheHandsetDownInSpeakerModeHandsTheCallToTheSpeaker) {
  Talk();
  Run("handset key speaker");
  EXPECT_FALSE(PrintedSinceMark("SetSpeakerA")) << "the handset is lifted: the speaker stays off";
  EXPECT_TRUE(Dialog()->m_bSpeaker);
  bool visible = MainWindowVisible();
  Forget();
  Run("handset down");
  EXPECT_PRINTED("handset SetSpeakerA(1)");
  EXPECT_FALSE(PrintedSinceMark("messenger Close"));
  EXPECT_EQ(MainWindowVisible(), visible) << "the main window stays as it was";
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  EXPECT_EQ(Conversation()->voice, VoiceState::kTalking);
  // The speaker key ends the call from the speaker.
  Run("handset key speaker");
  EXPECT_PRINTED("messenger Close(\"Bob - Dialog\")");
}

TEST_F(SpeakerATest, SpeakerOffWithTheHandsetLiftedKeepsTheCallOnTheHandset) {
  Talk();
  Run("handset key speaker speaker");
  EXPECT_FALSE(PrintedSinceMark("messenger Close"));
  EXPECT_FALSE(Dialog()->m_bSpeaker);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
}

TEST_F(SpeakerATest, LiftingTheHandsetEndsSpeakerMode) {
  Run("handset key speaker");
  ASSERT_TRUE(Handset().speaker_a);
  Run("window close");
  Forget();
  Run("handset lift");
  EXPECT_PRINTED("handset ShowDialString(\"\")");
  EXPECT_PRINTED("handset SetSpeakerA(0)");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
  EXPECT_FALSE(Dialog()->m_bSpeaker);
  EXPECT_FALSE(Handset().speaker_a);
  EXPECT_TRUE(Dialog()->m_bOffHook);
}

TEST_F(SpeakerATest, TheSpeakerKeyAnswersARingingCall) {
  Ring();
  Run("handset key speaker");
  EXPECT_PRINTED("handset SetSpeakerA(1)");
  EXPECT_PRINTED("keyboard 0x43 down");
  EXPECT_EQ(Conversation()->voice, VoiceState::kTalking);
  EXPECT_TRUE(Dialog()->m_bSpeaker);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
}

class SpeakerBTest : public HandsetFixture {
 protected:
  void SetUp() override {
    HandsetFixture::SetUp();
    StartWorld("0AB0");
  }
};

TEST_F(SpeakerBTest, HookEventsOfTheSecondKindAnswerAndEndTheCall) {
  Ring();
  Run("handset lift");
  EXPECT_PRINTED("keyboard 0x43 down");
  EXPECT_FALSE(PrintedSinceMark("SetSpeaker"));
  EXPECT_FALSE(Dialog()->m_bOnHookB);
  EXPECT_FALSE(Dialog()->m_bOffHook) << "only HookChanged sets it";
  EXPECT_TRUE(MainWindowVisible());
  Run("wait 2s");
  ASSERT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  Forget();
  Run("handset down");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" hidden");
  EXPECT_PRINTED("messenger Close(\"Bob - Dialog\")");
  Run("wait 1s");
  EXPECT_PRINTED("click \"Windows Live Messenger\" 1");
  EXPECT_TRUE(Dialog()->m_bOnHookB);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
}

TEST_F(SpeakerBTest, TheSpeakerComesOnOnlyOnceTheHandsetWasReportedDown) {
  Run("handset key speaker");
  EXPECT_FALSE(PrintedSinceMark("SetSpeakerB")) << "no hook event yet: the handset is not known to be down";
  EXPECT_FALSE(PrintedSinceMark("ShowDialString"));
  EXPECT_TRUE(Dialog()->m_bSpeaker);
  Run("handset lift");  // lifting in speaker mode switches it off
  EXPECT_PRINTED("handset SetSpeakerB(FALSE)");
  EXPECT_FALSE(Dialog()->m_bSpeaker);
  Run("handset down");
  Forget();
  Run("handset key speaker");
  EXPECT_PRINTED("handset SetSpeakerB(TRUE)");
  EXPECT_TRUE(Handset().speaker_b);
}

TEST_F(SpeakerBTest, LiftingInSpeakerModeWhileRingingDoesNotAnswer) {
  Run("handset lift");
  Run("handset down");
  Run("handset key speaker");
  ASSERT_TRUE(Handset().speaker_b);
  Ring();
  Run("window close");
  Forget();
  Run("handset lift");
  EXPECT_PRINTED("handset SetSpeakerB(FALSE)");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
  EXPECT_FALSE(PrintedSinceMark("keyboard"));
  EXPECT_EQ(Dialog()->m_nCallState, CALL_RINGING);
  EXPECT_EQ(Conversation()->voice, VoiceState::kIncomingPending);
}

TEST_F(SpeakerBTest, PuttingDownInSpeakerModeHidesTheMainWindowAndKeepsTheCall) {
  Talk();
  Run("handset key speaker");
  ASSERT_TRUE(MainWindowVisible());
  Forget();
  Run("handset down");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" hidden");
  EXPECT_PRINTED("handset SetSpeakerB(TRUE)");
  EXPECT_FALSE(PrintedSinceMark("messenger Close"));
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  // With the handset down, the speaker key ends the call.
  Run("handset key speaker");
  EXPECT_PRINTED("messenger Close(\"Bob - Dialog\")");
}

TEST_F(SpeakerBTest, SpeakerOffWithTheHandsetLiftedKeepsTheCall) {
  Talk();
  Run("handset key speaker speaker");
  EXPECT_FALSE(PrintedSinceMark("messenger Close"));
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
}

}  // namespace
