// The edit control: typed text within the limit and the styles, the selection, and the
// notifications of a change.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialog_test_support.h"
#include "support/inspect.h"

#if PLATFORM_TEST_SIMULATED
#include <sim/controls.h>
#endif

namespace {

using namespace dialog_test;

class EditTest : public ControlTest {
 protected:
  WString Text() { return platform_test::EditText(Item()); }
  void Type(const WString& text) {
    for (WCHAR c : text) Send(WM_CHAR, c, 1);
  }
};

TEST_F(EditTest, ASingleLineEditStartsWithALimitOf30000) {
  OpenWith(kEditAtom, 0);
  EXPECT_EQ(Send(EM_GETLIMITTEXT), 30000);
}

TEST_F(EditTest, LimitZeroMeansTheLargestLimit) {
  OpenWith(kEditAtom, 0);
  Send(EM_LIMITTEXT, 0);
  EXPECT_EQ(static_cast<UINT>(Send(EM_GETLIMITTEXT)), 0x7FFFFFFEu);
}

TEST_F(EditTest, TypingStopsAtTheLimitWithMaxTextButSetTextIsNotCut) {
  OpenWith(kEditAtom, 0);
  Send(EM_LIMITTEXT, 3);
  Type(TEXT("abcd"));
  EXPECT_EQ(Text(), TEXT("abc"));
  auto codes = Codes(WM_COMMAND);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(EN_MAXTEXT)), 1);
  SetWindowTextW(Item(), TEXT("longer than three"));
  EXPECT_EQ(Text(), TEXT("longer than three"));
  // Typing into an edit already over its limit changes nothing.
  Send(EM_SETSEL, 17, 17);
  Type(TEXT("x"));
  EXPECT_EQ(Text(), TEXT("longer than three"));
}

TEST_F(EditTest, TypingReplacesTheSelectionWithinTheLimit) {
  OpenWith(kEditAtom, 0);
  SetWindowTextW(Item(), TEXT("abc"));
  Send(EM_LIMITTEXT, 3);
  Send(EM_SETSEL, 1, 2);
  Type(TEXT("X"));
  EXPECT_EQ(Text(), TEXT("aXc"));
}

TEST_F(EditTest, ANumberEditRefusesOtherCharactersAndKeepsItsText) {
  OpenWith(kEditAtom, ES_NUMBER);
  Type(TEXT("1a2-3"));
  EXPECT_EQ(Text(), TEXT("123"));
}

TEST_F(EditTest, BackspaceDeletesTheCharacterBeforeTheCaretOrTheSelection) {
  OpenWith(kEditAtom, 0);
  Type(TEXT("hello"));
  Type(TEXT("\b"));
  EXPECT_EQ(Text(), TEXT("hell"));
  Send(EM_SETSEL, 0, 2);
  Type(TEXT("\b"));
  EXPECT_EQ(Text(), TEXT("ll"));
  Send(EM_SETSEL, 0, 0);
  Type(TEXT("\b"));
  EXPECT_EQ(Text(), TEXT("ll"));
}

TEST_F(EditTest, TypingSendsUpdateThenChangeToTheParent) {
  OpenWith(kEditAtom, 0);
  script.events.clear();
  Type(TEXT("a"));
  std::vector<UINT> codes = Codes(WM_COMMAND);
  ASSERT_EQ(codes.size(), 2u);
  EXPECT_EQ(codes[0], static_cast<UINT>(EN_UPDATE));
  EXPECT_EQ(codes[1], static_cast<UINT>(EN_CHANGE));
  EXPECT_EQ(script.events[1].id, 100);
  EXPECT_EQ(script.events[1].from, reinterpret_cast<LPARAM>(Item()));
}

TEST_F(EditTest, SelectionMessagesFollowTheDocumentedForms) {
  OpenWith(kEditAtom, 0);
  SetWindowTextW(Item(), TEXT("abcdef"));
  Send(EM_SETSEL, 0, -1);
  DWORD start = 9, end = 9;
  EXPECT_EQ(Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)),
            MAKELONG(0, 6));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 6u);
  Send(EM_SETSEL, 4, 2);  // the caret at 2, the selection 2..4
  EXPECT_EQ(Send(EM_GETSEL), MAKELONG(2, 4));
  Send(EM_SETSEL, static_cast<WPARAM>(-1), 0);  // deselects; the caret stays
  EXPECT_EQ(Send(EM_GETSEL), MAKELONG(2, 2));
  Send(EM_SETSEL, 3, 100);
  EXPECT_EQ(Send(EM_GETSEL), MAKELONG(3, 6));
}

TEST_F(EditTest, ReplaceSelInsertsAtTheSelectionAndMovesTheCaret) {
  OpenWith(kEditAtom, 0);
  SetWindowTextW(Item(), TEXT("hello world"));
  Send(EM_SETSEL, 6, 11);
  Send(EM_REPLACESEL, FALSE, TEXT("there"));
  EXPECT_EQ(Text(), TEXT("hello there"));
  EXPECT_EQ(Send(EM_GETSEL), MAKELONG(11, 11));
  Send(EM_LIMITTEXT, 13);
  Send(EM_REPLACESEL, FALSE, TEXT("!!!!"));
  EXPECT_EQ(Text(), TEXT("hello there!!"));
}

TEST_F(EditTest, CaseStylesChangeTypedLetters) {
  OpenWith(kEditAtom, ES_UPPERCASE);
  Type(TEXT("abé"));
  EXPECT_EQ(Text(), TEXT("ABÉ"));
}

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(EditTest, AReadOnlyEditIgnoresTyping) {
  OpenWith(kEditAtom, 0);
  SetWindowTextW(Item(), TEXT("fixed"));
  Send(EM_SETREADONLY, TRUE);
  Send(EM_SETSEL, 5, 5);
  Type(TEXT("x\b"));
  Send(WM_KEYDOWN, VK_DELETE);
  EXPECT_EQ(Text(), TEXT("fixed"));
  EXPECT_TRUE(sim::InspectEdit(Item())->read_only);
}
#endif

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(EditTest, TheWorldTypesAfterTheTextOrReplacesIt) {
  OpenWith(kEditAtom, 0);
  SetWindowTextW(Item(), TEXT("Bob"));
  ASSERT_TRUE(sim::TypeIntoEdit(Item(), TEXT("by")));
  desktop.RunUntilIdle();
  EXPECT_EQ(Text(), TEXT("Bobby"));
  ASSERT_TRUE(sim::TypeIntoEdit(Item(), TEXT("Al"), true));
  desktop.RunUntilIdle();
  EXPECT_EQ(Text(), TEXT("Al"));
}
#endif

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(EditTest, TheWorldCannotTypeIntoADisabledEdit) {
  OpenWith(kEditAtom, WS_DISABLED);
  EXPECT_FALSE(sim::TypeIntoEdit(Item(), TEXT("x")));
}
#endif

TEST_F(EditTest, GetTextFromAnotherProcessReadsTheTypedText) {
  OpenWith(kEditAtom, 0);
  Type(TEXT("typed"));
  WCHAR buf[16];
  // The world is another process: it reads the window text the window manager keeps.
  EXPECT_EQ(GetWindowTextW(Item(), buf, 16), 5);
  EXPECT_EQ(WString(buf), TEXT("typed"));
}

}  // namespace
