// Text conversions for transcript lines and the world's arguments.
#include <gtest/gtest.h>

#include "world/messenger/text.h"

namespace world::messenger {
namespace {

TEST(TextTest, Utf8RoundTripKeepsEveryPlane) {
  std::string s = "Bob \xC3\xA9t\xC3\xA9 \xE2\x80\x99 \xF0\x9F\x98\x80";
  Text t = FromUtf8(s);
  EXPECT_EQ(t.size(), 12u);  // the emoji takes a surrogate pair
  EXPECT_EQ(ToUtf8(t), s);
}

TEST(TextTest, BrokenInputBecomesReplacementCharacters) {
  EXPECT_EQ(ToUtf8(FromUtf8("a\xC3")), "a\xEF\xBF\xBD");                     // cut sequence
  EXPECT_EQ(ToUtf8(FromUtf8("\xC0\xAF")), "\xEF\xBF\xBD\xEF\xBF\xBD");       // overlong form
  EXPECT_EQ(ToUtf8(FromUtf8("\xED\xA0\x80")).substr(0, 3), "\xEF\xBF\xBD");  // encoded surrogate
  Text lone{static_cast<WCHAR>(0xD800), 'x'};
  EXPECT_EQ(ToUtf8(lone), "\xEF\xBF\xBDx");
}

TEST(TextTest, SigninNamesCompareWithoutAsciiCase) {
  EXPECT_TRUE(SameSigninName(TEXT("Bob@Example.COM"), TEXT("bob@example.com")));
  EXPECT_FALSE(SameSigninName(TEXT("bob@example.com"), TEXT("bob@example.co")));
  EXPECT_FALSE(SameSigninName(TEXT("bob@example.com"), TEXT("rob@example.com")));
}

}  // namespace
}  // namespace world::messenger
