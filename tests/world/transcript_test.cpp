// The transcript's line format and what `expect` may see.
#include <gtest/gtest.h>

#include "world/core/transcript.h"

namespace {

class TranscriptTest : public ::testing::Test {
 protected:
  int64_t now = 0;
  std::vector<std::string> printed;
  world::Transcript transcript{[this] { return now; }};
  void SetUp() override {
    transcript.SetSink([this](const std::string& line) { printed.push_back(line); });
  }
};

TEST(TimestampTest, ShowsMinutesSecondsAndMilliseconds) {
  EXPECT_EQ(world::FormatTimestamp(0), "[00:00.000]");
  EXPECT_EQ(world::FormatTimestamp(61001), "[01:01.001]");
  EXPECT_EQ(world::FormatTimestamp(59999), "[00:59.999]");
}

TEST(TimestampTest, MinutesKeepCountingPastAnHour) {
  EXPECT_EQ(world::FormatTimestamp(62 * 60000 + 3004), "[62:03.004]");
  EXPECT_EQ(world::FormatTimestamp(1000 * 60000), "[1000:00.000]");
}

TEST_F(TranscriptTest, EventLineCarriesTheVirtualTimeAndSource) {
  now = 2500;
  transcript.Report("handset", "SetIdle() -> 0");
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0], "[00:02.500] handset SetIdle() -> 0");
}

TEST_F(TranscriptTest, QuoteEscapesQuotesAndBackslashes) {
  EXPECT_EQ(world::Quote(R"(say "hi" \ bye)"), R"("say \"hi\" \\ bye")");
}

TEST_F(TranscriptTest, ExpectFindsALinePrintedSinceThePreviousExpectOnly) {
  transcript.Report("tray", "add \"Tellbud\"");
  EXPECT_TRUE(transcript.Expect("tray add"));
  EXPECT_FALSE(transcript.Expect("tray add")) << "the line was before the previous expect";
  transcript.Report("tray", "remove");
  EXPECT_TRUE(transcript.Expect("remove"));
}

TEST_F(TranscriptTest, LinesOfOneCommandAreExpectedInTheirOrder) {
  transcript.Report("window", "\"Bob - Dialog\" shown");
  transcript.Report("history", "\"Bob - Dialog\" \"invitation\"");
  transcript.Report("window", "\"Bob - Dialog\" foreground");
  EXPECT_TRUE(transcript.Expect("shown"));
  EXPECT_TRUE(transcript.Expect("foreground"));
  EXPECT_FALSE(transcript.Expect("invitation")) << "a line before the previous match is not seen again";
}

TEST_F(TranscriptTest, AFailedExpectAlsoStartsANewWindow) {
  transcript.Report("window", "\"Tellbud\" shown");
  EXPECT_FALSE(transcript.Expect("hidden"));
  EXPECT_FALSE(transcript.Expect("shown")) << "lines before a failed expect are not seen again";
}

TEST_F(TranscriptTest, CommandOutputIsPrintedAsItIsAndSeenByExpect) {
  transcript.Print("call state: unknown");
  EXPECT_EQ(printed.back(), "call state: unknown");
  EXPECT_TRUE(transcript.Expect("call state: unknown"));
}

TEST_F(TranscriptTest, ExpectMatchesTheTimestampedLineAsPrinted) {
  now = 1000;
  transcript.Report("keyboard", "0x12 down");
  EXPECT_TRUE(transcript.Expect("[00:01.000] keyboard 0x12 down"));
}

TEST_F(TranscriptTest, KeepsOnlyWhatTheNextExpectMaySeeAndAtMostTheLimit) {
  transcript.Report("tray", "add");
  transcript.Report("tray", "icon");
  EXPECT_TRUE(transcript.Expect("add"));
  EXPECT_EQ(transcript.lines().size(), 1u) << "the matched line and those before it are forgotten";
  const size_t limit = world::Transcript::kKeptLines;
  for (size_t i = 0; i < limit + 10; ++i) transcript.Report("line", std::to_string(i));
  EXPECT_EQ(transcript.lines().size(), limit);
  EXPECT_EQ(printed.size(), limit + 12) << "every line is still printed";
  EXPECT_FALSE(transcript.Expect("tray icon")) << "older than the last kKeptLines lines";
  transcript.Report("line", "last");
  EXPECT_TRUE(transcript.Expect("line last"));
}

}  // namespace
