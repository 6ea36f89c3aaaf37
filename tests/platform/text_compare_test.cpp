// The simulated desktop's linguistic comparison (ICU), which the string functions build on.
#include <gtest/gtest.h>

#include <sim/desktop.h>

#include "platform/sim/kernel/text_compare.h"

namespace {

class TextCompareTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
};

TEST_F(TextCompareTest, IgnoreCaseHoldsForEveryScript) {
  EXPECT_EQ(sim::CompareIgnoreCase(u"ÉCOLE", u"école"), 0);
  EXPECT_EQ(sim::CompareIgnoreCase(u"Äpfel", u"äPFEL"), 0);
  EXPECT_EQ(sim::CompareIgnoreCase(u"ΣΟΦΟΣ", u"σοφος"), 0);
  EXPECT_EQ(sim::CompareIgnoreCase(u"σοφοσ", u"σοφος"), 0);  // final sigma folds too
  EXPECT_EQ(sim::CompareIgnoreCase(u"ПРИВЕТ", u"привет"), 0);
}

TEST_F(TextCompareTest, AccentsAndWidthStillCount) {
  EXPECT_NE(sim::CompareIgnoreCase(u"e", u"é"), 0);
  EXPECT_NE(sim::CompareIgnoreCase(u"A", u"Ａ"), 0);
}

TEST_F(TextCompareTest, OrderIsLinguisticAndAntisymmetric) {
  EXPECT_EQ(sim::CompareIgnoreCase(u"apple", u"Banana"), -1);
  EXPECT_EQ(sim::CompareIgnoreCase(u"Banana", u"apple"), 1);
  EXPECT_EQ(sim::CompareIgnoreCase(u"é", u"f"), -1);  // not code-unit order
  EXPECT_EQ(sim::CompareLinguistic(u"a", u"B"), -1);
  EXPECT_NE(sim::CompareLinguistic(u"a", u"A"), 0);
}

TEST_F(TextCompareTest, PrefixMatchIgnoresCaseOnly) {
  EXPECT_TRUE(sim::StartsWithIgnoreCase(u"Éclair au café", u"éCL"));
  EXPECT_TRUE(sim::StartsWithIgnoreCase(u"anything", u""));
  EXPECT_FALSE(sim::StartsWithIgnoreCase(u"eclair", u"é"));
  EXPECT_FALSE(sim::StartsWithIgnoreCase(u"ab", u"abc"));
}

}  // namespace
