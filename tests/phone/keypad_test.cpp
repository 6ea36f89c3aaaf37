// The handset's keypad in the ready state: speed-dial numbers that select a contact, the
// previous and next keys, delete, and the call and hash keys that call the selected contact or
// step the ring style.
#include "handset_fixture.h"

namespace {

class KeypadTest : public HandsetFixture {
 protected:
  // Rows: 0 Ann (speed dial 123), 1 Bob (12), 2 Cy (none), 3 the separator.
  void StartWithSpeedDials() {
    Run("ini Custom.ini SpeedDialNumber bob@example.com \"12\"");
    Run("ini Custom.ini SpeedDialNumber ann@example.com \"123\"");
    StartWorld("0200", {"bob@example.com", "ann@example.com", "cy@example.com"});
    ASSERT_EQ(ContactNames(), "Ann|Bob|Cy| ");
  }
  std::string ContactNames() {
    std::string all;
    auto view = sim::InspectListView(world.TellbudContactList().value_or(nullptr));
    if (!view) return all;
    for (const auto& row : view->rows)
      all += (all.empty() ? "" : "|") + (row.texts.empty() ? std::string() : world::Utf8(row.texts[0]));
    return all;
  }
  std::string DialString() { return world::Utf8(Dialog()->m_strDial.GetString()); }
};

TEST_F(KeypadTest, DigitsSelectOnlyTheRowWhoseSpeedDialIsExactlyTheDialString) {
  StartWithSpeedDials();
  Run("handset dial 1");
  EXPECT_PRINTED("handset ShowDialString(\"1\")");
  EXPECT_EQ(SelectionMark(), -1);
  Run("handset dial 2");
  EXPECT_PRINTED("handset ShowDialString(\"12\")");
  EXPECT_EQ(SelectionMark(), 1) << "12 selects Bob, not Ann's 123";
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  Run("handset dial 3");
  EXPECT_EQ(SelectionMark(), 0);
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  Run("handset dial 4");
  EXPECT_EQ(SelectionMark(), -1) << "no row holds 1234: the selection is cleared";
  EXPECT_TRUE(SelectedRows().empty());
  EXPECT_EQ(DialString(), "1234");
  EXPECT_EQ(Handset().display, "1234");
}

TEST_F(KeypadTest, AtMostFourCharactersOfTheSpeedDialColumnTakePart) {
  StartWithSpeedDials();
  Dialog()->m_list.SetItemText(2, 1, TEXT("12345"));
  Run("handset dial 1234");
  EXPECT_EQ(SelectionMark(), 2) << "the column is read as 1234";
  Run("handset dial 5");
  EXPECT_EQ(SelectionMark(), -1) << "a dial string of five characters never selects a row";
}

TEST_F(KeypadTest, TheSpeedDialColumnMustMatchCharacterForCharacter) {
  StartWithSpeedDials();
  Dialog()->m_list.SetItemText(1, 1, TEXT("1\u00AD2"));  // a soft hyphen between the digits
  Run("handset dial 12");
  EXPECT_EQ(SelectionMark(), -1);
}

TEST_F(KeypadTest, HashCallsTheSelectedContact) {
  StartWithSpeedDials();
  Run("handset dial 12#");
  EXPECT_PRINTED("messenger StartVoice(\"bob@example.com\")");
  EXPECT_PRINTED("handset ShowTalking(\"bob@example.com\")");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  EXPECT_EQ(DialString(), "");
  ASSERT_FALSE(Dialog()->m_pCurConversation.IsEmpty());
  EXPECT_EQ(static_cast<size_t>(Dialog()->m_nHistoryLen), Conversation()->history.size());
  // Bob answers: the scan follows the conversation like any other call.
  Run("answer bob@example.com");
  Run("wait 2s");
  EXPECT_PRINTED("handset ShowTalking(\"bob@example.com\")");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  Run("handset key end");
  Run("wait 1s");
  EXPECT_PRINTED("click \"Windows Live Messenger\" 1");
  EXPECT_FALSE(Conversation().has_value());
}

TEST_F(KeypadTest, TheCallKeysFirstPressOnlyRaisesTheMainWindow) {
  StartWithSpeedDials();
  Run("handset dial 12");
  Run("window close");
  ASSERT_FALSE(MainWindowVisible());
  Forget();
  Run("handset key call");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
  EXPECT_FALSE(PrintedSinceMark("StartVoice"));
  EXPECT_EQ(DialString(), "12");
  Run("handset key call");
  EXPECT_PRINTED("messenger StartVoice(\"bob@example.com\")");
  EXPECT_PRINTED("handset ShowTalking(\"bob@example.com\")");
  EXPECT_EQ(DialString(), "") << "nothing is sent to the handset for the emptied dial string";
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
}

TEST_F(KeypadTest, TheCallKeyOnARowWithoutSignInNameOnlyEmptiesTheDialString) {
  StartWithSpeedDials();
  Run("handset key prev");  // the separator row, last
  ASSERT_EQ(SelectionMark(), 3);
  Run("handset dial 9");
  Run("handset key call");
  EXPECT_FALSE(PrintedSinceMark("StartVoice"));
  EXPECT_EQ(DialString(), "");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
}

TEST_F(KeypadTest, HashWithoutAMarkedRowChangesNothingNotEvenTheDialString) {
  StartWithSpeedDials();
  Run("handset dial 9#");
  EXPECT_FALSE(PrintedSinceMark("StartVoice"));
  EXPECT_EQ(DialString(), "9");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
}

TEST_F(KeypadTest, HashOnAnEmptyDialStringStepsTheRingStyleWhenTheMainWindowIsNotInFront) {
  Run("ini Tellbud.ini OPTION RingType \"9\"");
  StartWithSpeedDials();
  EXPECT_EQ(Dialog()->m_nRingType, 9);
  Run("window close");
  std::string before = ReadFile("Tellbud.ini");
  Forget();
  Run("handset key #");
  EXPECT_PRINTED("handset SetRing(TRUE, 0)");
  EXPECT_EQ(Dialog()->m_nRingType, 0);
  EXPECT_TRUE(Handset().ringing) << "the handset sounds the new style";
  std::string expected = before;
  expected.replace(expected.find("RingType=9"), 10, "RingType=0");
  EXPECT_EQ(ReadFile("Tellbud.ini"), expected) << "only the RingType line changes";
  EXPECT_FALSE(MainWindowVisible());
  Run("handset key #");
  EXPECT_PRINTED("handset SetRing(TRUE, 1)");
}

TEST_F(KeypadTest, HashWithTheMainWindowInFrontDoesNotStepTheRingStyle) {
  StartWithSpeedDials();
  Run("tray dblclick");
  ASSERT_EQ(GetForegroundWindow(), MainWindow());
  Forget();
  Run("handset key #");
  EXPECT_FALSE(PrintedSinceMark("SetRing"));
  EXPECT_EQ(Dialog()->m_nRingType, 0);
}

TEST_F(KeypadTest, PreviousAndNextWrapAroundTheList) {
  StartWithSpeedDials();
  Run("window close");
  Run("handset key next");
  EXPECT_EQ(SelectionMark(), 0) << "next without a mark goes to the first row";
  EXPECT_TRUE(MainWindowVisible()) << "the main window comes forward";
  Run("handset key prev");
  EXPECT_EQ(SelectionMark(), 3) << "previous from the first row goes to the last";
  Run("handset key next");
  EXPECT_EQ(SelectionMark(), 0) << "next from the last row goes to the first";
  Run("handset key 132 132 131");
  EXPECT_EQ(SelectionMark(), 1);
  EXPECT_EQ(SelectedRows(), std::vector<int>{1});
  Run("handset dial 9");  // clears the mark
  Run("handset key prev");
  EXPECT_EQ(SelectionMark(), 3) << "previous without a mark goes to the last row";
}

TEST_F(KeypadTest, NavigationOnAnEmptyListSelectsNothingWhateverTheMarkHolds) {
  StartWithSpeedDials();
  Dialog()->m_list.DeleteAllItems();
  Dialog()->m_list.SetSelectionMark(2);
  Run("handset key prev next 131 132");
  EXPECT_TRUE(SelectedRows().empty());
  EXPECT_EQ(world.RunningTellbuds().size(), 1u);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
}

TEST_F(KeypadTest, DeleteEditsTheDialString) {
  StartWithSpeedDials();
  Run("handset dial 123");
  Run("window close");
  Forget();
  Run("handset key del");
  EXPECT_PRINTED("handset ShowDialString(\"12\")");
  EXPECT_EQ(SelectionMark(), 1);
  Run("handset key del");
  EXPECT_EQ(SelectionMark(), -1);
  Forget();
  Run("handset key del");
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_FALSE(PrintedSinceMark("ShowDialString"));
  EXPECT_EQ(SelectionMark(), 2) << "the empty dial string selects the first row without speed dial";
  EXPECT_FALSE(MainWindowVisible()) << "delete does not raise the main window";
  Forget();
  Run("handset key del");
  EXPECT_EQ(LinesSinceMark(), std::vector<std::string>{"handset AcknowledgeKey(1)"});
}

TEST_F(KeypadTest, StarIsAppendedWithoutSelectingAContact) {
  StartWithSpeedDials();
  Run("handset dial 12*");
  EXPECT_PRINTED("handset ShowDialString(\"12*\")");
  EXPECT_EQ(SelectionMark(), 1) << "the star selects nothing new";
}

TEST_F(KeypadTest, OtherKeysOnlyRaiseTheMainWindow) {
  StartWithSpeedDials();
  Run("handset dial 12");
  Run("window close");
  Run("handset key 137");
  EXPECT_TRUE(MainWindowVisible());
  EXPECT_EQ(GetForegroundWindow(), MainWindow());
  EXPECT_EQ(DialString(), "12");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
}

TEST_F(KeypadTest, WithoutAMessengerConnectionNoKeyActs) {
  StartWithSpeedDials();
  Run("messenger signout");
  ASSERT_FALSE(Dialog()->m_bMSNConnected);
  Forget();
  Run("handset key 1 2 # prev call speaker");
  for (const std::string& line : LinesSinceMark()) EXPECT_EQ(line, "handset AcknowledgeKey(1)");
  EXPECT_EQ(DialString(), "");
}

TEST_F(KeypadTest, AFailedStartVoiceEndsTheKeysHandlingAndKeepsTheDialString) {
  StartWithSpeedDials();
  Run("messenger fail StartVoice E_FAIL 1");
  Run("handset dial 12#");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
  EXPECT_EQ(DialString(), "12") << "the dial string is emptied only after the call";
  ASSERT_EQ(world.RunningTellbuds().size(), 1u);
  Run("handset key #");
  EXPECT_PRINTED("messenger StartVoice(\"bob@example.com\")");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_TALKING);
}

TEST_F(KeypadTest, CallingAContactWhoseConversationIsWatchedMovesItToTheFront) {
  StartWithSpeedDials();
  Run("chat bob@example.com \"hi\"");
  Run("chat ann@example.com \"hello\"");
  Run("wait 2s");
  ASSERT_EQ(Dialog()->m_lstConversations.size(), 2u);
  Run("handset dial 12#");
  ASSERT_EQ(Dialog()->m_nCallState, CALL_TALKING);
  ASSERT_EQ(Dialog()->m_lstConversations.size(), 2u) << "nothing is added";
  const CWatchedConversation& front = Dialog()->m_lstConversations.front();
  LONG handle = 0;
  ASSERT_TRUE(SUCCEEDED(front.m_pWindow.Get()->get_HWND(&handle)));
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)), Conversation()->hwnd);
  EXPECT_EQ(front.m_nScanned, static_cast<DWORD>(Dialog()->m_nHistoryLen));
  EXPECT_EQ(static_cast<size_t>(Dialog()->m_nHistoryLen), Conversation()->history.size());
}

}  // namespace
