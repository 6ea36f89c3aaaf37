// The combo box as a drop-down list: adding, sorting, searching and selecting items, and the
// notifications of the user's choice.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/controls.h>

#include "dialog_test_support.h"

namespace {

using namespace dialog_test;

class ComboTest : public ControlTest {
 protected:
  void Add(std::initializer_list<const char16_t*> items) {
    for (auto* text : items) Send(CB_ADDSTRING, 0, text);
  }
  std::vector<std::u16string> Items() { return sim::InspectComboBox(Item())->items; }
  LRESULT Find(UINT msg, int start, const char16_t* text) {
    return Send(msg, static_cast<WPARAM>(start), text);
  }
};

TEST_F(ComboTest, SortedComboInsertsInOrderIgnoringCaseAlsoForAccentedLetters) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST | CBS_SORT);
  Add({u"delta", u"Bravo", u"alpha", u"Émile", u"echo", u"Charlie"});
  EXPECT_EQ(Items(),
            (std::vector<std::u16string>{u"alpha", u"Bravo", u"Charlie", u"delta", u"echo", u"Émile"}));
  EXPECT_EQ(Send(CB_ADDSTRING, 0, u"BRAVO"), 2);  // after the equal item
}

TEST_F(ComboTest, AddStringReturnsTheIndexAndKeepsTheSelectedItemSelected) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST | CBS_SORT);
  Add({u"b", u"d"});
  Send(CB_SETCURSEL, 1);
  EXPECT_EQ(Send(CB_ADDSTRING, 0, u"a"), 0);
  EXPECT_EQ(Send(CB_GETCURSEL), 2);
  EXPECT_EQ(sim::InspectComboBox(Item())->text, u"d");
}

TEST_F(ComboTest, InsertStringNeverSortsAndRefusesPositionsPastTheEnd) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST | CBS_SORT);
  Add({u"b"});
  EXPECT_EQ(Send(CB_INSERTSTRING, static_cast<WPARAM>(-1), u"z"), 1);
  EXPECT_EQ(Send(CB_INSERTSTRING, 0, u"y"), 0);
  EXPECT_EQ(Send(CB_INSERTSTRING, 5, u"x"), CB_ERR);
  EXPECT_EQ(Items(), (std::vector<std::u16string>{u"y", u"b", u"z"}));
}

TEST_F(ComboTest, UnsortedComboAppends) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"b", u"a"});
  EXPECT_EQ(Items(), (std::vector<std::u16string>{u"b", u"a"}));
  EXPECT_EQ(Send(CB_GETCOUNT), 2);
}

TEST_F(ComboTest, FindStringMatchesAPrefixIgnoringCaseAfterTheStartAndWraps) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"Speaker", u"microphone", u"Speed dial", u"Éclair"});
  EXPECT_EQ(Find(CB_FINDSTRING, -1, u"spe"), 0);
  EXPECT_EQ(Find(CB_FINDSTRING, 0, u"SPE"), 2);
  EXPECT_EQ(Find(CB_FINDSTRING, 2, u"spe"), 0);  // wraps around
  EXPECT_EQ(Find(CB_FINDSTRING, -1, u"éCL"), 3);
  EXPECT_EQ(Find(CB_FINDSTRING, -1, u"x"), CB_ERR);
  EXPECT_EQ(Find(CB_FINDSTRING, 0, u""), 1);  // an empty prefix matches the next item
  EXPECT_EQ(Send(CB_FINDSTRING, static_cast<WPARAM>(-1), 0), CB_ERR);
}

TEST_F(ComboTest, FindStringExactNeedsTheWholeText) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"Speaker", u"speaker phone"});
  EXPECT_EQ(Find(CB_FINDSTRINGEXACT, -1, u"SPEAKER"), 0);
  EXPECT_EQ(Find(CB_FINDSTRINGEXACT, 0, u"speaker"), 0);  // wraps back to the start
  EXPECT_EQ(Find(CB_FINDSTRINGEXACT, -1, u"speak"), CB_ERR);
}

TEST_F(ComboTest, SelectStringSelectsTheMatchOrLeavesTheSelection) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"English", u"French", u"German"});
  EXPECT_EQ(Find(CB_SELECTSTRING, -1, u"fr"), 1);
  EXPECT_EQ(Send(CB_GETCURSEL), 1);
  EXPECT_EQ(Find(CB_SELECTSTRING, -1, u"Dutch"), CB_ERR);
  EXPECT_EQ(Send(CB_GETCURSEL), 1);
}

TEST_F(ComboTest, SetCurSelClearsForMinusOneAndForAnIndexOutOfRange) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"a", u"b"});
  EXPECT_EQ(Send(CB_SETCURSEL, 1), 1);
  EXPECT_EQ(Send(CB_SETCURSEL, static_cast<WPARAM>(-1)), CB_ERR);
  EXPECT_EQ(Send(CB_GETCURSEL), CB_ERR);
  Send(CB_SETCURSEL, 0);
  EXPECT_EQ(Send(CB_SETCURSEL, 7), CB_ERR);
  EXPECT_EQ(Send(CB_GETCURSEL), CB_ERR);
  EXPECT_EQ(sim::InspectComboBox(Item())->text, u"");
  auto codes = Codes(WM_COMMAND);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(CBN_SELCHANGE)), 0);
}

TEST_F(ComboTest, ItemTextIsCopiedWholeAndBadIndexesFail) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"Ringtone"});
  EXPECT_EQ(Send(CB_GETLBTEXTLEN, 0), 8);
  WCHAR buf[9];
  EXPECT_EQ(Send(CB_GETLBTEXT, 0, buf), 8);
  EXPECT_EQ(std::u16string(buf), u"Ringtone");
  EXPECT_EQ(Send(CB_GETLBTEXT, 1, buf), CB_ERR);
  EXPECT_EQ(Send(CB_GETLBTEXTLEN, 1), CB_ERR);
  EXPECT_EQ(Send(CB_GETLBTEXT, 0, 0), CB_ERR);
}

TEST_F(ComboTest, DeletingItemsKeepsTheSelectionOnItsItem) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"a", u"b", u"c"});
  Send(CB_SETCURSEL, 2);
  EXPECT_EQ(Send(CB_DELETESTRING, 0), 2);
  EXPECT_EQ(Send(CB_GETCURSEL), 1);
  EXPECT_EQ(Send(CB_DELETESTRING, 1), 1);
  EXPECT_EQ(Send(CB_GETCURSEL), CB_ERR);
  EXPECT_EQ(Send(CB_DELETESTRING, 5), CB_ERR);
  EXPECT_EQ(Send(CB_RESETCONTENT), CB_OKAY);
  EXPECT_EQ(Send(CB_GETCOUNT), 0);
}

TEST_F(ComboTest, ItemDataIsKeptPerItem) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"a", u"b"});
  EXPECT_EQ(Send(CB_SETITEMDATA, 1, 1234), TRUE);
  EXPECT_EQ(Send(CB_GETITEMDATA, 1), 1234);
  EXPECT_EQ(Send(CB_GETITEMDATA, 0), 0);
  EXPECT_EQ(Send(CB_GETITEMDATA, 2), CB_ERR);
  EXPECT_EQ(Send(CB_SETITEMDATA, 2, 1), CB_ERR);
}

TEST_F(ComboTest, WindowTextIsTheSelectedItemAndCannotBeSetOnADropDownList) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"one", u"two"});
  Send(CB_SETCURSEL, 1);
  WCHAR buf[8];
  EXPECT_EQ(Send(WM_GETTEXT, 8, buf), 3);
  EXPECT_EQ(std::u16string(buf), u"two");
  EXPECT_EQ(Send(WM_SETTEXT, 0, u"three"), CB_ERR);
  EXPECT_EQ(Send(WM_GETTEXTLENGTH), 3);
}

TEST_F(ComboTest, TheUsersChoiceSendsSelEndOkAndThenSelChange) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"English", u"Deutsch"});
  script.events.clear();
  ASSERT_TRUE(sim::ChooseComboBoxItem(Item(), u"Deutsch"));
  desktop.RunUntilIdle();
  EXPECT_EQ(Send(CB_GETCURSEL), 1);
  std::vector<UINT> codes = Codes(WM_COMMAND);
  auto at = [&](UINT code) { return std::find(codes.begin(), codes.end(), code) - codes.begin(); };
  ASSERT_NE(at(CBN_SELCHANGE), static_cast<long>(codes.size()));
  EXPECT_LT(at(CBN_DROPDOWN), at(CBN_SELENDOK));
  EXPECT_LT(at(CBN_SELENDOK), at(CBN_SELCHANGE));
  EXPECT_FALSE(sim::InspectComboBox(Item())->dropped);
  EXPECT_FALSE(sim::ChooseComboBoxItem(Item(), u"Français"));
  EXPECT_FALSE(sim::ChooseComboBoxItem(Item(), 2));
}

TEST_F(ComboTest, ArrowKeysMoveTheSelectionWithSelChange) {
  OpenWith(kComboAtom, CBS_DROPDOWNLIST);
  Add({u"a", u"b"});
  script.events.clear();
  PressKey(VK_DOWN);  // the combo box has the focus: it is the dialog's first tab stop
  EXPECT_EQ(Send(CB_GETCURSEL), 0);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  EXPECT_EQ(Send(CB_GETCURSEL), 1);
  auto codes = Codes(WM_COMMAND);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(CBN_SELCHANGE)), 2);
}

}  // namespace
