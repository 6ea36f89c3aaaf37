// The control wrappers, menus and image lists, driven from inside a running dialog.
#include "framework_fixture.h"

#include <sim/menus.h>

#include <string>

namespace framework_test {
namespace {

constexpr UINT kTrayMenu = 134;
constexpr UINT kOptions = 32778, kAutorun = 32776, kExit = 32771;

std::u16string S(const CString& s) { return std::u16string(s.GetString()); }

class ControlsDialog : public CDialog {
 public:
  explicit ControlsDialog(std::function<void(ControlsDialog&)> body)
      : CDialog(kSimpleDialog), m_body(std::move(body)) {}

  CListCtrl m_list;
  CComboBox m_combo;
  CSliderCtrl m_slider;
  CEdit m_edit;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kListId, m_list);
    DDX_Control(pDX, kComboId, m_combo);
    DDX_Control(pDX, kSliderId, m_slider);
    DDX_Control(pDX, kEditId, m_edit);
  }
  BOOL OnInitDialog() override {
    m_body(*this);
    EndDialog(IDOK);
    return TRUE;
  }

 private:
  std::function<void(ControlsDialog&)> m_body;
};

class ControlsTest : public FrameworkTest {
 protected:
  // Runs `body` in the program with the dialog's controls bound.
  void RunInDialog(std::function<void(ControlsDialog&)> body) {
    bool ran = false;
    Start([&] {
      ControlsDialog dialog([&](ControlsDialog& d) {
        body(d);
        ran = true;
      });
      return static_cast<int>(dialog.DoModal());
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(ExitCode(), IDOK);
  }
};

TEST_F(ControlsTest, ListColumnsItemsAndSubitemTexts) {
  RunInDialog([](ControlsDialog& d) {
    CListCtrl& list = d.m_list;
    EXPECT_EQ(list.SetExtendedStyle(LVS_EX_FULLROWSELECT), 0u);
    EXPECT_EQ(list.GetExtendedStyle(), static_cast<DWORD>(LVS_EX_FULLROWSELECT));
    EXPECT_EQ(list.InsertColumn(0, u"Name", LVCFMT_LEFT, 120), 0);
    EXPECT_EQ(list.InsertColumn(1, u"Status"), 1);
    EXPECT_EQ(list.InsertItem(0, u"Bob", 2), 0);
    EXPECT_EQ(list.InsertItem(0, u"Alice"), 0);
    EXPECT_EQ(list.InsertItem(99, u"Carol"), 2);
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_TRUE(list.SetItemText(0, 1, u"Online"));
    EXPECT_EQ(S(list.GetItemText(0, 0)), u"Alice");
    EXPECT_EQ(S(list.GetItemText(0, 1)), u"Online");
    EXPECT_EQ(S(list.GetItemText(1, 0)), u"Bob");

    WCHAR small[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(list.GetItemText(0, 1, small, 4), 3);
    EXPECT_EQ(std::u16string(small), u"Onl");
    EXPECT_EQ(list.GetItemText(0, 1, nullptr, 10), 0);
    EXPECT_EQ(list.GetItemText(0, 1, small, 0), 0);

    std::u16string longText(700, u'w');
    list.SetItemText(2, 1, longText.c_str());
    EXPECT_EQ(S(list.GetItemText(2, 1)), longText);

    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(S(list.GetItemText(0, 0)), u"Bob");
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
  });
}

TEST_F(ControlsTest, ListSelectionStatesMarkAndSearch) {
  RunInDialog([](ControlsDialog& d) {
    CListCtrl& list = d.m_list;
    list.InsertColumn(0, u"Name");
    for (LPCWSTR name : {u"Alice", u"Bob", u"Carol"}) list.InsertItem(list.GetItemCount(), name);
    EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), 0u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(list.SetSelectionMark(1), -1);
    EXPECT_EQ(list.GetSelectionMark(), 1);
    EXPECT_TRUE(list.EnsureVisible(2, FALSE));

    LVFINDINFOW find{};
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = u"car";
    EXPECT_EQ(list.FindItem(&find), 2);
    find.flags = LVFI_STRING;
    find.psz = u"bob";
    EXPECT_EQ(list.FindItem(&find), 1);
    EXPECT_EQ(list.FindItem(&find, 1), -1);
    EXPECT_EQ(list.FindItem(nullptr), -1);
  });
}

TEST_F(ControlsTest, ImageListsHoldIconsAndAttachToTheList) {
  RunInDialog([](ControlsDialog& d) {
    CImageList images;
    EXPECT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4));
    EXPECT_FALSE(images.Create(16, 16, ILC_COLOR32, 0, 4));
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_EQ(images.Add(icon), 0);
    EXPECT_EQ(images.Add(icon), 1);
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_EQ(d.m_list.SetImageList(&images, LVSIL_SMALL), nullptr);
    EXPECT_EQ(d.m_list.SetImageList(nullptr, LVSIL_SMALL), images.GetSafeHandle());
    CImageList empty;
    EXPECT_EQ(empty.Add(icon), -1);
    EXPECT_EQ(empty.GetImageCount(), 0);
  });
}

TEST_F(ControlsTest, ComboItemsSelectionAndSearch) {
  RunInDialog([](ControlsDialog& d) {
    CComboBox& combo = d.m_combo;
    EXPECT_EQ(combo.AddString(u"Ring 1"), 0);
    EXPECT_EQ(combo.AddString(u"Ring 2"), 1);
    EXPECT_EQ(combo.InsertString(0, u"Silent"), 0);
    EXPECT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.SetCurSel(2), 2);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(combo.SetCurSel(7), CB_ERR);
    EXPECT_EQ(combo.FindString(-1, u"rING"), 1);
    EXPECT_EQ(combo.FindString(1, u"ring"), 2);
    EXPECT_EQ(combo.FindStringExact(-1, u"ring 2"), 2);
    CString text;
    combo.GetLBText(1, text);
    EXPECT_EQ(S(text), u"Ring 1");
    combo.GetLBText(9, text);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(combo.GetLBText(0, nullptr), CB_ERR);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
  });
}

TEST_F(ControlsTest, SliderRangeAndPosition) {
  RunInDialog([](ControlsDialog& d) {
    d.m_slider.SetRange(0, 200, TRUE);
    EXPECT_EQ(d.m_slider.GetRangeMin(), 0);
    EXPECT_EQ(d.m_slider.GetRangeMax(), 200);
    d.m_slider.SetPos(150);
    EXPECT_EQ(d.m_slider.GetPos(), 150);
    d.m_edit.LimitText(12);
    EXPECT_EQ(d.m_edit.GetLimitText(), 12u);
  });
}

TEST_F(ControlsTest, GetDlgItemFindsBoundWrappersAndWrapsOtherControls) {
  RunInDialog([](ControlsDialog& d) {
    EXPECT_EQ(d.GetDlgItem(kListId), &d.m_list);
    CWnd* ok = d.GetDlgItem(IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetSafeHwnd(), ::GetDlgItem(d.GetSafeHwnd(), IDOK));
    EXPECT_EQ(d.GetDlgItem(IDOK), ok);
    EXPECT_EQ(S(ok->GetWindowText()), u"OK");
    EXPECT_EQ(d.GetDlgItem(4242), nullptr);
    EXPECT_EQ(d.m_list.GetParent(), &d);
  });
}

CResourceTable WithTrayMenu() {
  CResourceTable table = TestResources();
  table.menus = {{kTrayMenu,
                  {{u"Tray",
                    0,
                    MF_STRING,
                    {{u"&Options...", kOptions, MF_STRING},
                     {u"Start with Windows", kAutorun, MF_STRING},
                     CMenuItemResource::Separator(),
                     {u"E&xit", kExit, MF_STRING}}}}}};
  return table;
}

TEST_F(ControlsTest, MenusFromResourcesKeepSubMenuWrappers) {
  AfxSetResourceTable(WithTrayMenu());
  RunInDialog([](ControlsDialog& d) {
    CMenu menu;
    EXPECT_FALSE(menu.LoadMenu(999));
    ASSERT_TRUE(menu.LoadMenu(kTrayMenu));
    EXPECT_FALSE(menu.LoadMenu(kTrayMenu));  // already holds one
    CMenu* tray = menu.GetSubMenu(0);
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(menu.GetSubMenu(0), tray);
    EXPECT_EQ(menu.GetSubMenu(5), nullptr);
    EXPECT_EQ(tray->GetMenuItemCount(), 4);
    EXPECT_EQ(tray->CheckMenuItem(kAutorun, MF_BYCOMMAND | MF_CHECKED), static_cast<UINT>(MF_UNCHECKED));
    EXPECT_EQ(tray->CheckMenuItem(kAutorun, MF_BYCOMMAND | MF_UNCHECKED), static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(tray->CheckMenuItem(12345, MF_BYCOMMAND | MF_CHECKED), static_cast<UINT>(-1));
    EXPECT_TRUE(tray->AppendMenu(MF_STRING, 40000, u"Added"));
    EXPECT_EQ(tray->GetMenuItemID(4), 40000u);
    HMENU popup = tray->GetSafeHmenu();
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(IsMenu(popup));

    CMenu* system = d.GetSystemMenu(FALSE);
    ASSERT_NE(system, nullptr);
    EXPECT_NE(system->GetMenuState(SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  });
}

TEST_F(ControlsTest, AMenuWrapperDestroysTheMenuItOwns) {
  HMENU held = nullptr;
  RunInDialog([&](ControlsDialog&) {
    {
      CMenu menu;
      menu.CreatePopupMenu();
      menu.AppendMenu(MF_STRING, 1, u"One");
      held = menu.GetSafeHmenu();
      EXPECT_TRUE(IsMenu(held));
    }
    EXPECT_FALSE(IsMenu(held));
    {
      CMenu kept;
      kept.CreatePopupMenu();
      held = kept.Detach();
    }
    EXPECT_TRUE(IsMenu(held));
    DestroyMenu(held);
  });
}

constexpr UINT kShowMenu = WM_USER + 140;

// Shows the tray menu as a pop-up on kShowMenu and records the commands that reach it.
class MenuDialog : public CDialog {
 public:
  MenuDialog() : CDialog(kParentDialog) {}
  std::vector<UINT> commands;
  BOOL tracked = -1;

 protected:
  BOOL OnMessage(UINT message, WPARAM, LPARAM, LRESULT*) override {
    if (message != kShowMenu) return FALSE;
    CMenu menu;
    menu.LoadMenu(kTrayMenu);
    tracked = menu.GetSubMenu(0)->TrackPopupMenuEx(TPM_RIGHTBUTTON, 10, 10, this);
    return TRUE;
  }
  BOOL OnCommandId(UINT nID, UINT, HWND) override {
    commands.push_back(nID);
    return TRUE;
  }
};

TEST_F(ControlsTest, APopupMenuChoiceArrivesAsACommandAndADismissalAsNothing) {
  AfxSetResourceTable(WithTrayMenu());
  MenuDialog dialog;
  Start([&] { return static_cast<int>(dialog.DoModal()); });
  HWND hWnd = FindDialog(u"Main");
  PostMessageW(hWnd, kShowMenu, 0, 0);
  desktop.RunUntilIdle();
  auto open = sim::OpenPopupMenu();
  ASSERT_TRUE(open.has_value());
  EXPECT_EQ(open->owner, hWnd);
  ASSERT_EQ(open->items.size(), 4u);
  EXPECT_TRUE(open->items[2].separator);
  EXPECT_TRUE(sim::ChoosePopupMenuItem(u"Exit"));
  desktop.RunUntilIdle();
  EXPECT_EQ(dialog.tracked, TRUE);
  EXPECT_EQ(dialog.commands, std::vector<UINT>{kExit});

  PostMessageW(hWnd, kShowMenu, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_TRUE(sim::DismissPopupMenu());
  desktop.RunUntilIdle();
  EXPECT_EQ(dialog.tracked, FALSE);
  EXPECT_EQ(dialog.commands.size(), 1u);
  Command(hWnd, IDCANCEL);
  EXPECT_EQ(ExitCode(), IDCANCEL);
}

}  // namespace
}  // namespace framework_test
