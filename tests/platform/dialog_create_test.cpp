// Creating dialogs from templates: controls, sizes in dialog units, WM_SETFONT and
// WM_INITDIALOG, the initial focus, showing, and DefDlgProc's default handling.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "dialog_test_support.h"

#if PLATFORM_TEST_SIMULATED
#include <sim/desktop.h>
#endif

namespace {

using namespace dialog_test;

class DialogCreateTest : public DesktopTest {
 protected:
  HWND dialog = nullptr;
  HWND owner = nullptr;

  // Creates the dialog modeless on the application's thread, which then runs its loop.
  void Create(TemplateWriter t, LPARAM param = 0, bool with_owner = true) {
    StartApp([this, t, param, with_owner]() mutable {
      if (with_owner) owner = CreateOwnerWindow();
      dialog = CreateDialogIndirectParamW(nullptr, t.Get(), owner, ScriptedDialogProc, param);
      return RunMessageLoop();
    });
  }
};

#if PLATFORM_TEST_SIMULATED  // the windows' inner state
TEST_F(DialogCreateTest, ControlsAreCreatedInTemplateOrderWithTheirClassesAndIds) {
  Create(OkCancelTemplate());
  ASSERT_NE(dialog, nullptr);
  std::vector<HWND> children = sim::ChildWindows(dialog);
  ASSERT_EQ(children.size(), 3u);
  auto info0 = sim::InspectWindow(children[0]), info1 = sim::InspectWindow(children[1]);
  EXPECT_EQ(info0->class_name, TEXT("Edit"));
  EXPECT_EQ(info0->control_id, 100);
  EXPECT_EQ(info1->class_name, TEXT("Button"));
  EXPECT_EQ(info1->title, TEXT("OK"));
  EXPECT_EQ(info1->control_id, IDOK);
  EXPECT_EQ(sim::InspectWindow(dialog)->class_name, TEXT("#32770"));
}
#endif

#if PLATFORM_TEST_SIMULATED  // the windows' inner state
TEST_F(DialogCreateTest, DialogUnitsBecomePixelsWithBaseUnitsSixByThirteen) {
  Create(OkCancelTemplate());
  // The OK button: x 30, y 55, 50 x 14 dialog units.
  auto ok = sim::InspectWindow(GetDlgItem(dialog, IDOK));
  EXPECT_EQ(ok->rect.left, 30 * 6 / 4);
  EXPECT_EQ(ok->rect.top, 55 * 13 / 8);
  EXPECT_EQ(ok->rect.right - ok->rect.left, 50 * 6 / 4);
  EXPECT_EQ(ok->rect.bottom - ok->rect.top, 14 * 13 / 8);
  EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(6, 13));
  RECT r{4, 8, 8, 16};
  EXPECT_TRUE(MapDialogRect(dialog, &r));
  EXPECT_EQ(r.left, 6);
  EXPECT_EQ(r.top, 13);
  EXPECT_EQ(r.right, 12);
  EXPECT_EQ(r.bottom, 26);
}
#endif

TEST_F(DialogCreateTest, TemplateSizeIsTheClientSizeAndTheFrameIsAdded) {
  Create(OkCancelTemplate());
  RECT client, window;
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &window);
  EXPECT_EQ(client.right, 160 * 6 / 4);
  EXPECT_GT(window.right - window.left, client.right);
  EXPECT_GT(window.bottom - window.top, client.bottom);
  SKIP_ON_WINE(
      "dialog base units come from the dialog font (MapDialogRect); Wine's stand-in for MS Shell Dlg is 12 "
      "pixels high, Windows' 13");
  EXPECT_EQ(client.bottom, 80 * 13 / 8);
}

TEST_F(DialogCreateTest, TheTemplatePositionIsThatOfTheClientAreaInTheOwnersClientArea) {
  Create(OkCancelTemplate());
  POINT expected{0, 0};
  ClientToScreen(owner, &expected);
  expected.x += 10 * 6 / 4;  // the template's x and y: 10, 10
  expected.y += 10 * 13 / 8;
  POINT client{0, 0};
  ClientToScreen(dialog, &client);
  EXPECT_EQ(client.x, expected.x);
  SKIP_ON_WINE(
      "dialog base units come from the dialog font (MapDialogRect); Wine's stand-in for MS Shell Dlg is 12 "
      "pixels high, Windows' 13");
  EXPECT_EQ(client.y, expected.y);
}

TEST_F(DialogCreateTest, DsCenterPutsTheDialogInTheMiddleOfTheScreen) {
  Create(OkCancelTemplate(WS_POPUP | WS_CAPTION | DS_CENTER));
  RECT r;
  GetWindowRect(dialog, &r);
  // Within a pixel: an odd size cannot be split evenly.
  EXPECT_NEAR(r.left + (r.right - r.left) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR(r.top + (r.bottom - r.top) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(DialogCreateTest, MapDialogRectFailsForAWindowThatIsNoDialog) {
  Create(OkCancelTemplate());
  RECT r{4, 8, 8, 16};
  EXPECT_FALSE(MapDialogRect(owner, &r));
  EXPECT_EQ(r.left, 4);
}

TEST_F(DialogCreateTest, SetFontComesBeforeInitDialogWhichGetsTheParamAndTheFirstTabStop) {
  LPARAM seen_param = 0;
  HWND seen_focus_candidate = nullptr;
  bool controls_existed = false;
  script.handler = [&](HWND dlg, UINT msg, WPARAM wp, LPARAM lp) -> INT_PTR {
    if (msg == WM_INITDIALOG) {
      seen_param = lp;
      seen_focus_candidate = reinterpret_cast<HWND>(wp);
      controls_existed = GetDlgItem(dlg, IDCANCEL) != nullptr;
      return TRUE;
    }
    return FALSE;
  };
  Create(OkCancelTemplate(), 1234);
  auto& m = script.messages;
  auto font = std::find(m.begin(), m.end(), static_cast<UINT>(WM_SETFONT));
  auto init = std::find(m.begin(), m.end(), static_cast<UINT>(WM_INITDIALOG));
  ASSERT_NE(font, m.end());
  ASSERT_NE(init, m.end());
  EXPECT_LT(font, init);
  EXPECT_EQ(seen_param, 1234);
  EXPECT_TRUE(controls_existed);
  EXPECT_EQ(seen_focus_candidate, GetDlgItem(dialog, 100));
  EXPECT_NE(SendMessageW(dialog, WM_GETFONT, 0, 0), 0);
}

TEST_F(DialogCreateTest, InitDialogReturningTrueGivesTheFocusToTheFirstTabStop) {
  TemplateWriter t = OkCancelTemplate(WS_POPUP | WS_CAPTION | WS_VISIBLE);
  Create(t);
  HWND focus = nullptr;
  // The focus belongs to the application's thread; ask it there.
  script.handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> INT_PTR {
    if (msg == WM_USER) focus = GetFocus();
    return FALSE;
  };
  SendMessageW(dialog, WM_USER, 0, 0);
  EXPECT_EQ(focus, GetDlgItem(dialog, 100));
}

TEST_F(DialogCreateTest, InitDialogReturningFalseKeepsTheFocusItChose) {
  HWND focus = nullptr;
  script.handler = [&](HWND dlg, UINT msg, WPARAM, LPARAM) -> INT_PTR {
    if (msg == WM_INITDIALOG) {
      SetFocus(GetDlgItem(dlg, IDCANCEL));
      return FALSE;
    }
    if (msg == WM_USER) focus = GetFocus();
    return FALSE;
  };
  Create(OkCancelTemplate(WS_POPUP | WS_CAPTION | WS_VISIBLE));
  SendMessageW(dialog, WM_USER, 0, 0);
  EXPECT_EQ(focus, GetDlgItem(dialog, IDCANCEL));
}

TEST_F(DialogCreateTest, DialogIsShownOnlyWhenTheTemplateHasWsVisible) {
  Create(OkCancelTemplate());
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDOK)));  // hidden with its dialog
}

TEST_F(DialogCreateTest, VisibleTemplateShowsTheDialogAndItsControls) {
  Create(OkCancelTemplate(WS_POPUP | WS_CAPTION | WS_VISIBLE));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDOK)));
  EXPECT_EQ(GetForegroundWindow(), dialog);
}

TEST_F(DialogCreateTest, AnUnknownControlClassFailsTheWholeDialog) {
  TemplateWriter t(WS_POPUP, 0, 0, 0, 100, 50, TEXT("Bad"));
  t.AddItem(TEXT("NoSuchClass"), TEXT(""), 1, kChild, 0, 0, 10, 10);
  DWORD error = 0;
  bool destroyed_seen = false;
  script.handler = [&](HWND, UINT msg, WPARAM, LPARAM) -> INT_PTR {
    if (msg == WM_DESTROY) destroyed_seen = true;
    return FALSE;
  };
  StartApp([&, t]() mutable {
    dialog = CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, ScriptedDialogProc, 0);
    error = GetLastError();
    return 0;
  });
  EXPECT_EQ(dialog, nullptr);
  EXPECT_TRUE(destroyed_seen);
  EXPECT_EQ(std::count(script.messages.begin(), script.messages.end(), static_cast<UINT>(WM_INITDIALOG)), 0);
  SKIP_ON_WINE("CreateDialogIndirectParam documents GetLastError for its failure; Wine sets no error");
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

#if PLATFORM_TEST_SIMULATED  // the windows' inner state
TEST_F(DialogCreateTest, NoFailCreateSkipsAControlThatCannotBeCreated) {
  TemplateWriter t(WS_POPUP | DS_NOFAILCREATE, 0, 0, 0, 100, 50, TEXT("Lenient"));
  t.AddItem(TEXT("NoSuchClass"), TEXT(""), 1, kChild, 0, 0, 10, 10);
  t.AddItem(kButtonAtom, TEXT("OK"), IDOK, kChild, 0, 0, 10, 10);
  Create(t);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(sim::ChildWindows(dialog).size(), 1u);
}
#endif

TEST_F(DialogCreateTest, ANullTemplateFailsWithInvalidParameter) {
  DWORD error = 0;
  StartApp([&] {
    dialog = CreateDialogIndirectParamW(nullptr, nullptr, nullptr, ScriptedDialogProc, 0);
    error = GetLastError();
    return 0;
  });
  EXPECT_EQ(dialog, nullptr);
  SKIP_ON_WINE("CreateDialogIndirectParam documents GetLastError for its failure; Wine sets no error");
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(DialogCreateTest, HandledMessagesReturnTheirResultThroughDwlpMsgResult) {
  script.handler = [](HWND dlg, UINT msg, WPARAM, LPARAM) -> INT_PTR {
    if (msg == WM_USER + 5) {
      SetWindowLongPtrW(dlg, DWLP_MSGRESULT, 77);
      return TRUE;
    }
    if (msg == WM_USER + 6) return 55;  // handled, but no result stored: the result is 0
    return FALSE;
  };
  Create(OkCancelTemplate());
  EXPECT_EQ(SendMessageW(dialog, WM_USER + 5, 0, 0), 77);
  EXPECT_EQ(SendMessageW(dialog, WM_USER + 6, 0, 0), 0);
}

TEST_F(DialogCreateTest, DefaultIdComesFromTheTemplatesDefaultPushButton) {
  Create(OkCancelTemplate());
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
}

TEST_F(DialogCreateTest, SetDefIdMovesTheDefaultButtonStyle) {
  Create(OkCancelTemplate());
  EXPECT_TRUE(SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0));
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDCANCEL, DC_HASDEFID));
  EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(DialogCreateTest, WithoutADefaultButtonGetDefIdReturnsZero) {
  TemplateWriter t(WS_POPUP, 0, 0, 0, 100, 50, TEXT("Plain"));
  t.AddItem(kButtonAtom, TEXT("OK"), IDOK, kChild, 0, 0, 10, 10);
  Create(t);
  SKIP_ON_WINE("DM_GETDEFID documents zero without a default push button; Wine answers IDOK");
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), 0);
}

TEST_F(DialogCreateTest, CloseBecomesACancelCommandWithTheCancelButton) {
  Create(OkCancelTemplate());
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(ClickedIds(), std::vector<int>{IDCANCEL});
}

TEST_F(DialogCreateTest, CloseDoesNothingWhenTheCancelButtonIsDisabled) {
  Create(OkCancelTemplate());
  EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  desktop.RunUntilIdle();
  SKIP_ON_WINE(
      "DefDlgProc documents no IDCANCEL click for WM_CLOSE while the IDCANCEL control is disabled; Wine "
      "clicks it");
  EXPECT_TRUE(ClickedIds().empty());
}

TEST_F(DialogCreateTest, TheFocusedControlIsRestoredWhenTheDialogIsActivatedAgain) {
  HWND focus = nullptr;
  HWND other = nullptr;
  script.handler = [&](HWND dlg, UINT msg, WPARAM, LPARAM) -> INT_PTR {
    if (msg == WM_USER) {
      SetFocus(GetDlgItem(dlg, IDCANCEL));
      SetActiveWindow(other);  // the dialog is deactivated
      SetActiveWindow(dlg);    // and activated again
      focus = GetFocus();
    }
    return FALSE;
  };
  StartApp([&] {
    other = CreateOwnerWindow();
    TemplateWriter t = OkCancelTemplate(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    dialog = CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, ScriptedDialogProc, 0);
    return RunMessageLoop();
  });
  SendMessageW(dialog, WM_USER, 0, 0);
  EXPECT_EQ(focus, GetDlgItem(dialog, IDCANCEL));
}

}  // namespace
