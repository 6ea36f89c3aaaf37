// The lstr family and the strsafe copy, concatenation and length functions.
#include <gtest/gtest.h>
#include <strsafe.h>
#include <windows.h>

#include <sim/desktop.h>

#include <string>

namespace {

class LstrTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
};

TEST_F(LstrTest, LengthOfNullIsZero) {
  EXPECT_EQ(lstrlenW(nullptr), 0);
  EXPECT_EQ(lstrlenW(u"abc"), 3);
}

TEST_F(LstrTest, CopynCopiesAtMostNMinusOneAndTerminates) {
  WCHAR out[8];
  std::fill(std::begin(out), std::end(out), u'#');
  EXPECT_EQ(lstrcpynW(out, u"abcdef", 4), out);
  EXPECT_EQ(std::u16string(out), u"abc");
  EXPECT_EQ(out[4], u'#');
  lstrcpynW(out, u"xy", 8);
  EXPECT_EQ(std::u16string(out), u"xy");
}

TEST_F(LstrTest, CopynWithNoRoomWritesNothing) {
  WCHAR out[2] = {u'#', u'#'};
  lstrcpynW(out, u"abc", 0);
  lstrcpynW(out, u"abc", -5);
  EXPECT_EQ(out[0], u'#');
  lstrcpynW(out, u"abc", 1);
  EXPECT_EQ(out[0], 0);
}

TEST_F(LstrTest, CopyAndConcatenateRefuseNullPointers) {
  WCHAR out[16];
  EXPECT_EQ(lstrcpyW(out, u"ab"), out);
  EXPECT_EQ(lstrcatW(out, u"cd"), out);
  EXPECT_EQ(std::u16string(out), u"abcd");
  EXPECT_EQ(lstrcpyW(nullptr, u"x"), nullptr);
  EXPECT_EQ(lstrcatW(out, nullptr), nullptr);
}

class StrSafeCopyTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
};

TEST_F(StrSafeCopyTest, CopyCutsToTheDestinationAndReportsIt) {
  WCHAR out[4];
  EXPECT_EQ(StringCchCopyW(out, 4, u"abc"), S_OK);
  EXPECT_EQ(std::u16string(out), u"abc");
  EXPECT_EQ(StringCchCopyW(out, 4, u"abcdef"), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(out), u"abc");
  EXPECT_EQ(StringCbCopyW(out, sizeof out, u"wxyz"), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(out), u"wxy");
}

TEST_F(StrSafeCopyTest, InvalidSizesAndPointersAreRejected) {
  WCHAR out[4] = {u'k', 0};
  EXPECT_EQ(StringCchCopyW(out, 0, u"a"), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(out[0], u'k');
  EXPECT_EQ(StringCchCopyW(out, 4, nullptr), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(out[0], 0);  // a usable destination is left empty
  EXPECT_EQ(StringCchCopyW(nullptr, 4, u"a"), STRSAFE_E_INVALID_PARAMETER);
}

TEST_F(StrSafeCopyTest, CopyNStopsAtTheCountOrTheTerminator) {
  WCHAR out[8];
  EXPECT_EQ(StringCchCopyNW(out, 8, u"abcdef", 3), S_OK);
  EXPECT_EQ(std::u16string(out), u"abc");
  EXPECT_EQ(StringCchCopyNW(out, 8, u"ab", 6), S_OK);
  EXPECT_EQ(std::u16string(out), u"ab");
  EXPECT_EQ(StringCchCopyNW(out, 3, u"abcdef", 6), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(out), u"ab");
}

TEST_F(StrSafeCopyTest, CatAppendsWithinTheWholeBuffer) {
  WCHAR out[6] = u"ab";
  EXPECT_EQ(StringCchCatW(out, 6, u"cd"), S_OK);
  EXPECT_EQ(std::u16string(out), u"abcd");
  EXPECT_EQ(StringCchCatW(out, 6, u"efg"), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(out), u"abcde");
}

TEST_F(StrSafeCopyTest, CatRefusesAnUnterminatedDestination) {
  WCHAR out[3] = {u'a', u'b', u'c'};
  EXPECT_EQ(StringCchCatW(out, 3, u"d"), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(out[2], u'c');
}

TEST_F(StrSafeCopyTest, LengthLooksNoFurtherThanTheMaximum) {
  size_t length = 99;
  EXPECT_EQ(StringCchLengthW(u"abcd", 10, &length), S_OK);
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(StringCchLengthW(u"abcd", 4, &length), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(StringCchLengthW(nullptr, 4, &length), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(StringCchLengthW(u"a", STRSAFE_MAX_CCH + 1ull, nullptr), STRSAFE_E_INVALID_PARAMETER);
}

}  // namespace
