// The list view in report view: columns, items and subitems, searching, item states with their
// notifications, and the selection mark through insertions and deletions.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialog_test_support.h"
#include "support/inspect.h"

#if PLATFORM_TEST_SIMULATED
#include <sim/controls.h>
#endif

namespace {

using namespace dialog_test;

class ListViewTest : public ControlTest {
 protected:
  void OpenList(DWORD style = LVS_REPORT | LVS_SINGLESEL) { OpenWith(WC_LISTVIEWW, style); }

  int Insert(int index, const WCHAR* text, int image = 0) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text);
    item.iImage = image;
    return static_cast<int>(Send(LVM_INSERTITEMW, 0, &item));
  }
  void Fill(std::initializer_list<const WCHAR*> texts) {
    for (auto* t : texts) Insert(1000, t);
  }
  int AddColumn(int index, const WCHAR* title, int width) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<LPWSTR>(title);
    col.cx = width;
    return static_cast<int>(Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), &col));
  }
  BOOL SetState(int item, UINT state, UINT mask) {
    LVITEMW lv{};
    lv.state = state;
    lv.stateMask = mask;
    return static_cast<BOOL>(Send(LVM_SETITEMSTATE, static_cast<WPARAM>(item), &lv));
  }
  UINT State(int item) {
    return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(item), 0xFFFF));
  }
  int Mark() { return static_cast<int>(Send(LVM_GETSELECTIONMARK)); }
  int FindText(int start, UINT flags, const WCHAR* text) {
    LVFINDINFOW find{};
    find.flags = flags;
    find.psz = text;
    return static_cast<int>(Send(LVM_FINDITEMW, static_cast<WPARAM>(start), &find));
  }
  std::vector<WString> Texts() { return platform_test::ListViewFirstColumn(Item()); }
  std::vector<ControlEvent> Notes(UINT code) {
    std::vector<ControlEvent> out;
    for (auto& e : script.events)
      if (e.msg == WM_NOTIFY && e.code == code) out.push_back(e);
    return out;
  }
};

TEST_F(ListViewTest, InsertPositionIsClampedToTheCountAndTheIndexReturned) {
  OpenList();
  EXPECT_EQ(Insert(5, TEXT("first")), 0);
  EXPECT_EQ(Insert(0, TEXT("zero")), 0);
  EXPECT_EQ(Insert(99, TEXT("last")), 2);
  EXPECT_EQ(Send(LVM_GETITEMCOUNT), 3);
  EXPECT_EQ(Texts(), (std::vector<WString>{TEXT("zero"), TEXT("first"), TEXT("last")}));
  EXPECT_EQ(Insert(-1, TEXT("bad")), -1);
}

#if PLATFORM_TEST_SIMULATED  // the list view's inner state
TEST_F(ListViewTest, ColumnsKeepTitleWidthAndOrder) {
  OpenList();
  EXPECT_EQ(AddColumn(0, TEXT("Name"), 120), 0);
  EXPECT_EQ(AddColumn(5, TEXT("Status"), 80), 1);
  WCHAR title[4];
  LVCOLUMNW col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.pszText = title;
  col.cchTextMax = 4;
  EXPECT_TRUE(Send(LVM_GETCOLUMNW, 1, &col));
  EXPECT_EQ(WString(title), TEXT("Sta"));
  EXPECT_EQ(col.cx, 80);
  EXPECT_EQ(col.iSubItem, 1);
  EXPECT_FALSE(Send(LVM_GETCOLUMNW, 2, &col));
  EXPECT_TRUE(Send(LVM_DELETECOLUMN, 0));
  auto info = sim::InspectListView(Item());
  ASSERT_EQ(info->columns.size(), 1u);
  EXPECT_EQ(info->columns[0].title, TEXT("Status"));
}
#endif

#if PLATFORM_TEST_SIMULATED  // the list view's inner state
TEST_F(ListViewTest, SubitemTextIsSetAndCopiedWithinCchTextMax) {
  OpenList();
  AddColumn(0, TEXT("Name"), 100);
  AddColumn(1, TEXT("Number"), 100);
  Insert(0, TEXT("Alice"));
  LVITEMW lv{};
  lv.iSubItem = 1;
  lv.pszText = const_cast<LPWSTR>(TEXT("+44 20 7946 0000"));
  EXPECT_TRUE(Send(LVM_SETITEMTEXTW, 0, &lv));
  WCHAR buf[5];
  lv.pszText = buf;
  lv.cchTextMax = 5;
  EXPECT_EQ(Send(LVM_GETITEMTEXTW, 0, &lv), 4);
  EXPECT_EQ(WString(buf), TEXT("+44 "));
  auto row = sim::InspectListView(Item())->rows.at(0);
  EXPECT_EQ(row.texts, (std::vector<WString>{TEXT("Alice"), TEXT("+44 20 7946 0000")}));
  lv.iSubItem = 0;
  EXPECT_FALSE(Send(LVM_SETITEMTEXTW, 3, &lv));
  EXPECT_EQ(Send(LVM_GETITEMTEXTW, 3, &lv), 0);
  EXPECT_EQ(buf[0], 0);
}
#endif

TEST_F(ListViewTest, GetItemReturnsTheFieldsOfItsMask) {
  OpenList();
  LVITEMW in{};
  in.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  in.pszText = const_cast<LPWSTR>(TEXT("Bob"));
  in.iImage = 2;
  in.lParam = 77;
  Send(LVM_INSERTITEMW, 0, &in);
  WCHAR buf[16];
  LVITEMW out{};
  out.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  out.stateMask = 0xFFFF;
  out.pszText = buf;
  out.cchTextMax = 16;
  EXPECT_TRUE(Send(LVM_GETITEMW, 0, &out));
  EXPECT_EQ(WString(buf), TEXT("Bob"));
  EXPECT_EQ(out.iImage, 2);
  EXPECT_EQ(out.lParam, 77);
  EXPECT_EQ(out.state, 0u);
  out.iItem = 1;
  EXPECT_FALSE(Send(LVM_GETITEMW, 0, &out));
}

TEST_F(ListViewTest, FindItemMatchesWholeOrPartialTextIgnoringCase) {
  OpenList();
  Fill({TEXT("Anna"), TEXT("anders"), TEXT("Émilie"), TEXT("Bob")});
  EXPECT_EQ(FindText(-1, LVFI_STRING, TEXT("ANNA")), 0);
  EXPECT_EQ(FindText(-1, LVFI_STRING, TEXT("and")), -1);
  EXPECT_EQ(FindText(-1, LVFI_PARTIAL | LVFI_STRING, TEXT("AND")), 1);
  EXPECT_EQ(FindText(-1, LVFI_PARTIAL | LVFI_STRING, TEXT("émi")), 2);
  EXPECT_EQ(FindText(-1, LVFI_STRING, TEXT("ÉMILIE")), 2);
}

TEST_F(ListViewTest, FindItemSearchesAfterTheStartAndWrapsOnlyWhenAsked) {
  OpenList();
  Fill({TEXT("Anna"), TEXT("Bob"), TEXT("Annie")});
  EXPECT_EQ(FindText(0, LVFI_PARTIAL, TEXT("ann")), 2);
  EXPECT_EQ(FindText(2, LVFI_PARTIAL, TEXT("ann")), -1);
  EXPECT_EQ(FindText(2, LVFI_PARTIAL | LVFI_WRAP, TEXT("ann")), 0);
  LVFINDINFOW by_param{};
  by_param.flags = LVFI_PARAM;
  by_param.lParam = 0;
  EXPECT_EQ(Send(LVM_FINDITEMW, static_cast<WPARAM>(-1), &by_param), 0);
  EXPECT_EQ(Send(LVM_FINDITEMW, static_cast<WPARAM>(-1), static_cast<LVFINDINFOW*>(nullptr)), -1);
}

TEST_F(ListViewTest, SetSelectionMarkReturnsTheOldMark) {
  OpenList();
  Fill({TEXT("a"), TEXT("b")});
  EXPECT_EQ(Mark(), -1);
  EXPECT_EQ(Send(LVM_SETSELECTIONMARK, 0, 1), -1);
  EXPECT_EQ(Send(LVM_SETSELECTIONMARK, 0, 0), 1);
  EXPECT_EQ(Mark(), 0);
}

TEST_F(ListViewTest, DeletingItemsKeepsTheSelectionMarkOnItsItem) {
  OpenList();
  Fill({TEXT("a"), TEXT("b"), TEXT("c"), TEXT("d")});
  Send(LVM_SETSELECTIONMARK, 0, 2);
  Send(LVM_DELETEITEM, 3);  // below the mark
  EXPECT_EQ(Mark(), 2);
  Send(LVM_DELETEITEM, 0);  // above it: the mark moves up with its item
  EXPECT_EQ(Mark(), 1);
  Insert(0, TEXT("new"));  // inserted above: it moves down
  EXPECT_EQ(Mark(), 2);
  SKIP_ON_WINE("the mark of a deleted item is undocumented; Wine leaves it on the index");
  Send(LVM_DELETEITEM, 2);  // the marked item itself
  EXPECT_EQ(Mark(), -1);
  Send(LVM_SETSELECTIONMARK, 0, 1);
  Send(LVM_DELETEALLITEMS);
  EXPECT_EQ(Mark(), -1);
  EXPECT_FALSE(Send(LVM_DELETEITEM, 0));
}

TEST_F(ListViewTest, SelectingInASingleSelectionListDeselectsTheOthers) {
  OpenList();
  Fill({TEXT("a"), TEXT("b"), TEXT("c")});
  EXPECT_TRUE(SetState(0, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_TRUE(SetState(2, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(State(0), 0u);
  EXPECT_EQ(State(2), static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(Send(LVM_GETSELECTEDCOUNT), 1);
  EXPECT_FALSE(SetState(5, LVIS_SELECTED, LVIS_SELECTED));
}

TEST_F(ListViewTest, AMultipleSelectionListSelectsEveryItemWithMinusOne) {
  OpenList(LVS_REPORT);
  Fill({TEXT("a"), TEXT("b"), TEXT("c")});
  EXPECT_TRUE(SetState(-1, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(Send(LVM_GETSELECTEDCOUNT), 3);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, 0, MAKELPARAM(LVNI_SELECTED, 0)), 1);
  SetState(-1, 0, LVIS_SELECTED);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)), -1);
}

TEST_F(ListViewTest, OnlyOneItemHasTheFocus) {
  OpenList(LVS_REPORT);
  Fill({TEXT("a"), TEXT("b")});
  SetState(0, LVIS_FOCUSED, LVIS_FOCUSED);
  SetState(1, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_EQ(State(0), 0u);
  EXPECT_EQ(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)), 1);
  SetState(-1, LVIS_FOCUSED, LVIS_FOCUSED);  // the focus cannot go to every item
  EXPECT_EQ(State(0), 0u);
}

TEST_F(ListViewTest, StateChangesAreToldWithItemChangedOncePerChange) {
  OpenList();
  Fill({TEXT("a"), TEXT("b")});
  script.events.clear();
  SetState(0, LVIS_SELECTED, LVIS_SELECTED);
  SetState(0, LVIS_SELECTED, LVIS_SELECTED);  // no change, no notification
  SetState(1, LVIS_SELECTED, LVIS_SELECTED);
  auto changed = Notes(LVN_ITEMCHANGED);
  ASSERT_EQ(changed.size(), 3u);
  EXPECT_EQ(changed[0].item, 0);
  EXPECT_EQ(changed[0].new_state, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(changed[1].item, 0);  // deselected for the new one
  EXPECT_EQ(changed[1].old_state, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(changed[2].item, 1);
  SKIP_ON_WINE("Wine asks LVN_ITEMCHANGING also for a state that does not change; undocumented");
  EXPECT_EQ(Notes(LVN_ITEMCHANGING).size(), 3u);
}

TEST_F(ListViewTest, AParentRefusingItemChangingKeepsTheState) {
  script.handler = [](HWND dlg, UINT msg, WPARAM, LPARAM lp) -> INT_PTR {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == LVN_ITEMCHANGING) {
      SetWindowLongPtrW(dlg, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    return msg == WM_INITDIALOG;
  };
  OpenList();
  Fill({TEXT("a")});
  SetState(0, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(State(0), 0u);
}

TEST_F(ListViewTest, ExtendedStylesChangeOnlyTheMaskedBits) {
  OpenList();
  EXPECT_EQ(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), 0);
  EXPECT_EQ(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, 0), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  EXPECT_EQ(Send(LVM_GETEXTENDEDLISTVIEWSTYLE), LVS_EX_FULLROWSELECT);
}

#if PLATFORM_TEST_SIMULATED  // the list view's inner state
TEST_F(ListViewTest, ImageListsAreSetPerKindAndTheOldOneReturned) {
  OpenList();
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2);
  HICON fake = reinterpret_cast<HICON>(static_cast<uintptr_t>(0x5550));
  EXPECT_EQ(ImageList_AddIcon(images, fake), 0);
  EXPECT_EQ(ImageList_GetImageCount(images), 1);
  EXPECT_EQ(Send(LVM_SETIMAGELIST, LVSIL_SMALL, images), 0);
  EXPECT_EQ(Send(LVM_GETIMAGELIST, LVSIL_SMALL), reinterpret_cast<LRESULT>(images));
  EXPECT_EQ(Send(LVM_SETIMAGELIST, LVSIL_SMALL, static_cast<HIMAGELIST>(nullptr)),
            reinterpret_cast<LRESULT>(images));
  EXPECT_EQ(sim::ImageListIcons(images), (std::vector<HICON>{fake}));
  EXPECT_TRUE(ImageList_Destroy(images));
  EXPECT_FALSE(ImageList_Destroy(images));
}
#endif

TEST_F(ListViewTest, DeleteAllItemsTellsTheParentOnceWhenItAnswersTrue) {
  script.handler = [](HWND dlg, UINT msg, WPARAM, LPARAM lp) -> INT_PTR {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == LVN_DELETEALLITEMS) {
      SetWindowLongPtrW(dlg, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    return msg == WM_INITDIALOG;
  };
  OpenList();
  Fill({TEXT("a"), TEXT("b")});
  Send(LVM_DELETEALLITEMS);
  EXPECT_EQ(Notes(LVN_DELETEALLITEMS).size(), 1u);
  EXPECT_EQ(Notes(LVN_DELETEITEM).size(), 0u);
  EXPECT_EQ(Send(LVM_GETITEMCOUNT), 0);
}

}  // namespace
