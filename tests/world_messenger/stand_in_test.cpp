// The stand-in driven by the world: Messenger's process and windows, the contacts' actions, the
// user's keyboard shortcuts, and the transcript.
#include <algorithm>

#include "stand_in_fixture.h"

namespace world::messenger {
namespace {

bool HasProcess(sim::Desktop& desktop, const std::u16string& image) {
  auto list = desktop.Processes();
  return std::any_of(list.begin(), list.end(),
                     [&](const sim::ProcessInfo& p) { return p.image_name == image; });
}

// ---- Process and windows ----------------------------------------------------------------------------

TEST_F(StandInTest, RunningMessengerIsAProcessWithAHiddenMainWindow) {
  EXPECT_TRUE(HasProcess(desktop, u"msnmsgr.exe"));
  auto info = sim::InspectWindow(messenger.MainWindow());
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->class_name, u"MessengerMainWindow");
  EXPECT_EQ(info->title, u"Windows Live Messenger");
  EXPECT_FALSE(info->visible);
  EXPECT_EQ(info->process_id, messenger.ProcessId());
  EXPECT_EQ(FindWindowW(u"MessengerMainWindow", nullptr), messenger.MainWindow());
}

TEST_F(StandInTest, QuitEndsTheProcessAndItsWindows) {
  messenger.IncomingCall("bob@example.com");
  HWND main = messenger.MainWindow();
  HWND conversation = Bob().hwnd;
  ASSERT_TRUE(messenger.Quit());
  EXPECT_FALSE(messenger.IsRunning());
  EXPECT_FALSE(HasProcess(desktop, u"msnmsgr.exe"));
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(IsWindow(conversation));
  EXPECT_TRUE(messenger.Conversations().empty());
  EXPECT_FALSE(messenger.Quit());
}

TEST_F(StandInTest, RestartedMessengerKeepsItsStoredSettingsButNotItsConversations) {
  messenger.SetLanguage(Language::kGerman);
  messenger.Chat("bob@example.com", "hi");
  messenger.Quit();
  ASSERT_TRUE(messenger.Start());
  EXPECT_NE(messenger.MainWindow(), nullptr);
  EXPECT_EQ(messenger.MyStatus(), kStatusOnline);
  ASSERT_EQ(messenger.Contacts().size(), 1u);
  EXPECT_EQ(messenger.Contacts()[0].friendly, "Bob");
  EXPECT_TRUE(messenger.Conversations().empty());
  messenger.Chat("bob@example.com", "again");
  EXPECT_EQ(Bob().title, "Bob - Unterhaltung");
}

TEST_F(StandInTest, CommandsNeedARunningMessengerButWorldSettingsDoNot) {
  messenger.Quit();
  EXPECT_FALSE(messenger.SignIn());
  EXPECT_FALSE(messenger.AddContact("ann@example.com", "Ann", 2));
  EXPECT_FALSE(messenger.IncomingCall("bob@example.com"));
  EXPECT_EQ(messenger.ShowOtherDialog("x", {"Button"}), nullptr);
  EXPECT_TRUE(messenger.Fail("get_Count", E_FAIL, 1));
  EXPECT_FALSE(messenger.Fail("NoSuchMethod", E_FAIL, 1));
  EXPECT_FALSE(messenger.Start() && messenger.Start());  // a second start while running fails
}

// ---- Conversation windows
// ----------------------------------------------------------------------------------

TEST_F(StandInTest, IncomingCallOpensATitledWindowWithoutTakingTheForeground) {
  HWND before = GetForegroundWindow();
  ASSERT_TRUE(messenger.IncomingCall("BOB@example.com"));
  ConversationView bob = Bob();
  auto info = sim::InspectWindow(bob.hwnd);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->class_name, u"IMWindowClass");
  EXPECT_EQ(info->title, u"Bob - Dialog");
  EXPECT_EQ(info->parent, nullptr);
  EXPECT_EQ(info->process_id, messenger.ProcessId());
  EXPECT_TRUE(bob.visible);
  EXPECT_EQ(GetForegroundWindow(), before);
  EXPECT_EQ(bob.voice, VoiceState::kIncomingPending);
  EXPECT_EQ(bob.participants, std::vector<std::string>{"bob@example.com"});
}

TEST_F(StandInTest, TitlesFollowTheLanguage) {
  messenger.AddContact("ann@example.com", "Ann", 2);
  messenger.AddContact("eve@example.com", "Eve", 2);
  messenger.SetLanguage(Language::kGerman);
  messenger.Chat("ann@example.com", "hallo");
  messenger.SetLanguage(Language::kFrench);
  messenger.Chat("eve@example.com", "salut");
  EXPECT_EQ(messenger.ConversationOf("ann@example.com")->title, "Ann - Unterhaltung");
  EXPECT_EQ(messenger.ConversationOf("eve@example.com")->title, "Eve - Conversation");
}

TEST_F(StandInTest, EveryLineWrittenIsReportedWithTheWindowTitle) {
  messenger.IncomingCall("bob@example.com");
  messenger.Chat("bob@example.com", "say \"hi\"");
  EXPECT_EQ(
      transcript.lines,
      (std::vector<std::string>{
          "history \"Bob - Dialog\" \"Bob would like to have a voice conversation with you. Do you want to "
          "Accept (Alt+C) or Decline (Alt+D) the invitation?\"",
          "history \"Bob - Dialog\" \"Bob says: say \\\"hi\\\"\""}));
}

TEST_F(StandInTest, WindowStaysTheSameWindowWhenMinimisedRestoredAndHidden) {
  messenger.Chat("bob@example.com", "hi");
  HWND hwnd = Bob().hwnd;
  ASSERT_TRUE(messenger.MinimizeWindow("bob@example.com"));
  EXPECT_TRUE(Bob().minimized);
  ASSERT_TRUE(messenger.RestoreWindow("bob@example.com"));
  EXPECT_FALSE(Bob().minimized);
  ASSERT_TRUE(messenger.HideWindow("bob@example.com"));
  EXPECT_FALSE(Bob().visible);
  EXPECT_EQ(Bob().hwnd, hwnd);
  EXPECT_TRUE(OpenIcon(hwnd));  // a program may show it again itself
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(messenger.Conversations().size(), 1u);
}

TEST_F(StandInTest, UserClosingAWindowWithoutACallClosesItAtOnce) {
  messenger.IncomingCall("bob@example.com");  // an invitation is no running call
  HWND hwnd = Bob().hwnd;
  ASSERT_TRUE(messenger.UserCloses("bob@example.com"));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(messenger.ConversationOf("bob@example.com").has_value());
  EXPECT_FALSE(messenger.UserCloses("bob@example.com"));
}

TEST_F(StandInTest, JoinAndLeaveChangeTheParticipants) {
  messenger.Chat("bob@example.com", "hi");
  ASSERT_TRUE(messenger.Join("bob@example.com", "ann@example.com"));
  EXPECT_EQ(Bob().participants, (std::vector<std::string>{"bob@example.com", "ann@example.com"}));
  ASSERT_TRUE(messenger.Leave("bob@example.com", "ANN@example.com"));
  EXPECT_EQ(Bob().participants, std::vector<std::string>{"bob@example.com"});
}

TEST_F(StandInTest, SignedOutUserGetsNoCalls) {
  messenger.SignOut();
  EXPECT_FALSE(messenger.IncomingCall("bob@example.com"));
  EXPECT_EQ(messenger.MyStatus(), kStatusOffline);
}

// ---- The contact's side of a call
// ---------------------------------------------------------------------------

TEST_F(StandInTest, RemoteHangupDependsOnTheCallsState) {
  EXPECT_FALSE(messenger.RemoteHangup("bob@example.com"));  // no conversation
  messenger.IncomingCall("bob@example.com");
  EXPECT_FALSE(messenger.RemoteAnswer("bob@example.com"));  // nothing of the user's to answer
  EXPECT_TRUE(messenger.RemoteHangup("bob@example.com"));   // withdraws the invitation
  EXPECT_EQ(Bob().voice, VoiceState::kNone);
  EXPECT_NE(Bob().history.find("Bob has cancelled the invitation"), std::string::npos);
}

// ---- Keyboard shortcuts
// -------------------------------------------------------------------------------------------

class ShortcutTest : public StandInTest {
 protected:
  HWND Incoming() {
    messenger.IncomingCall("bob@example.com");
    return Bob().hwnd;
  }
};

TEST_F(ShortcutTest, AcceptLetterInFrontAcceptsThePendingInvitation) {
  HWND hwnd = Incoming();
  SetForegroundWindow(hwnd);
  PressAlt('C');
  EXPECT_EQ(Bob().voice, VoiceState::kTalking);
  EXPECT_TRUE(transcript.Has("history \"Bob - Dialog\" \"You are now in a voice conversation with Bob.\""));
}

TEST_F(ShortcutTest, DeclineLetterInFrontDeclinesThePendingInvitation) {
  SetForegroundWindow(Incoming());
  PressAlt('D');
  EXPECT_EQ(Bob().voice, VoiceState::kNone);
  EXPECT_TRUE(transcript.Has(
      "history \"Bob - Dialog\" \"You have declined the invitation to a voice conversation.\""));
}

TEST_F(ShortcutTest, ShortcutDoesNothingWhenTheWindowIsNotInFront) {
  Incoming();
  SetForegroundWindow(messenger.MainWindow());
  PressAlt('C');
  EXPECT_EQ(Bob().voice, VoiceState::kIncomingPending);
}

TEST_F(ShortcutTest, ShortcutDoesNothingWithoutAPendingInvitation) {
  messenger.Chat("bob@example.com", "hi");
  SetForegroundWindow(Bob().hwnd);
  PressAlt('C');
  PressAlt('D');
  EXPECT_EQ(Bob().voice, VoiceState::kNone);
  EXPECT_EQ(Bob().history, "Bob says: hi");
}

TEST_F(ShortcutTest, LetterWithoutAltDoesNothing) {
  SetForegroundWindow(Incoming());
  keybd_event('C', 0, 0, 0);
  keybd_event('C', 0, KEYEVENTF_KEYUP, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(Bob().voice, VoiceState::kIncomingPending);
}

TEST_F(ShortcutTest, LetterWithoutAltToTheMinimisedWindowInFrontDoesNothing) {
  HWND hwnd = Incoming();
  ASSERT_TRUE(messenger.MinimizeWindow("bob@example.com"));
  SetForegroundWindow(hwnd);  // active while minimised: every key comes as a system key
  keybd_event('C', 0, 0, 0);
  keybd_event('C', 0, KEYEVENTF_KEYUP, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(Bob().voice, VoiceState::kIncomingPending);
  PressAlt('C');
  EXPECT_EQ(Bob().voice, VoiceState::kTalking);
}

TEST_F(ShortcutTest, ShortcutsAreTheLanguages) {
  messenger.SetLanguage(Language::kGerman);
  SetForegroundWindow(Incoming());
  PressAlt('C');  // the English letter means nothing in German
  EXPECT_EQ(Bob().voice, VoiceState::kIncomingPending);
  PressAlt('N');
  EXPECT_EQ(Bob().voice, VoiceState::kTalking);
  EXPECT_NE(Bob().history.find("Sie führen jetzt ein Sprachgespräch"), std::string::npos);
}

TEST_F(ShortcutTest, FrenchDeclineLetterDeclines) {
  messenger.SetLanguage(Language::kFrench);
  SetForegroundWindow(Incoming());
  PressAlt('R');
  EXPECT_EQ(Bob().voice, VoiceState::kNone);
  EXPECT_NE(Bob().history.find("Vous avez refusé l’invitation"), std::string::npos);
}

}  // namespace
}  // namespace world::messenger
