// The world's conversion of the program's UTF-16 text to UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "world/common/utf8.h"

namespace world {
namespace {

std::string Convert(const std::u16string& s) { return Utf8Of(s.data(), s.size()); }

TEST(Utf16ToUtf8Test, EncodesEachLengthOfSequence) {
  EXPECT_EQ(Convert(u"bob@example.com"), "bob@example.com");
  EXPECT_EQ(Convert(u"J\u00f6rg"), "J\xc3\xb6rg");
  EXPECT_EQ(Convert(u"\u20ac"), "\xe2\x82\xac");
  EXPECT_EQ(Convert(u"\U0001F600"), "\xf0\x9f\x98\x80");
}

TEST(Utf16ToUtf8Test, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::string replacement = "\xef\xbf\xbd";
  EXPECT_EQ(Convert(std::u16string(1, u'\xD83D') + u"x"), replacement + "x");
  EXPECT_EQ(Convert(std::u16string(1, u'\xDE00')), replacement);
  EXPECT_EQ(Convert(std::u16string(1, u'\xD83D')), replacement);  // cut at the end of the text
}

TEST(Utf16ToUtf8Test, KeepsEmbeddedNullsWithinTheGivenLength) {
  std::u16string s(u"a\0b", 3);
  EXPECT_EQ(Convert(s), std::string("a\0b", 3));
}

TEST(Utf16ToUtf8Test, NullTextIsEmpty) { EXPECT_EQ(Utf8Of(nullptr, 5), ""); }

}  // namespace
}  // namespace world
