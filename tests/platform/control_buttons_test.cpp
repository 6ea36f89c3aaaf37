// Buttons and statics: clicks by mouse and BM_CLICK, disabled buttons, check boxes, dialog
// codes, icons of statics, and the world's view of them.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialog_test_support.h"
#include "support/inspect.h"

#if PLATFORM_TEST_SIMULATED
#include <sim/controls.h>
#endif

namespace {

using namespace dialog_test;

class ButtonTest : public ControlTest {
 protected:
  int Clicks() {
    auto codes = Codes(WM_COMMAND);
    return static_cast<int>(std::count(codes.begin(), codes.end(), static_cast<UINT>(BN_CLICKED)));
  }
};

TEST_F(ButtonTest, BmClickTellsTheParentWithTheButtonsIdAndWindow) {
  OpenWith(kButtonAtom, BS_PUSHBUTTON, TEXT("&Apply"));
  Send(BM_CLICK);
  ASSERT_EQ(Clicks(), 1);
  const ControlEvent& e = script.events.back();
  EXPECT_EQ(e.id, 100);
  EXPECT_EQ(e.from, reinterpret_cast<LPARAM>(Item()));
}

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(ButtonTest, AMouseClickIsAPressAndAReleaseInsideTheButton) {
  OpenWith(kButtonAtom, BS_PUSHBUTTON, TEXT("&Apply"));
  ASSERT_TRUE(sim::ClickButton(dialog, TEXT("Apply")));
  desktop.RunUntilIdle();
  EXPECT_EQ(Clicks(), 1);
  // Released outside: no click.
  PostMessageW(Item(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(Item(), WM_LBUTTONUP, 0, MAKELPARAM(-5, 2));
  desktop.RunUntilIdle();
  EXPECT_EQ(Clicks(), 1);
}
#endif

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(ButtonTest, ADisabledButtonIgnoresClicks) {
  OpenWith(kButtonAtom, BS_PUSHBUTTON | WS_DISABLED, TEXT("Off"));
  Send(BM_CLICK);
  PostMessageW(Item(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(Item(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  desktop.RunUntilIdle();
  EXPECT_EQ(Clicks(), 0);
  EXPECT_FALSE(sim::ClickButton(dialog, 100));
}
#endif

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(ButtonTest, DialogCodesTellPushButtonsFromTheDefaultOne) {
  OpenWith(kButtonAtom, BS_PUSHBUTTON, TEXT("Push"));
  EXPECT_EQ(Send(WM_GETDLGCODE), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  Send(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(Send(WM_GETDLGCODE), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_TRUE(sim::InspectControl(Item())->is_default);
}
#endif

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(ButtonTest, AnAutomaticCheckBoxTogglesOnEachClick) {
  OpenWith(kButtonAtom, BS_AUTOCHECKBOX, TEXT("Start with Windows"));
  Send(BM_CLICK);
  EXPECT_EQ(Send(BM_GETCHECK), BST_CHECKED);
  EXPECT_TRUE(sim::InspectControl(Item())->checked);
  Send(BM_CLICK);
  EXPECT_EQ(Send(BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(Clicks(), 2);
}
#endif

TEST_F(ButtonTest, PushButtonsHaveNoCheckState) {
  OpenWith(kButtonAtom, BS_PUSHBUTTON, TEXT("Push"));
  Send(BM_SETCHECK, BST_CHECKED);
  EXPECT_EQ(Send(BM_GETCHECK), BST_UNCHECKED);
}

TEST_F(ButtonTest, SpaceBarClicksTheFocusedButton) {
  OpenWith(kButtonAtom, BS_PUSHBUTTON, TEXT("Push"));
  PressKey(VK_SPACE);
  EXPECT_EQ(Clicks(), 1);
}

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(ButtonTest, TheWorldFindsControlsByIdAndByTextWithoutMarkers) {
  OpenWith(kButtonAtom, BS_PUSHBUTTON, TEXT("Speed &dial..."));
  EXPECT_EQ(sim::FindControl(dialog, 100), Item());
  EXPECT_EQ(sim::FindControlByText(dialog, TEXT("speed dial...")), Item());
  EXPECT_EQ(sim::FindControl(dialog, 5), nullptr);
  auto info = sim::InspectControl(Item());
  EXPECT_EQ(info->class_name, TEXT("Button"));
  EXPECT_EQ(info->text, TEXT("Speed &dial..."));
  EXPECT_TRUE(info->visible);
}
#endif

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(ButtonTest, AStaticIconIsSetAndReturnedWithItsPredecessor) {
  OpenWith(kStaticAtom, SS_ICON);
  HICON a = reinterpret_cast<HICON>(static_cast<uintptr_t>(0x7000));
  HICON b = reinterpret_cast<HICON>(static_cast<uintptr_t>(0x7004));
  EXPECT_EQ(Send(STM_SETICON, reinterpret_cast<WPARAM>(a)), 0);
  EXPECT_EQ(Send(STM_SETICON, reinterpret_cast<WPARAM>(b)), reinterpret_cast<LRESULT>(a));
  EXPECT_EQ(Send(STM_GETICON), reinterpret_cast<LRESULT>(b));
  EXPECT_EQ(Send(STM_GETIMAGE, IMAGE_ICON), reinterpret_cast<LRESULT>(b));
  EXPECT_EQ(sim::InspectControl(Item())->icon, b);
  EXPECT_EQ(Send(WM_GETDLGCODE), DLGC_STATIC);
}
#endif

#if PLATFORM_TEST_SIMULATED  // the simulated user and the control's inner state
TEST_F(ButtonTest, AnIconStaticFromATemplateOrdinalHasNoTextToShow) {
  TemplateWriter t(WS_POPUP | WS_VISIBLE, 0, 0, 0, 100, 50, TEXT("Icon"));
  t.AddItem(kStaticAtom, TemplateWriter::TitleRef::Ordinal(128), 100, kChild | SS_ICON, 0, 0, 20, 20);
  Open(t);
  EXPECT_EQ(sim::InspectControl(Item())->text, TEXT(""));
}
#endif

}  // namespace
