// No call is left running that the handset cannot end, and the handset never rings without a
// call: the handset put down right after answering, unplugged mid-call, Messenger gone right
// after the answer, a speaker left on, Tellbud ending while the handset rings, and every key and
// hook event in every call state with the handset and Messenger coming and going in between.
#include "handset_fixture.h"

namespace {

using world::messenger::VoiceState;

class CallEndTest : public HandsetFixture {
 protected:
  // Whatever the handset shows, putting it down and pressing the end key leaves no call in
  // Messenger.
  void EndFromTheHandset() {
    if (Handset().hook_lifted) Run("handset down");
    Run("handset key end");
    Run("wait 2s");
  }
  bool CallRunsInMessenger() {
    auto c = Conversation();
    return c && c->voice != VoiceState::kNone;
  }
};

TEST_F(CallEndTest, PutDownBeforeTheScanSawTheAnsweredCallEndsIt) {
  StartWorld();
  Ring();
  Run("handset lift");
  EXPECT_FALSE(Handset().ringing) << "a lifted handset does not ring";
  EXPECT_EQ(Conversation()->voice, VoiceState::kTalking);
  Run("handset down");  // the same tick: the state still says ready
  EXPECT_PRINTED("messenger Close(\"Bob - Dialog\")");
  Run("wait 1s");
  EXPECT_PRINTED("click \"Windows Live Messenger\" 1");
  EXPECT_FALSE(Conversation().has_value());
  Run("wait 2s");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_FALSE(Handset().ringing);
  EXPECT_EQ(Handset().display, "");
}

TEST_F(CallEndTest, ALiftWhoseAcceptMissesMessengerStopsTheRingAndPutDownEndsTheInvitation) {
  Run("ini Tellbud.ini SHORTCUT_KEY Accept \"Alt+Q\"");
  StartWorld();
  Ring();
  Run("handset lift");
  EXPECT_FALSE(Handset().ringing);
  Run("wait 2s");
  EXPECT_EQ(Conversation()->voice, VoiceState::kIncomingPending);
  EXPECT_FALSE(Handset().ringing);
  Run("handset down");
  EXPECT_PRINTED("messenger Close(\"Bob - Dialog\")");
  Run("wait 2s");
  EXPECT_FALSE(CallRunsInMessenger());
}

TEST_F(CallEndTest, ACallOutlivesTheUnpluggedHandsetAndEndsFromItWhenItIsBack) {
  StartWorld();
  Talk();
  Run("handset unplug");
  Run("wait 4s");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  Run("handset plug 0200");
  Run("wait 3s");
  EXPECT_EQ(Handset().display, "bob@example.com") << "the call is shown again";
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  EXPECT_FALSE(Dialog()->m_bOffHook) << "the handset came back on its hook";
  Run("handset lift");
  Run("handset down");
  Run("wait 1s");
  EXPECT_FALSE(Conversation().has_value());
}

TEST_F(CallEndTest, ARingingCallRingsAgainWhenTheHandsetIsBack) {
  StartWorld();
  Ring();
  Run("handset unplug");
  Run("handset plug 0200");
  Run("wait 3s");
  EXPECT_TRUE(Handset().ringing);
  EXPECT_EQ(Handset().display, "bob@example.com");
  Run("handset lift");
  EXPECT_EQ(Conversation()->voice, VoiceState::kTalking);
}

TEST_F(CallEndTest, AnAdaptorUnpluggedWhileLiftedComesBackOnItsHookAndRingsForCalls) {
  StartWorld("0520");
  Run("handset lift");
  Run("handset unplug");
  Run("wait 2s");
  Run("handset plug 0520");
  Run("wait 3s");
  EXPECT_FALSE(Dialog()->m_bOffHook);
  Run("call bob@example.com");
  Run("wait 2s");
  EXPECT_TRUE(Handset().ringing);
  Run("handset key 1");
  EXPECT_EQ(Conversation()->voice, VoiceState::kTalking) << "keys act again";
}

TEST_F(CallEndTest, MessengerGoneRightAfterTheAnswerLeavesTheHandsetIdle) {
  StartWorld();
  Ring();
  Run("handset key 5");  // answers; the handset itself stays on its hook
  Run("messenger quit");
  Run("wait 2s");
  EXPECT_FALSE(Handset().ringing);
  EXPECT_EQ(Handset().display, "");
  EXPECT_TRUE(Dialog()->m_pCurConversation.IsEmpty());
}

TEST_F(CallEndTest, EndingACallThatRanOnTheSpeakerSwitchesTheSpeakerOff) {
  StartWorld();
  Talk();
  Run("handset key speaker");
  Run("handset down");  // the call goes on over the speaker
  ASSERT_TRUE(Handset().speaker_a);
  Run("handset key end");
  Run("wait 1s");
  EXPECT_FALSE(Conversation().has_value());
  EXPECT_FALSE(Handset().speaker_a);
  EXPECT_FALSE(Dialog()->m_bSpeaker);

  // The speaker key pressed twice on the hook: on, then the call ends and the speaker goes off.
  Run("call bob@example.com");
  Run("wait 2s");
  Run("handset key speaker");
  Run("wait 2s");
  ASSERT_TRUE(Handset().speaker_a);
  Run("handset key speaker");
  Run("wait 1s");
  EXPECT_FALSE(Conversation().has_value());
  EXPECT_FALSE(Handset().speaker_a);
}

TEST_F(CallEndTest, ASecondKindHandsetLiftedOffTheSpeakerStopsRingingAndDownStillDeclines) {
  StartWorld("0AB0");
  Run("handset lift");
  Run("handset down");
  Run("handset key speaker");  // the speaker on, in the ready state
  ASSERT_TRUE(Handset().speaker_b);
  Ring();
  Run("handset lift");  // takes the call off the speaker without answering it
  EXPECT_FALSE(Handset().ringing);
  EXPECT_EQ(Conversation()->voice, VoiceState::kIncomingPending);
  Run("handset down");
  EXPECT_PRINTED("keyboard 0x44 down");
  Run("wait 2s");
  EXPECT_FALSE(CallRunsInMessenger());
}

TEST_F(CallEndTest, TellbudEndingWhileTheHandsetRingsSilencesIt) {
  StartWorld();
  Ring();
  Run("tray rclick");
  Run("menu Exit");
  Run("wait 1s");
  EXPECT_TRUE(world.RunningTellbuds().empty());
  EXPECT_FALSE(Handset().ringing);
}

// Every handset event in every call state, with the handset and Messenger coming and going in
// between: afterwards the handset can always end what runs, and keys still act.
TEST_F(CallEndTest, EveryEventInEveryCallStateLeavesACallTheHandsetCanEnd) {
  const std::vector<std::string> states = {"ringing", "answered", "talking", "outgoing"};
  const std::vector<std::vector<std::string>> events = {
      {"handset lift"},
      {"handset down"},
      {"handset key end"},
      {"handset key speaker"},
      {"handset key 3"},
      {"handset key call"},
      {"handset unplug", "wait 2s", "handset plug 0200"},
      {"handset lift", "handset unplug", "wait 2s", "handset plug 0200"},
      {"messenger quit", "wait 2s", "messenger start", "messenger signin"},
  };
  Run("ini Custom.ini SpeedDialNumber bob@example.com \"12\"");
  StartWorld();
  for (const std::string& state : states) {
    for (const auto& event : events) {
      SCOPED_TRACE(state + " / " + event.front() + (event.size() > 1 ? " ..." : ""));
      if (state == "outgoing") {
        Run("handset dial 12#");
        Run("answer bob@example.com");
      } else {
        Run("call bob@example.com");
      }
      Run("wait 2s");
      if (state == "answered" || state == "talking") Run("handset lift");
      if (state == "talking") Run("wait 2s");
      // A hook already in that position is refused by the world; the round goes on all the same.
      for (const std::string& line : event) console.ExecuteLine(line);
      Run("wait 3s");
      EndFromTheHandset();
      EXPECT_FALSE(CallRunsInMessenger()) << Transcript();
      EXPECT_FALSE(Handset().ringing) << Transcript();
      // Messenger's leftover windows go, so that the next round starts afresh.
      if (Conversation()) Run("close bob@example.com");
      Run("wait 2s");
      ASSERT_EQ(Dialog()->m_nCallState, CALL_READY) << Transcript();
      Forget();
    }
  }
}

}  // namespace
