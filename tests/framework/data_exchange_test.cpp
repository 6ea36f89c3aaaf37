// Data exchange between a dialog's members and its controls, and validation with its message box.
#include "framework_fixture.h"

#include <sim/controls.h>
#include <sim/dialogs.h>

namespace framework_test {
namespace {

constexpr UINT kRecordFocus = WM_USER + 120;

class SettingsDialog : public CDialog {
 public:
  SettingsDialog() : CDialog(kSimpleDialog) {}

  CString m_name = u"Alice";
  int m_ring = 1;
  int m_volume = 30;
  bool m_numeric = false;  // exchange the edit as a number instead
  int m_count = 0;
  CEdit m_edit;
  CComboBox m_combo;
  HWND focus = nullptr;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kEditId, m_edit);
    DDX_Control(pDX, kComboId, m_combo);
    if (m_numeric) {
      DDX_Text(pDX, kEditId, m_count);
    } else {
      DDX_Text(pDX, kEditId, m_name);
      DDV_MaxChars(pDX, m_name, 5);
    }
    DDX_CBIndex(pDX, kComboId, m_ring);
    DDX_Slider(pDX, kSliderId, m_volume);
  }
  BOOL OnInitDialog() override {
    for (LPCWSTR ring : {u"Ring 1", u"Ring 2", u"Ring 3"}) m_combo.AddString(ring);
    UpdateData(FALSE);
    return TRUE;
  }
  BOOL OnMessage(UINT message, WPARAM, LPARAM, LRESULT*) override {
    if (message != kRecordFocus) return FALSE;
    focus = ::GetFocus();
    return TRUE;
  }
};

class DataExchangeTest : public FrameworkTest {
 protected:
  void Run(SettingsDialog& dialog) {
    Start([this, &dialog] {
      result = dialog.DoModal();
      return 0;
    });
    hWnd = FindDialog(u"Settings");
    ASSERT_NE(hWnd, nullptr);
  }
  HWND Item(int id) { return GetDlgItem(hWnd, id); }
  // The message box the program shows, captioned with its title.
  HWND MessageBox() { return FindWindowW(u"#32770", u"Tellbud"); }

  HWND hWnd = nullptr;
  INT_PTR result = -999;
};

TEST_F(DataExchangeTest, LoadingFillsTheControlsAndLimitsTheEdit) {
  SettingsDialog dialog;
  Run(dialog);
  EXPECT_EQ(WindowText(Item(kEditId)), u"Alice");
  EXPECT_EQ(SendMessageW(Item(kEditId), EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_EQ(SendMessageW(Item(kComboId), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(Item(kSliderId), TBM_GETPOS, 0, 0), 30);
  EXPECT_EQ(dialog.m_edit.GetSafeHwnd(), Item(kEditId));
}

TEST_F(DataExchangeTest, OkSavesTheControlsIntoTheMembers) {
  SettingsDialog dialog;
  Run(dialog);
  sim::TypeIntoEdit(Item(kEditId), u"Bob", /*replace=*/true);
  sim::ChooseComboBoxItem(Item(kComboId), 2);
  sim::DragTrackbar(Item(kSliderId), 70);
  sim::ClickButton(hWnd, IDOK);
  desktop.RunUntilIdle();
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(dialog.m_name == u"Bob");
  EXPECT_EQ(dialog.m_ring, 2);
  EXPECT_EQ(dialog.m_volume, 70);
  // The wrappers let go of the controls with the dialog.
  EXPECT_EQ(dialog.m_edit.GetSafeHwnd(), nullptr);
}

TEST_F(DataExchangeTest, CancelLeavesTheMembersAsTheyWere) {
  SettingsDialog dialog;
  Run(dialog);
  SetWindowTextW(Item(kEditId), u"Bob");
  Command(hWnd, IDCANCEL);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(dialog.m_name == u"Alice");
}

TEST_F(DataExchangeTest, TypingStopsAtTheLimitTheValidationSet) {
  SettingsDialog dialog;
  Run(dialog);
  sim::TypeIntoEdit(Item(kEditId), u"abcdefgh", /*replace=*/true);
  desktop.RunUntilIdle();
  EXPECT_EQ(WindowText(Item(kEditId)), u"abcde");
  sim::ClickButton(hWnd, IDOK);
  desktop.RunUntilIdle();
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(dialog.m_name == u"abcde");
}

TEST_F(DataExchangeTest, TooLongTextIsRefusedWithAMessageAndTheFocusBackOnTheEdit) {
  SettingsDialog dialog;
  Run(dialog);
  SetWindowTextW(Item(kEditId), u"abcdefgh");  // set by a program, the text is not cut to the limit
  sim::ClickButton(hWnd, IDOK);
  desktop.RunUntilIdle();
  auto box = sim::FindDialog(u"Tellbud");
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->owner, hWnd);
  EXPECT_EQ(box->static_texts, std::vector<std::u16string>{u"Please enter no more than 5 characters."});
  sim::ClickDialogButton(box->hwnd, u"OK");
  desktop.RunUntilIdle();
  EXPECT_EQ(MessageBox(), nullptr);
  EXPECT_TRUE(IsWindowVisible(hWnd));
  EXPECT_EQ(result, -999);
  PostMessageW(hWnd, kRecordFocus, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(dialog.focus, Item(kEditId));

  SetWindowTextW(Item(kEditId), u"abcde");
  Command(hWnd, IDOK);
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(dialog.m_name == u"abcde");
}

TEST_F(DataExchangeTest, NumbersMustBeWholeAndInRange) {
  SettingsDialog dialog;
  dialog.m_numeric = true;
  dialog.m_count = 12;
  Run(dialog);
  EXPECT_EQ(WindowText(Item(kEditId)), u"12");
  const LPCWSTR bad[] = {u"12x", u"", u"99999999999", u"- 3"};
  for (size_t i = 0; i < std::size(bad); ++i) {
    SetWindowTextW(Item(kEditId), bad[i]);
    Command(hWnd, IDOK);
    HWND box = MessageBox();
    ASSERT_NE(box, nullptr) << "accepted case " << i;
    auto texts = StaticTexts(box);
    EXPECT_NE(std::find(texts.begin(), texts.end(), u"Please enter an integer."), texts.end());
    Command(box, IDOK);
  }
  SetWindowTextW(Item(kEditId), u" -2147483648 ");
  Command(hWnd, IDOK);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.m_count, -2147483647 - 1);
}

}  // namespace
}  // namespace framework_test
