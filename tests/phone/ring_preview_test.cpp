// The ring-style preview of the keypad's ring-style key: the handset rings in the new style for a
// few seconds only, and a real call that rings meanwhile keeps ringing. A stored ring style
// outside 0..9 or a line other than 1 counts as 0.
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

TEST_F(RingPreviewTest, ThePreviewStopsWithinAFewSecondsAndANewStyleStartsItsOwn) {
  StartWorld();
  StepRingStyle();
  Run("wait 2s");
  Run("handset key #");
  Run("wait 2s");
  EXPECT_TRUE(Handset().ringing) << "the second style rings its full time";
  Run("wait 2s");
  EXPECT_FALSE(Handset().ringing) << Transcript();
  EXPECT_EQ(Handset().ring_style, 2);
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

INSTANTIATE_TEST_SUITE_P(OutOfRange, StoredRingStyleTest, ::testing::Values("2147483647", "-3", "10"));

// The handset is told style 0, and the ring-style key goes on from there without overflowing.
TEST_P(StoredRingStyleTest, CountsAsZero) {
  Run(std::string("ini Tellbud.ini OPTION RingType \"") + GetParam() + "\"");
  StartWorld();
  EXPECT_NE(Transcript().find("handset SetRing(FALSE, 0)"), std::string::npos) << Transcript();
  Dialog()->m_nRingType = 2147483647;  // however it got there, the key steps to a real style
  StepRingStyle();
  EXPECT_PRINTED("handset SetRing(TRUE, 1)");
  EXPECT_NE(ReadFile("Tellbud.ini").find("RingType=1"), std::string::npos);
}

TEST_F(RingPreviewTest, AStoredLineOtherThanUsbIsTheTelephoneLine) {
  Run("ini Tellbud.ini OPTION ChannelType \"65537\"");
  StartWorld("0520");
  EXPECT_NE(Transcript().find("handset SetDefaultChannel(0)"), std::string::npos) << Transcript();
}

}  // namespace
