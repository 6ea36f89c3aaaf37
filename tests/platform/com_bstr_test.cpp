// BSTR layout and lengths: a 32-bit byte count before the characters, a null character after
// them, and lengths taken from the count rather than the terminator.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleauto.h>

#include <cstring>
#include <string>

#include "support/wide_string.h"

namespace {

DWORD PrefixOf(BSTR bstr) {
  DWORD prefix;
  std::memcpy(&prefix, reinterpret_cast<const BYTE*>(bstr) - sizeof(DWORD), sizeof(prefix));
  return prefix;
}

TEST(BstrTest, PrefixHoldsTheByteLengthAndTheTextIsTerminated) {
  BSTR bstr = SysAllocString(TEXT("Hello"));
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(PrefixOf(bstr), 10u);
  EXPECT_EQ(SysStringLen(bstr), 5u);
  EXPECT_EQ(SysStringByteLen(bstr), 10u);
  EXPECT_EQ(bstr[5], 0);
  EXPECT_EQ(WString(bstr), TEXT("Hello"));
  SysFreeString(bstr);
}

TEST(BstrTest, LengthComesFromThePrefixSoEmbeddedNullsCount) {
  const OLECHAR text[] = {TEXT('a'), 0, TEXT('b')};
  BSTR bstr = SysAllocStringLen(text, 3);
  EXPECT_EQ(SysStringLen(bstr), 3u);
  EXPECT_EQ(bstr[2], TEXT('b'));
  EXPECT_EQ(bstr[3], 0);
  SysFreeString(bstr);
}

TEST(BstrTest, NullSourceGivesATerminatedStringOfTheRequestedLength) {
  BSTR bstr = SysAllocStringLen(nullptr, 4);
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringLen(bstr), 4u);
  EXPECT_EQ(bstr[4], 0);
  std::memcpy(bstr, TEXT("abcd"), 4 * sizeof(OLECHAR));  // the caller fills it
  EXPECT_EQ(WString(bstr), TEXT("abcd"));
  SysFreeString(bstr);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
}

TEST(BstrTest, EmptyStringIsNotNull) {
  BSTR bstr = SysAllocString(TEXT(""));
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringLen(bstr), 0u);
  EXPECT_EQ(bstr[0], 0);
  SysFreeString(bstr);
}

TEST(BstrTest, ByteLengthStringsKeepAnOddLength) {
  BSTR bstr = SysAllocStringByteLen("abc", 3);
  EXPECT_EQ(SysStringByteLen(bstr), 3u);
  EXPECT_EQ(SysStringLen(bstr), 1u);
  EXPECT_EQ(std::memcmp(bstr, "abc", 3), 0);
  EXPECT_EQ(bstr[2], 0);  // a whole null character follows the odd byte
  SysFreeString(bstr);
}

TEST(BstrTest, NullStringsHaveZeroLengthAndFreeingThemIsFine) {
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
}

TEST(BstrTest, ImpossibleLengthsFailInsteadOfOverflowing) {
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);
  EXPECT_EQ(SysAllocStringByteLen(nullptr, 0xFFFFFFFFu), nullptr);
}

TEST(BstrTest, ReallocationMayReuseTextOfTheOldString) {
  BSTR bstr = SysAllocString(TEXT("Hello, world"));
  ASSERT_TRUE(SysReAllocString(&bstr, bstr + 7));
  EXPECT_EQ(WString(bstr, SysStringLen(bstr)), TEXT("world"));
  ASSERT_TRUE(SysReAllocStringLen(&bstr, bstr, 3));
  EXPECT_EQ(WString(bstr, SysStringLen(bstr)), TEXT("wor"));
  EXPECT_FALSE(SysReAllocString(nullptr, TEXT("x")));
  SysFreeString(bstr);
}

TEST(BstrTest, ReallocatingANullStringAllocatesOne) {
  BSTR bstr = nullptr;
  ASSERT_TRUE(SysReAllocString(&bstr, TEXT("new")));
  EXPECT_EQ(WString(bstr), TEXT("new"));
  SysFreeString(bstr);
}

}  // namespace
