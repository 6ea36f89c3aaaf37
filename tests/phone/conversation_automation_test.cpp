// Messenger's conversation window driven from outside: the Accept and Decline shortcuts read
// from Tellbud.ini on every use, Messenger's confirmation dialog found among others of the same
// title, and Messenger calls that fail in the middle of a handset event.
#include "handset_fixture.h"

namespace {

using world::messenger::VoiceState;

class ShortcutTest : public HandsetFixture {
 protected:
  void SetShortcut(const std::string& key, const std::string& value) {
    Run("ini Tellbud.ini SHORTCUT_KEY " + key + " \"" + value + "\"");
  }
  // Messenger and Tellbud's phrases in `language` (German or French).
  void UseLanguage(const std::string& language) {
    Run("messenger language " + language);
    Run("ini Tellbud.ini LanguageType 0 \"" + language + "\"");
  }
};

TEST_F(ShortcutTest, WithoutTheSectionAcceptIsAltCAndDeclineAltD) {
  std::string settings = ReadFile("Tellbud.ini");
  size_t section = settings.find("[SHORTCUT_KEY]");
  ASSERT_NE(section, std::string::npos);
  WriteFile("Tellbud.ini", settings.substr(0, section));
  StartWorld();
  Ring();
  Run("handset key end");
  EXPECT_PRINTED("keyboard 0x44 down");
  Run("call bob@example.com");
  Run("wait 2s");
  ASSERT_EQ(Dialog()->m_nCallState, CALL_RINGING);
  Run("handset lift");
  EXPECT_PRINTED("keyboard 0x43 down");
  EXPECT_EQ(Conversation()->voice, VoiceState::kTalking);
}

TEST_F(ShortcutTest, ALowerCaseLetterSendsTheKeyOfItsOwnCode) {
  StartWorld();
  SetShortcut("Accept", "Alt+c");
  Ring();
  Run("handset lift");
  EXPECT_PRINTED("keyboard 0x12 down");
  EXPECT_PRINTED("keyboard 0x63 down");
  EXPECT_PRINTED("keyboard 0x63 up");
  EXPECT_PRINTED("keyboard 0x12 up");
  EXPECT_EQ(Conversation()->voice, VoiceState::kIncomingPending) << "0x63 is not Messenger's C key";
}

TEST_F(ShortcutTest, AValueNotBeginningWithAltPlusSendsCodeZero) {
  StartWorld();
  SetShortcut("Decline", "Ctrl+D");
  Ring();
  Run("handset key end");
  EXPECT_PRINTED("keyboard 0x12 down");
  EXPECT_PRINTED("keyboard 0x00 down");
  EXPECT_PRINTED("keyboard 0x00 up");
  EXPECT_PRINTED("keyboard 0x12 up");
  EXPECT_EQ(Conversation()->voice, VoiceState::kIncomingPending);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY) << "declined as far as Tellbud knows";
}

TEST_F(ShortcutTest, GermanMessengerAnswersOnceTheSettingsHoldItsLetters) {
  UseLanguage("German");
  StartWorld();
  Ring();
  Run("handset lift");
  EXPECT_PRINTED("keyboard 0x43 down");
  EXPECT_EQ(Conversation()->voice, VoiceState::kIncomingPending) << "Alt+C means nothing to German Messenger";
  EXPECT_FALSE(Handset().ringing) << "the lifted handset rings no more";
  Run("handset down");
  EXPECT_FALSE(Conversation().has_value()) << "putting it down ends the invitation Messenger still shows";

  // Edited while Tellbud runs: the next call uses the new letters.
  SetShortcut("Accept", "Alt+N");
  SetShortcut("Decline", "Alt+B");
  Run("wait 2s");
  Ring();
  Run("handset lift");
  EXPECT_PRINTED("keyboard 0x4E down");
  EXPECT_PRINTED("history \"Bob - Unterhaltung\" \"Sie führen jetzt ein Sprachgespräch mit Bob.\"");
  Run("wait 2s");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
}

TEST_F(ShortcutTest, FrenchMessengerDeclinesWithItsOwnLetter) {
  UseLanguage("French");
  SetShortcut("Accept", "Alt+A");
  SetShortcut("Decline", "Alt+R");
  StartWorld();
  Ring();
  Run("handset key end");
  EXPECT_PRINTED("keyboard 0x52 down");
  EXPECT_EQ(Conversation()->voice, VoiceState::kNone);
  Run("call bob@example.com");
  Run("wait 2s");
  ASSERT_EQ(Dialog()->m_nCallState, CALL_RINGING) << Transcript();
  Run("handset lift");
  EXPECT_PRINTED("keyboard 0x41 down");
  EXPECT_EQ(Conversation()->voice, VoiceState::kTalking);
}

using ConfirmationTest = HandsetFixture;

// The dialogs Messenger shows with that title, and whether each is its end-of-call question.
std::vector<std::vector<std::string>> OpenDialogLayouts(world::World& w) {
  std::vector<std::vector<std::string>> layouts;
  for (const auto& d : w.messenger().Dialogs()) layouts.push_back(d.child_classes);
  return layouts;
}

TEST_F(ConfirmationTest, ADialogWithAnotherLayoutIsSkippedAndTheQuestionBehindItClicked) {
  StartWorld();
  Talk();
  Run("dialog \"Windows Live Messenger\" Static,Button,Button");
  Run("handset down");
  Run("wait 1s");
  EXPECT_EQ(CountSinceMark("click \"Windows Live Messenger\" 1"), 1) << Transcript();
  EXPECT_FALSE(Conversation().has_value()) << "the call ended and its window closed";
  EXPECT_EQ(OpenDialogLayouts(world),
            (std::vector<std::vector<std::string>>{{"Static", "Button", "Button"}}));
}

TEST_F(ConfirmationTest, OfTwoMatchingDialogsOnlyTheClosedConversationsQuestionIsClickedOnce) {
  StartWorld();
  Talk();
  Run("handset down");
  // Before the thread's first look, another dialog of the same layout comes on top.
  Run("dialog \"Windows Live Messenger\" Button,Button,Static");
  Run("wait 2s");
  EXPECT_EQ(CountSinceMark("click "), 1) << Transcript();
  ASSERT_EQ(world.messenger().Dialogs().size(), 1u);
  EXPECT_FALSE(world.messenger().Dialogs()[0].confirmation) << "the other dialog is left alone";
  EXPECT_FALSE(Conversation().has_value()) << "the call ended and its window closed";
}

TEST_F(ConfirmationTest, WithoutAQuestionTheThreadGivesUpQuietly) {
  StartWorld();
  Talk();
  Run("hangup bob@example.com");          // the call ends first; closing the window asks nothing
  Dialog()->m_nCallState = CALL_TALKING;  // ...before the scan has noticed
  Run("handset down");
  EXPECT_PRINTED("messenger Close(\"Bob - Dialog\")");
  Run("wait 2s");
  EXPECT_FALSE(PrintedSinceMark("click"));
  EXPECT_FALSE(Conversation().has_value());
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
}

using MessengerFailureTest = HandsetFixture;

TEST_F(MessengerFailureTest, AFailedCloseEndsTheHangUpThereAndKeepsWhatWasDone) {
  StartWorld();
  Talk();
  Run("messenger fail Close E_FAIL 1");
  Run("handset down");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" hidden");
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING) << "the hang-up ended at the failed Close";
  EXPECT_FALSE(Dialog()->m_pCurConversation.IsEmpty());
  Run("wait 2s");
  EXPECT_FALSE(PrintedSinceMark("click"));
  ASSERT_EQ(world.RunningTellbuds().size(), 1u);
  // The end key tries again, and this time Messenger closes the window.
  Run("handset key end");
  Run("wait 1s");
  EXPECT_PRINTED("click \"Windows Live Messenger\" 1");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_FALSE(Conversation().has_value());
}

TEST_F(MessengerFailureTest, AFailedWindowHandleLeavesARingingCallRinging) {
  StartWorld();
  Ring();
  Run("messenger fail get_HWND E_FAIL 1");
  Run("handset lift");
  EXPECT_FALSE(PrintedSinceMark("keyboard"));
  EXPECT_FALSE(PrintedSinceMark("SetSpeakerA")) << "the rest of the event was not handled";
  EXPECT_TRUE(Dialog()->m_bOffHook) << "set before the failure";
  EXPECT_EQ(Dialog()->m_nCallState, CALL_RINGING);
  Run("handset key 7");
  EXPECT_PRINTED("keyboard 0x43 down");
  EXPECT_EQ(Conversation()->voice, VoiceState::kTalking);
}

}  // namespace
