// The trackbar: range and position set by the program, and the user's drag as the parent hears
// it.
#include <gtest/gtest.h>
#include <windows.h>

#include "dialog_test_support.h"

#if PLATFORM_TEST_SIMULATED
#include <sim/controls.h>
#endif

namespace {

using namespace dialog_test;

class TrackbarTest : public ControlTest {};

TEST_F(TrackbarTest, StartsAtZeroInTheRangeZeroToHundred) {
  OpenWith(TRACKBAR_CLASSW, TBS_HORZ);
  EXPECT_EQ(Send(TBM_GETPOS), 0);
  EXPECT_EQ(Send(TBM_GETRANGEMIN), 0);
  EXPECT_EQ(Send(TBM_GETRANGEMAX), 100);
}

TEST_F(TrackbarTest, SetPosIsClampedToTheRangeAndTellsNobody) {
  OpenWith(TRACKBAR_CLASSW, TBS_HORZ);
  Send(TBM_SETPOS, TRUE, 40);
  EXPECT_EQ(Send(TBM_GETPOS), 40);
  Send(TBM_SETPOS, TRUE, 150);
  EXPECT_EQ(Send(TBM_GETPOS), 100);
  Send(TBM_SETPOS, TRUE, -3);
  EXPECT_EQ(Send(TBM_GETPOS), 0);
  EXPECT_TRUE(Codes(WM_HSCROLL).empty());
}

TEST_F(TrackbarTest, ANewRangeMovesThePositionInsideIt) {
  OpenWith(TRACKBAR_CLASSW, TBS_HORZ);
  Send(TBM_SETPOS, TRUE, 90);
  Send(TBM_SETRANGE, TRUE, MAKELPARAM(10, 50));
  EXPECT_EQ(Send(TBM_GETPOS), 50);
  Send(TBM_SETRANGEMIN, TRUE, 60);
  EXPECT_EQ(Send(TBM_GETRANGEMIN), 60);
  EXPECT_EQ(Send(TBM_GETPOS), 60);
  Send(TBM_SETRANGEMAX, TRUE, 0xFFFF);
  EXPECT_EQ(Send(TBM_GETRANGEMAX), 0xFFFF);
}

#if PLATFORM_TEST_SIMULATED  // the simulated user's drag
TEST_F(TrackbarTest, ADragTracksSettlesEndsAndReleasesTheCapture) {
  OpenWith(TRACKBAR_CLASSW, TBS_HORZ);
  script.events.clear();
  ASSERT_TRUE(sim::DragTrackbar(Item(), 70));
  desktop.RunUntilIdle();
  EXPECT_EQ(Send(TBM_GETPOS), 70);
  ASSERT_EQ(script.events.size(), 4u);
  EXPECT_EQ(script.events[0].msg, static_cast<UINT>(WM_HSCROLL));
  EXPECT_EQ(script.events[0].code, static_cast<UINT>(TB_THUMBTRACK));
  EXPECT_EQ(script.events[0].item, 70);
  EXPECT_EQ(script.events[0].from, reinterpret_cast<LPARAM>(Item()));
  EXPECT_EQ(script.events[1].code, static_cast<UINT>(TB_THUMBPOSITION));
  EXPECT_EQ(script.events[2].code, static_cast<UINT>(TB_ENDTRACK));
  EXPECT_EQ(script.events[3].msg, static_cast<UINT>(WM_NOTIFY));
  EXPECT_EQ(script.events[3].code, static_cast<UINT>(NM_RELEASEDCAPTURE));
  EXPECT_EQ(script.events[3].id, 100);
}
#endif

#if PLATFORM_TEST_SIMULATED  // the simulated user's drag
TEST_F(TrackbarTest, AVerticalTrackbarTellsWithVScrollAndDragsAreClamped) {
  OpenWith(TRACKBAR_CLASSW, TBS_VERT);
  sim::DragTrackbar(Item(), 500);
  desktop.RunUntilIdle();
  EXPECT_EQ(sim::InspectTrackbar(Item())->position, 100);
  EXPECT_FALSE(Codes(WM_VSCROLL).empty());
  EXPECT_TRUE(Codes(WM_HSCROLL).empty());
}
#endif

TEST_F(TrackbarTest, ArrowKeysStepByTheLineSize) {
  OpenWith(TRACKBAR_CLASSW, TBS_HORZ);
  PressKey(VK_RIGHT);
  PressKey(VK_RIGHT);
  EXPECT_EQ(Send(TBM_GETPOS), 2);
  auto codes = Codes(WM_HSCROLL);
  EXPECT_EQ(codes, (std::vector<UINT>{TB_LINEDOWN, TB_ENDTRACK, TB_LINEDOWN, TB_ENDTRACK}));
}

#if PLATFORM_TEST_SIMULATED  // the simulated user's drag
TEST_F(TrackbarTest, ADisabledTrackbarCannotBeDragged) {
  OpenWith(TRACKBAR_CLASSW, TBS_HORZ | WS_DISABLED);
  EXPECT_FALSE(sim::DragTrackbar(Item(), 10));
}
#endif

}  // namespace
