// Closing a conversation window with a running call: Messenger's confirmation dialog, its
// layout, and what each of its buttons does when clicked as a program clicks it (posted mouse
// messages); and the world's other dialogs beside it.
#include <sim/dialogs.h>

#include "client_fixture.h"

namespace world::messenger {
namespace {

std::u16string ClassOf(HWND h) { return sim::InspectWindow(h)->class_name; }

void PostClick(HWND button) {
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

class ConfirmationTest : public AutomationTest {
 protected:
  ComPtr<IMessengerConversationWnd> window;
  HWND hwnd = nullptr;

  void SetUp() override {
    AutomationTest::SetUp();
    Advise();
    window = OpenWith(u"bob@example.com", true);
    messenger.RemoteAnswer("bob@example.com");
    hwnd = Bob().hwnd;
    ASSERT_EQ(Bob().voice, VoiceState::kTalking);
  }
  void TearDown() override {
    window.Reset();
    AutomationTest::TearDown();
  }
  HWND Confirmation() {
    for (const DialogView& d : messenger.Dialogs())
      if (d.confirmation) return d.hwnd;
    return nullptr;
  }
  HWND AskToClose() {
    EXPECT_EQ(On([&] { return window->Close(); }), S_OK);
    return Confirmation();
  }
  bool Closed() const {
    for (const auto& e : sink->events)
      if (e.id == DISPID_MUAE_ONIMWINDOWDESTROYED) return true;
    return false;
  }
};

TEST_F(ConfirmationTest, CloseWithARunningCallAsksAndReturnsAtOnce) {
  HWND dialog = AskToClose();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(Bob().voice, VoiceState::kTalking);
  EXPECT_TRUE(transcript.Has("messenger Close(\"Bob - Dialog\")"));
}

TEST_F(ConfirmationTest, DialogHasTwoButtonsThenTheQuestion) {
  HWND dialog = AskToClose();
  auto info = sim::InspectWindow(dialog);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->class_name, u"#32770");
  EXPECT_EQ(info->title, u"Windows Live Messenger");
  EXPECT_EQ(info->parent, nullptr);
  EXPECT_TRUE(info->owner == nullptr || info->owner == hwnd);
  EXPECT_TRUE(info->visible);
  std::vector<HWND> children = sim::ChildWindows(dialog);
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(ClassOf(children[0]), u"Button");
  EXPECT_EQ(ClassOf(children[1]), u"Button");
  EXPECT_EQ(ClassOf(children[2]), u"Static");
  EXPECT_EQ(FindWindowW(u"#32770", u"Windows Live Messenger"), dialog);
}

TEST_F(ConfirmationTest, FirstButtonEndsTheCallAndClosesDialogAndWindow) {
  HWND dialog = AskToClose();
  PostClick(sim::ChildWindows(dialog)[0]);
  desktop.RunUntilIdle();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_TRUE(messenger.Dialogs().empty());
  EXPECT_TRUE(transcript.Has("history \"Bob - Dialog\" \"The voice conversation has ended.\""));
  EXPECT_TRUE(Closed());
}

TEST_F(ConfirmationTest, SecondButtonClosesOnlyTheDialog) {
  HWND dialog = AskToClose();
  PostClick(sim::ChildWindows(dialog)[1]);
  desktop.RunUntilIdle();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(Bob().voice, VoiceState::kTalking);
  EXPECT_FALSE(Closed());
}

TEST_F(ConfirmationTest, WithoutAClickBothStay) {
  HWND dialog = AskToClose();
  desktop.AdvanceBy(60000);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(Bob().voice, VoiceState::kTalking);
  // Asking again brings the same dialog forward rather than a second one.
  EXPECT_EQ(AskToClose(), dialog);
  EXPECT_EQ(messenger.Dialogs().size(), 1u);
}

TEST_F(ConfirmationTest, UserClosingTheWindowAsksToo) {
  ASSERT_TRUE(messenger.UserCloses("bob@example.com"));
  HWND dialog = Confirmation();
  ASSERT_NE(dialog, nullptr);
  PostClick(sim::ChildWindows(dialog)[0]);
  desktop.RunUntilIdle();
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(ConfirmationTest, OtherDialogHasTheLayoutAskedForAndIsNotTheConfirmation) {
  HWND other = messenger.ShowOtherDialog("Windows Live Messenger", {"Static", "Button"});
  ASSERT_NE(other, nullptr);
  std::vector<HWND> children = sim::ChildWindows(other);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(ClassOf(children[0]), u"Static");
  EXPECT_EQ(ClassOf(children[1]), u"Button");
  HWND dialog = AskToClose();
  ASSERT_NE(dialog, other);
  // Clicking the other dialog's button closes it and leaves the call alone.
  PostClick(children[1]);
  desktop.RunUntilIdle();
  EXPECT_FALSE(IsWindow(other));
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(Bob().voice, VoiceState::kTalking);
}

TEST_F(ConfirmationTest, ContactHangingUpMeanwhileStillLetsTheFirstButtonClose) {
  HWND dialog = AskToClose();
  messenger.RemoteHangup("bob@example.com");
  PostClick(sim::ChildWindows(dialog)[0]);
  desktop.RunUntilIdle();
  EXPECT_FALSE(IsWindow(hwnd));
  // The call ended once, not twice.
  size_t ended = 0;
  for (const auto& l : transcript.lines)
    ended += l.find("The voice conversation has ended.") != std::string::npos;
  EXPECT_EQ(ended, 1u);
}

TEST_F(ConfirmationTest, QuestionIsInMessengersLanguage) {
  messenger.SetLanguage(Language::kGerman);
  HWND dialog = AskToClose();
  auto info = sim::InspectDialog(dialog);
  ASSERT_TRUE(info.has_value());
  ASSERT_EQ(info->static_texts.size(), 1u);
  EXPECT_NE(info->static_texts[0].find(u"Sprachgespräch"), std::u16string::npos);
}

}  // namespace
}  // namespace world::messenger
