// The user's mouse on a report-view list: clicks select and mark the row before the parent
// hears NM_CLICK, NM_DBLCLK or NM_RCLICK with the row; a click below the rows clears the
// selection; rows out of view are scrolled in.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/controls.h>

#include "dialog_test_support.h"

namespace {

using namespace dialog_test;

class ListViewMouseTest : public ControlTest {
 protected:
  // A list 100 dialog units high: (162 - 24) / 17 = 8 rows fit.
  void OpenList(int rows, DWORD style = LVS_REPORT | LVS_SINGLESEL) {
    OpenWith(WC_LISTVIEWW, style);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<LPWSTR>(u"Contact");
    col.cx = 150;
    Send(LVM_INSERTCOLUMNW, 0, &col);
    for (int i = 0; i < rows; ++i) {
      std::u16string text = u"row " + std::u16string(1, static_cast<char16_t>(u'A' + i));
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = text.data();
      Send(LVM_INSERTITEMW, 0, &item);
    }
    script.events.clear();
  }
  sim::ListViewInfo Info() { return *sim::InspectListView(Item()); }
  // The notifications of WM_NOTIFY, as "code:item".
  std::vector<std::pair<UINT, int>> Notes() {
    std::vector<std::pair<UINT, int>> out;
    for (auto& e : script.events)
      if (e.msg == WM_NOTIFY && e.code != NM_SETFOCUS && e.code != NM_KILLFOCUS && e.code != LVN_ITEMCHANGING)
        out.emplace_back(e.code, e.item);
    return out;
  }
};

TEST_F(ListViewMouseTest, AClickSelectsFocusesAndMarksTheRowBeforeNmClick) {
  OpenList(3);
  ASSERT_TRUE(sim::ClickListViewRow(Item(), 1));
  desktop.RunUntilIdle();
  auto info = Info();
  EXPECT_TRUE(info.rows[1].selected);
  EXPECT_TRUE(info.rows[1].focused);
  EXPECT_EQ(info.selection_mark, 1);
  auto notes = Notes();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0], std::make_pair(static_cast<UINT>(LVN_ITEMCHANGED), 1));
  EXPECT_EQ(notes[1], std::make_pair(static_cast<UINT>(NM_CLICK), 1));
  auto changed = std::find_if(script.events.begin(), script.events.end(),
                              [](auto& e) { return e.msg == WM_NOTIFY && e.code == LVN_ITEMCHANGED; });
  EXPECT_EQ(changed->new_state, static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
}

TEST_F(ListViewMouseTest, ClickingAnotherRowMovesTheSelection) {
  OpenList(3);
  sim::ClickListViewRow(Item(), 0);
  sim::ClickListViewRow(Item(), 2);
  desktop.RunUntilIdle();
  auto info = Info();
  EXPECT_FALSE(info.rows[0].selected);
  EXPECT_FALSE(info.rows[0].focused);
  EXPECT_TRUE(info.rows[2].selected);
  EXPECT_EQ(info.selection_mark, 2);
}

TEST_F(ListViewMouseTest, AClickBelowTheLastRowClearsTheSelectionAndReportsNoItem) {
  OpenList(3);
  sim::ClickListViewRow(Item(), 1);
  desktop.RunUntilIdle();
  script.events.clear();
  ASSERT_TRUE(sim::ClickListViewRow(Item(), -1));
  desktop.RunUntilIdle();
  auto info = Info();
  EXPECT_FALSE(info.rows[1].selected);
  EXPECT_EQ(info.selection_mark, 1);  // the mark stays
  auto notes = Notes();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.back(), std::make_pair(static_cast<UINT>(NM_CLICK), -1));
}

TEST_F(ListViewMouseTest, ThereIsNoSpaceBelowTheRowsOfAFullList) {
  OpenList(20);
  EXPECT_FALSE(sim::ClickListViewRow(Item(), -1));
}

TEST_F(ListViewMouseTest, ADoubleClickSendsNmDblClkWithTheRow) {
  OpenList(3);
  ASSERT_TRUE(sim::DoubleClickListViewRow(Item(), 2));
  desktop.RunUntilIdle();
  auto notes = Notes();
  auto count = [&](UINT code) {
    return std::count_if(notes.begin(), notes.end(),
                         [&](auto& n) { return n.first == code && n.second == 2; });
  };
  EXPECT_EQ(count(NM_CLICK), 1);
  EXPECT_EQ(count(NM_DBLCLK), 1);
  EXPECT_EQ(count(LVN_ITEMACTIVATE), 1);
  EXPECT_TRUE(Info().rows[2].selected);
}

TEST_F(ListViewMouseTest, ARightClickSelectsTheRowAndSendsNmRClick) {
  OpenList(3);
  ASSERT_TRUE(sim::RightClickListViewRow(Item(), 0));
  desktop.RunUntilIdle();
  EXPECT_TRUE(Info().rows[0].selected);
  EXPECT_EQ(Info().selection_mark, 0);
  EXPECT_EQ(Notes().back(), std::make_pair(static_cast<UINT>(NM_RCLICK), 0));
}

TEST_F(ListViewMouseTest, ARightClickOnASelectedRowKeepsAMultipleSelection) {
  OpenList(3, LVS_REPORT);
  LVITEMW lv{};
  lv.state = lv.stateMask = LVIS_SELECTED;
  Send(LVM_SETITEMSTATE, 0, &lv);
  Send(LVM_SETITEMSTATE, 1, &lv);
  sim::RightClickListViewRow(Item(), 1);
  desktop.RunUntilIdle();
  auto info = Info();
  EXPECT_TRUE(info.rows[0].selected);
  EXPECT_TRUE(info.rows[1].selected);
  EXPECT_TRUE(info.rows[1].focused);
}

TEST_F(ListViewMouseTest, ARowOutOfViewIsScrolledInBeforeTheClick) {
  OpenList(20);
  EXPECT_EQ(Send(LVM_GETCOUNTPERPAGE), 8);
  ASSERT_TRUE(sim::ClickListViewRow(Item(), 15));
  desktop.RunUntilIdle();
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 8);
  EXPECT_TRUE(Info().rows[15].selected);
  EXPECT_EQ(Notes().back(), std::make_pair(static_cast<UINT>(NM_CLICK), 15));
}

TEST_F(ListViewMouseTest, EnsureVisibleScrollsJustEnough) {
  OpenList(20);
  EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 10, FALSE));
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 3);
  EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 5, FALSE));
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 3);
  EXPECT_TRUE(Send(LVM_ENSUREVISIBLE, 1, FALSE));
  EXPECT_EQ(Send(LVM_GETTOPINDEX), 1);
  EXPECT_FALSE(Send(LVM_ENSUREVISIBLE, 20, FALSE));
}

TEST_F(ListViewMouseTest, ArrowKeysMoveTheSelectionAndTheMark) {
  OpenList(3);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  auto info = Info();
  EXPECT_TRUE(info.rows[1].selected);
  EXPECT_EQ(info.selection_mark, 1);
}

TEST_F(ListViewMouseTest, TheWorldCannotClickADisabledList) {
  OpenList(3);
  EnableWindow(Item(), FALSE);
  EXPECT_FALSE(sim::ClickListViewRow(Item(), 0));
}

TEST_F(ListViewMouseTest, HitTestFindsTheRowUnderAPoint) {
  OpenList(3);
  LVHITTESTINFO hit{};
  hit.pt = POINT{5, 24 + 17 + 3};
  EXPECT_EQ(Send(LVM_HITTEST, 0, &hit), 1);
  EXPECT_EQ(hit.iItem, 1);
  hit.pt = POINT{5, 24 + 17 * 5};
  EXPECT_EQ(Send(LVM_HITTEST, 0, &hit), -1);
  EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_NOWHERE));
}

}  // namespace
