// expect's order over the script driver's transcript (script_transcript.h).
#include <gtest/gtest.h>

#include "tests/wine/script_transcript.h"

namespace wine_test {
namespace {

TEST(ScriptTranscript, ExpectTakesEachLineOnceInOrderWithSlackForLinesArrivingApart) {
  CScriptTranscript t;
  t.Add("window \"Tellbud<1.0>\" shown", 10000);
  t.Add("handset OpenDevice(0) -> FALSE", 10400);
  t.Add("window \"Tellbud<1.0>\" hidden", 13000);
  t.Add("window \"Tellbud<1.0>\" shown", 16000);
  EXPECT_TRUE(t.Take("\"Tellbud<1.0>\" shown"));
  EXPECT_TRUE(t.Take("hidden"));
  EXPECT_TRUE(t.Take("\"Tellbud<1.0>\" shown")) << "the second shown line";
  EXPECT_FALSE(t.Take("\"Tellbud<1.0>\" shown")) << "each line is taken once";
  EXPECT_FALSE(t.Take("OpenDevice")) << "long before the previous expect's line";

  // A line of another observer that arrived just before the line the previous expect took.
  t.Add("handset CloseDevice()", 20000);
  t.Add("window \"Tellbud<1.0>\" destroyed", 19700);
  EXPECT_TRUE(t.Take("destroyed"));
  EXPECT_TRUE(t.Take("CloseDevice()"));
  EXPECT_EQ(t.Open(), std::vector<std::string>{}) << "nothing else may be taken now";
  t.Add("tray remove", 20100);
  EXPECT_EQ(t.Open(), std::vector<std::string>{"tray remove"});
  EXPECT_EQ(t.All().size(), 7u);
}

}  // namespace
}  // namespace wine_test
