// The ring-style preview of the keypad's ring-style key: the handset rings in the new style for a
// few seconds only, and a real call that rings meanwhile keeps ringing. Stored ring styles and
// lines outside what the handset takes count as 0.
#include "phone/handset_fixture.h"

namespace {

class RingPreviewTest : public HandsetFixture {
 protected:
  void StepRingStyle() {
    Run("window close");
    Run("handset key #");
    ASSERT_TRUE(Handset().ringing);
  }
};

TEST_F(RingPreviewTest, ThePreviewStopsWithinAFewSecondsAndLeavesTheDisplay) {
  StartWorld();
  StepRingStyle();
  Run("wait 2s");
  EXPECT_TRUE(Handset().ringing);
  Run("wait 2s");
  EXPECT_FALSE(Handset().ringing) << Transcript();
  EXPECT_EQ(Handset().ring_style, 1);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY);
}

TEST_F(RingPreviewTest, ANewStyleRingsForItsOwnFewSeconds) {
  StartWorld();
  StepRingStyle();
  Run("wait 2s");
  Run("handset key #");
  Run("wait 2s");
  EXPECT_TRUE(Handset().ringing) << "the second style rings its full time";
  EXPECT_EQ(Handset().ring_style, 2);
  Run("wait 2s");
  EXPECT_FALSE(Handset().ringing);
}

TEST_F(RingPreviewTest, ACallThatRingsMeanwhileKeepsRinging) {
  StartWorld();
  StepRingStyle();
  Ring();
  Run("wait 5s");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_RINGING);
  EXPECT_TRUE(Handset().ringing) << "the preview's end leaves a real call alone";
}

class StoredRingStyleTest : public RingPreviewTest, public ::testing::WithParamInterface<const char*> {};

INSTANTIATE_TEST_SUITE_P(OutOfRange, StoredRingStyleTest, ::testing::Values("2147483647", "-3", "10", "x"));

// The handset is told style 0, and the ring-style key goes on from there without overflowing.
TEST_P(StoredRingStyleTest, CountsAsZero) {
  Run(std::string("ini Tellbud.ini OPTION RingType \"") + GetParam() + "\"");
  StartWorld();
  EXPECT_NE(Transcript().find("handset SetRing(FALSE, 0)"), std::string::npos) << Transcript();
  EXPECT_EQ(Dialog()->m_nRingType, 0);
  Dialog()->m_nRingType = 2147483647;  // however it got there, the key steps to a real style
  StepRingStyle();
  EXPECT_PRINTED("handset SetRing(TRUE, 1)");
  EXPECT_NE(ReadFile("Tellbud.ini").find("RingType=1"), std::string::npos);
}

TEST_F(RingPreviewTest, AStoredLineOtherThanUsbIsTheTelephoneLine) {
  Run("ini Tellbud.ini OPTION ChannelType \"65537\"");
  Run("handset plug 0520");
  Run("start");
  Run("wait 2s");
  EXPECT_PRINTED("handset SetDefaultChannel(0)");
  EXPECT_EQ(Dialog()->m_nChannel, 0);
}

}  // namespace
