// An incoming Messenger call handled from the handset alone: lifting answers it through the
// conversation window's Accept shortcut, the end key declines it, putting the handset down ends
// it (Messenger's confirmation is clicked), and a hang-up by the caller returns the handset to
// idle.
#include "handset_fixture.h"

namespace {

using IncomingCallTest = HandsetFixture;

TEST_F(IncomingCallTest, LiftingAnswersAndPuttingDownEndsTheWholeCall) {
  StartWorld();
  Run("call bob@example.com");
  Run("wait 2s");
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
  EXPECT_TRUE(Handset().ringing);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_RINGING);
  EXPECT_TRUE(Dialog()->m_strCaller == TEXT("bob@example.com"));

  // The person had Tellbud's window in front; lifting brings the conversation forward first.
  Run("tray dblclick");
  Forget();
  Run("handset lift");
  EXPECT_PRINTED("window \"Bob - Dialog\" foreground");
  EXPECT_PRINTED("keyboard 0x12 down");
  EXPECT_PRINTED("keyboard 0x43 down");
  EXPECT_PRINTED("keyboard 0x43 up");
  EXPECT_PRINTED("keyboard 0x12 up");
  EXPECT_PRINTED("history \"Bob - Dialog\" \"You are now in a voice conversation with Bob.\"");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY) << "answered; the scan has not seen the call yet";
  EXPECT_FALSE(PrintedSinceMark("ShowTalking"));
  Run("wait 2s");
  EXPECT_PRINTED("handset ShowTalking(\"bob@example.com\")");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);

  Run("handset down");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" hidden");
  EXPECT_PRINTED("messenger Close(\"Bob - Dialog\")");
  Run("wait 1s");
  EXPECT_PRINTED("click \"Windows Live Messenger\" 1");
  EXPECT_PRINTED("history \"Bob - Dialog\" \"The voice conversation has ended.\"");
  EXPECT_PRINTED("window \"Bob - Dialog\" destroyed");
  EXPECT_FALSE(Conversation().has_value());
  EXPECT_EQ(Handset().display, "");
  EXPECT_FALSE(Handset().ringing);
  EXPECT_FALSE(MainWindowVisible());
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_TRUE(Dialog()->m_pCurConversation.IsEmpty());
  EXPECT_EQ(Dialog()->m_nHistoryLen, 0);
}

TEST_F(IncomingCallTest, AMinimizedConversationWindowIsRestoredBeforeTheKeysAreSent) {
  StartWorld();
  Ring();
  Run("window minimize bob@example.com");
  ASSERT_TRUE(Conversation()->minimized);
  Run("handset lift");
  EXPECT_PRINTED("window \"Bob - Dialog\" restored");
  EXPECT_PRINTED("keyboard 0x12 down");
  EXPECT_FALSE(Conversation()->minimized);
  EXPECT_EQ(Conversation()->voice, world::messenger::VoiceState::kTalking);
}

TEST_F(IncomingCallTest, AMinimizedConversationGetsTheKeysEvenWithAnotherMessengerDialogOpen) {
  StartWorld();
  Ring();
  Run("window minimize bob@example.com");
  Run("dialog \"Windows Live Messenger\" Static,Button,Button");
  Run("handset lift");
  EXPECT_EQ(Conversation()->voice, world::messenger::VoiceState::kTalking) << Transcript();
}

TEST_F(IncomingCallTest, AHiddenConversationWindowIsShownBeforeTheKeysAreSent) {
  StartWorld();
  Ring();
  ASSERT_TRUE(world.messenger().HideWindow("bob@example.com"));
  Run("handset lift");
  EXPECT_TRUE(Conversation()->visible);
  EXPECT_EQ(Conversation()->voice, world::messenger::VoiceState::kTalking);
}

TEST_F(IncomingCallTest, TheEndKeyDeclinesARingingCall) {
  StartWorld();
  Ring();
  bool visible = MainWindowVisible();
  Run("handset key end");
  EXPECT_PRINTED("keyboard 0x12 down");
  EXPECT_PRINTED("keyboard 0x44 down");
  EXPECT_PRINTED("keyboard 0x44 up");
  EXPECT_PRINTED("keyboard 0x12 up");
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_EQ(Conversation()->voice, world::messenger::VoiceState::kNone);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_TRUE(Dialog()->m_pCurConversation.IsEmpty());
  EXPECT_FALSE(Handset().ringing);
  EXPECT_EQ(MainWindowVisible(), visible) << "declining leaves the main window as it was";
  // The conversation window stays open; a later scan does not ring again.
  Run("wait 4s");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_FALSE(Handset().ringing);
}

TEST_F(IncomingCallTest, EveryKeyButEndAndSpeakerAnswersARingingCall) {
  StartWorld();
  Ring();
  Run("handset key 5");
  EXPECT_PRINTED("keyboard 0x43 down");
  EXPECT_EQ(Conversation()->voice, world::messenger::VoiceState::kTalking);
  EXPECT_TRUE(Dialog()->m_strDial.IsEmpty()) << "the digit answered; it was not dialled";
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
}

TEST_F(IncomingCallTest, ARingingCallWithoutACallerIgnoresEveryKeyAndTheHook) {
  StartWorld();
  Ring();
  // A caller whose sign-in name could not be read leaves the name empty.
  Dialog()->m_strCaller.Empty();
  Run("handset key 1 * # prev next del call end speaker 137 131 132");
  for (const std::string& line : LinesSinceMark()) EXPECT_EQ(line, "handset AcknowledgeKey(1)");
  Forget();
  Run("handset lift");
  EXPECT_TRUE(LinesSinceMark().empty()) << Transcript();
  EXPECT_TRUE(Dialog()->m_bOffHook);
  EXPECT_FALSE(Dialog()->m_bSpeaker);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_RINGING);
  EXPECT_TRUE(Dialog()->m_strDial.IsEmpty());
  EXPECT_EQ(Conversation()->voice, world::messenger::VoiceState::kIncomingPending);
}

TEST_F(IncomingCallTest, ARemoteHangUpDuringACallReturnsTheHandsetToIdle) {
  StartWorld();
  Talk();
  Run("hangup bob@example.com");
  Run("wait 2s");
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_TRUE(Dialog()->m_pCurConversation.IsEmpty());
  EXPECT_EQ(Handset().display, "");
  // Putting the handset down afterwards has no call to end.
  Forget();
  Run("handset down");
  Run("wait 2s");
  EXPECT_FALSE(PrintedSinceMark("messenger Close"));
  EXPECT_FALSE(PrintedSinceMark("click"));
}

TEST_F(IncomingCallTest, PuttingDownAHandsetLiftedBeforeTheCallRangDeclinesIt) {
  StartWorld();
  Run("handset lift");
  Ring();
  Run("handset down");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" hidden");
  EXPECT_PRINTED("keyboard 0x44 down");
  EXPECT_PRINTED("history \"Bob - Dialog\" \"You have declined the invitation to a voice conversation.\"");
  EXPECT_FALSE(PrintedSinceMark("messenger Close"));
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_TRUE(Dialog()->m_pCurConversation.IsEmpty());
  EXPECT_FALSE(Handset().ringing);
}

TEST_F(IncomingCallTest, HangingUpWithoutACallOnlyResetsTheCallState) {
  StartWorld();
  Run("handset dial 12");
  Run("tray dblclick");
  Forget();
  Run("handset key end");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" hidden");
  EXPECT_EQ(CountSinceMark("handset"), 1) << "SetIdle, once:\n" << Transcript();
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_TRUE(Dialog()->m_strDial.IsEmpty());
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_EQ(Dialog()->m_nHistoryLen, 0);
}

TEST_F(IncomingCallTest, RemovingTheDeviceDuringACallLeavesTheCallAsItIs) {
  StartWorld();
  Talk();
  Run("handset unplug");
  EXPECT_PRINTED("tray tip \"Can't find USB Phone\"");
  EXPECT_FALSE(Dialog()->m_bPhoneFound);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  EXPECT_FALSE(Dialog()->m_pCurConversation.IsEmpty());
  // The search runs again every two seconds and finds the handset when it returns; the call
  // is still current and shown on it again.
  Run("handset plug");
  Run("wait 2s");
  EXPECT_TRUE(Dialog()->m_bPhoneFound);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  EXPECT_EQ(Handset().display, "bob@example.com");
}

}  // namespace
