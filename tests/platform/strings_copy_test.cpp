// The lstr family and the strsafe copy, concatenation and length functions.
#define STRSAFE_NO_DEPRECATE  // the lstr functions are tested here too
#include <gtest/gtest.h>
#include <windows.h>

#include <strsafe.h>

#include "support/test_desktop.h"

#include <string>

namespace {

class LstrTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
};

TEST_F(LstrTest, LengthOfNullIsZero) {
  EXPECT_EQ(lstrlenW(nullptr), 0);
  EXPECT_EQ(lstrlenW(TEXT("abc")), 3);
}

TEST_F(LstrTest, CopynCopiesAtMostNMinusOneAndTerminates) {
  WCHAR out[8];
  std::fill(std::begin(out), std::end(out), TEXT('#'));
  EXPECT_EQ(lstrcpynW(out, TEXT("abcdef"), 4), out);
  EXPECT_EQ(WString(out), TEXT("abc"));
  EXPECT_EQ(out[4], TEXT('#'));
  lstrcpynW(out, TEXT("xy"), 8);
  EXPECT_EQ(WString(out), TEXT("xy"));
}

TEST_F(LstrTest, CopynWithNoRoomWritesNothing) {
  WCHAR out[2] = {TEXT('#'), TEXT('#')};
  lstrcpynW(out, TEXT("abc"), 0);
  EXPECT_EQ(out[0], TEXT('#'));
  lstrcpynW(out, TEXT("abc"), 1);
  EXPECT_EQ(out[0], 0);
  SKIP_ON_WINE("a negative length is undocumented; Wine copies the whole string");
  out[0] = TEXT('#');
  lstrcpynW(out, TEXT("abc"), -5);
  EXPECT_EQ(out[0], TEXT('#'));
}

TEST_F(LstrTest, CopyAndConcatenateRefuseNullPointers) {
  WCHAR out[16];
  EXPECT_EQ(lstrcpyW(out, TEXT("ab")), out);
  EXPECT_EQ(lstrcatW(out, TEXT("cd")), out);
  EXPECT_EQ(WString(out), TEXT("abcd"));
  EXPECT_EQ(lstrcpyW(nullptr, TEXT("x")), nullptr);
  EXPECT_EQ(lstrcatW(out, nullptr), nullptr);
}

class StrSafeCopyTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
};

TEST_F(StrSafeCopyTest, CopyCutsToTheDestinationAndReportsIt) {
  WCHAR out[4];
  EXPECT_EQ(StringCchCopyW(out, 4, TEXT("abc")), S_OK);
  EXPECT_EQ(WString(out), TEXT("abc"));
  EXPECT_EQ(StringCchCopyW(out, 4, TEXT("abcdef")), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(WString(out), TEXT("abc"));
  EXPECT_EQ(StringCbCopyW(out, sizeof out, TEXT("wxyz")), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(WString(out), TEXT("wxy"));
}

TEST_F(StrSafeCopyTest, InvalidSizesAndPointersAreRejected) {
  WCHAR out[4] = {TEXT('k'), 0};
  EXPECT_EQ(StringCchCopyW(out, 0, TEXT("a")), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(out[0], TEXT('k'));
  SKIP_ON_WINE(
      "null pointers: StringCchCopy asks for none (StringCchCopyEx takes them); mingw strsafe.h dereferences "
      "them");
  EXPECT_EQ(StringCchCopyW(out, 4, nullptr), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(out[0], 0);  // a usable destination is left empty
  EXPECT_EQ(StringCchCopyW(nullptr, 4, TEXT("a")), STRSAFE_E_INVALID_PARAMETER);
}

TEST_F(StrSafeCopyTest, CopyNStopsAtTheCountOrTheTerminator) {
  WCHAR out[8];
  EXPECT_EQ(StringCchCopyNW(out, 8, TEXT("abcdef"), 3), S_OK);
  EXPECT_EQ(WString(out), TEXT("abc"));
  EXPECT_EQ(StringCchCopyNW(out, 8, TEXT("ab"), 6), S_OK);
  EXPECT_EQ(WString(out), TEXT("ab"));
  EXPECT_EQ(StringCchCopyNW(out, 3, TEXT("abcdef"), 6), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(WString(out), TEXT("ab"));
}

TEST_F(StrSafeCopyTest, CatAppendsWithinTheWholeBuffer) {
  WCHAR out[6] = TEXT("ab");
  EXPECT_EQ(StringCchCatW(out, 6, TEXT("cd")), S_OK);
  EXPECT_EQ(WString(out), TEXT("abcd"));
  EXPECT_EQ(StringCchCatW(out, 6, TEXT("efg")), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(WString(out), TEXT("abcde"));
}

TEST_F(StrSafeCopyTest, CatRefusesAnUnterminatedDestination) {
  WCHAR out[3] = {TEXT('a'), TEXT('b'), TEXT('c')};
  EXPECT_EQ(StringCchCatW(out, 3, TEXT("d")), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(out[2], TEXT('c'));
}

TEST_F(StrSafeCopyTest, LengthLooksNoFurtherThanTheMaximum) {
  size_t length = 99;
  EXPECT_EQ(StringCchLengthW(TEXT("abcd"), 10, &length), S_OK);
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(StringCchLengthW(TEXT("abcd"), 4, &length), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(StringCchLengthW(nullptr, 4, &length), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(StringCchLengthW(TEXT("a"), STRSAFE_MAX_CCH + 1ull, nullptr), STRSAFE_E_INVALID_PARAMETER);
}

}  // namespace
