// BSTR layout and lengths: a 32-bit byte count before the characters, a null character after
// them, and lengths taken from the count rather than the terminator.
#include <gtest/gtest.h>
#include <oleauto.h>

#include <cstring>
#include <string>

namespace {

DWORD PrefixOf(BSTR bstr) {
  DWORD prefix;
  std::memcpy(&prefix, reinterpret_cast<const BYTE*>(bstr) - sizeof(DWORD), sizeof(prefix));
  return prefix;
}

TEST(BstrTest, PrefixHoldsTheByteLengthAndTheTextIsTerminated) {
  BSTR bstr = SysAllocString(u"Hello");
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(PrefixOf(bstr), 10u);
  EXPECT_EQ(SysStringLen(bstr), 5u);
  EXPECT_EQ(SysStringByteLen(bstr), 10u);
  EXPECT_EQ(bstr[5], 0);
  EXPECT_EQ(std::u16string(bstr), u"Hello");
  SysFreeString(bstr);
}

TEST(BstrTest, LengthComesFromThePrefixSoEmbeddedNullsCount) {
  const OLECHAR text[] = {u'a', 0, u'b'};
  BSTR bstr = SysAllocStringLen(text, 3);
  EXPECT_EQ(SysStringLen(bstr), 3u);
  EXPECT_EQ(bstr[2], u'b');
  EXPECT_EQ(bstr[3], 0);
  SysFreeString(bstr);
}

TEST(BstrTest, NullSourceGivesATerminatedStringOfTheRequestedLength) {
  BSTR bstr = SysAllocStringLen(nullptr, 4);
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringLen(bstr), 4u);
  EXPECT_EQ(bstr[4], 0);
  std::memcpy(bstr, u"abcd", 4 * sizeof(OLECHAR));  // the caller fills it
  EXPECT_EQ(std::u16string(bstr), u"abcd");
  SysFreeString(bstr);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
}

TEST(BstrTest, EmptyStringIsNotNull) {
  BSTR bstr = SysAllocString(u"");
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
  BSTR bstr = SysAllocString(u"Hello, world");
  ASSERT_TRUE(SysReAllocString(&bstr, bstr + 7));
  EXPECT_EQ(std::u16string(bstr, SysStringLen(bstr)), u"world");
  ASSERT_TRUE(SysReAllocStringLen(&bstr, bstr, 3));
  EXPECT_EQ(std::u16string(bstr, SysStringLen(bstr)), u"wor");
  EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
  SysFreeString(bstr);
}

TEST(BstrTest, ReallocatingANullStringAllocatesOne) {
  BSTR bstr = nullptr;
  ASSERT_TRUE(SysReAllocString(&bstr, u"new"));
  EXPECT_EQ(std::u16string(bstr), u"new");
  SysFreeString(bstr);
}

}  // namespace
