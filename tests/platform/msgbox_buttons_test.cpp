// MessageBoxW: a modal dialog owned by the given window, with its caption, text and buttons, and
// the answers given by clicks, Enter and Escape.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/dialogs.h>

#include "dialog_test_support.h"

namespace {

using namespace dialog_test;

class MessageBoxTest : public DesktopTest {
 protected:
  HWND owner = nullptr;
  int answer = -100;
  bool returned = false;

  void Show(LPCWSTR text, LPCWSTR caption, UINT type, bool with_owner = true) {
    StartApp([=, this] {
      if (with_owner) owner = CreateOwnerWindow();
      answer = MessageBoxW(owner, text, caption, type);
      returned = true;
      return RunMessageLoop();
    });
  }
  sim::DialogInfo Box() {
    auto dialogs = sim::OpenDialogs();
    EXPECT_FALSE(dialogs.empty());
    return dialogs.empty() ? sim::DialogInfo{} : dialogs.front();
  }
};

TEST_F(MessageBoxTest, ShowsCaptionTextAndTheButtonsOfItsType) {
  Show(u"Delete the contact?", u"Tellbud", MB_YESNO | MB_ICONQUESTION);
  sim::DialogInfo box = Box();
  EXPECT_EQ(box.title, u"Tellbud");
  EXPECT_EQ(box.owner, owner);
  ASSERT_EQ(box.static_texts.size(), 1u);
  EXPECT_EQ(box.static_texts[0], u"Delete the contact?");
  ASSERT_EQ(box.buttons.size(), 2u);
  EXPECT_EQ(box.buttons[0].id, IDYES);
  EXPECT_EQ(box.buttons[1].id, IDNO);
  EXPECT_TRUE(box.buttons[0].is_default);
  EXPECT_FALSE(IsWindowEnabled(owner));
  EXPECT_FALSE(returned);
}

TEST_F(MessageBoxTest, ANullCaptionReadsError) {
  Show(u"Something failed", nullptr, MB_OK);
  EXPECT_EQ(Box().title, u"Error");
}

TEST_F(MessageBoxTest, ClickingAButtonReturnsItsIdAndEnablesTheOwner) {
  Show(u"Save?", u"App", MB_YESNO);
  EXPECT_TRUE(sim::ClickDialogButton(Box().hwnd, u"No"));
  desktop.RunUntilIdle();
  EXPECT_EQ(answer, IDNO);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_TRUE(sim::OpenDialogs().empty());
}

TEST_F(MessageBoxTest, EnterPressesTheDefaultButton) {
  Show(u"Go on?", u"App", MB_OKCANCEL);
  PressKey(VK_RETURN);
  EXPECT_EQ(answer, IDOK);
}

TEST_F(MessageBoxTest, DefButton2MakesTheSecondButtonTheDefault) {
  Show(u"Go on?", u"App", MB_YESNO | MB_DEFBUTTON2);
  EXPECT_TRUE(Box().buttons[1].is_default);
  PressKey(VK_RETURN);
  EXPECT_EQ(answer, IDNO);
}

TEST_F(MessageBoxTest, EscapeGivesCancelWhenThereIsACancelButton) {
  Show(u"Go on?", u"App", MB_OKCANCEL);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(answer, IDCANCEL);
}

TEST_F(MessageBoxTest, EscapeGivesOkWhenOkIsTheOnlyButton) {
  Show(u"Done.", u"App", MB_OK);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(answer, IDOK);
}

TEST_F(MessageBoxTest, EscapeAndTheCloseBoxDoNothingWithoutCancel) {
  Show(u"Really?", u"App", MB_YESNO);
  PressKey(VK_ESCAPE);
  PostMessageW(Box().hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  desktop.RunUntilIdle();
  EXPECT_FALSE(returned);
  sim::ClickDialogButton(Box().hwnd, IDYES);
  desktop.RunUntilIdle();
  EXPECT_EQ(answer, IDYES);
}

TEST_F(MessageBoxTest, WithoutAnOwnerTheBoxStandsAlone) {
  Show(u"Alone", u"App", MB_OK, false);
  EXPECT_EQ(Box().owner, nullptr);
  sim::ClickDialogButton(Box().hwnd, u"OK");
  desktop.RunUntilIdle();
  EXPECT_EQ(answer, IDOK);
}

TEST_F(MessageBoxTest, QuitEndsTheBoxWithZeroAndStaysQueued) {
  int exit_code = -1;
  StartApp([&] {
    answer = MessageBoxW(nullptr, u"Waiting", u"App", MB_OK);
    exit_code = RunMessageLoop();
    return 0;
  });
  PostThreadMessageW(GetWindowThreadProcessId(Box().hwnd, nullptr), WM_QUIT, 3, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(exit_code, 3);
}

}  // namespace
