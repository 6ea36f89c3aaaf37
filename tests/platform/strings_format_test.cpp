// wsprintfW and the StringCch/StringCb printf family.
#include <gtest/gtest.h>
#include <strsafe.h>
#include <windows.h>

#include <sim/desktop.h>

#include <string>

namespace {

class WsprintfTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  WCHAR buffer[2048];

  template <typename... Args>
  std::u16string Format(LPCWSTR format, Args... args) {
    int n = wsprintfW(buffer, format, args...);
    EXPECT_EQ(n, lstrlenW(buffer));
    return buffer;
  }
};

TEST_F(WsprintfTest, IntegersHonourFlagsWidthAndPrecision) {
  EXPECT_EQ(Format(u"[%d|%i|%u]", -42, 7, 3000000000u), u"[-42|7|3000000000]");
  EXPECT_EQ(Format(u"[%5d|%-5d|%05d]", 42, 42, -42), u"[   42|42   |-0042]");
  EXPECT_EQ(Format(u"[%.3d|%x|%X|%#x|%#X]", 5, 255, 255, 255, 255), u"[005|ff|FF|0xff|0XFF]");
  EXPECT_EQ(Format(u"[%ld|%lu|%lx]", static_cast<LONG>(-1), static_cast<DWORD>(4000000000u), 0xBEEFul),
            u"[-1|4000000000|beef]");
  EXPECT_EQ(Format(u"[%hd|%hu]", 70000, 70000), u"[4464|4464]");
}

TEST_F(WsprintfTest, PrecisionZeroStillPrintsAZeroValue) { EXPECT_EQ(Format(u"[%.0d]", 0), u"[0]"); }

TEST_F(WsprintfTest, StringsAreWideUnlessCapitalOrNarrowPrefix) {
  EXPECT_EQ(Format(u"%s/%S/%hs/%ls", u"wide", "narrow", "h", u"l"), u"wide/narrow/h/l");
  EXPECT_EQ(Format(u"[%-6s|%6s|%.2s]", u"ab", u"ab", u"abcdef"), u"[ab    |    ab|ab]");
  EXPECT_EQ(Format(u"%s", static_cast<LPCWSTR>(nullptr)), u"(null)");
  EXPECT_EQ(Format(u"%S", "caf\xE9 \x80"), u"café €");  // the ANSI code page is Windows-1252
}

TEST_F(WsprintfTest, CharactersAndTheirZeroValue) {
  EXPECT_EQ(Format(u"%c%C%c", u'é', 'x', u'Σ'), u"éxΣ");
  EXPECT_EQ(Format(u"[%c]", 0), u"[]");
}

TEST_F(WsprintfTest, PercentAndUnknownFieldsAreCopied) { EXPECT_EQ(Format(u"100%% %f %q"), u"100% f q"); }

TEST_F(WsprintfTest, PointerPrintsEightUpperCaseDigits) {
  EXPECT_EQ(Format(u"%p", reinterpret_cast<void*>(0xAB12)), u"0000AB12");
}

TEST_F(WsprintfTest, OutputStopsAt1023CharactersAndATerminator) {
  std::u16string long_text(1500, u'x');
  buffer[1023] = u'?';
  buffer[1024] = u'?';
  int n = wsprintfW(buffer, u"%s", long_text.c_str());
  EXPECT_EQ(n, 1023);
  EXPECT_EQ(buffer[1023], 0);
  EXPECT_EQ(buffer[1024], u'?');
}

TEST_F(WsprintfTest, NullBufferReturnsZero) { EXPECT_EQ(wsprintfW(nullptr, u"x"), 0); }

class StringCchPrintfTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
};

TEST_F(StringCchPrintfTest, FloatingPointHasTheCLibraryMeaning) {
  WCHAR out[64];
  ASSERT_EQ(StringCchPrintfW(out, 64, u"%.2f|%5.1f|%e|%g", 3.14159, 2.25, 1500.0, 0.0001), S_OK);
  EXPECT_EQ(std::u16string(out), u"3.14|  2.2|1.500000e+03|0.0001");
}

TEST_F(StringCchPrintfTest, CLibraryFlagsAndStarWidths) {
  WCHAR out[64];
  ASSERT_EQ(StringCchPrintfW(out, 64, u"%+d|% d|%*d|%-*d|%.*s|%lld|%I64u", 5, 5, 4, 1, 3, 2, 2, u"abc",
                             -9000000000ll, 18000000000ull),
            S_OK);
  EXPECT_EQ(std::u16string(out), u"+5| 5|   1|2  |ab|-9000000000|18000000000");
  ASSERT_EQ(StringCchPrintfW(out, 64, u"%.0d|%o|%#o", 0, 8, 8), S_OK);
  EXPECT_EQ(std::u16string(out), u"|10|010");
}

TEST_F(StringCchPrintfTest, TooLongOutputIsCutTerminatedAndReported) {
  WCHAR out[8];
  EXPECT_EQ(StringCchPrintfW(out, 8, u"%s-%d", u"abcdef", 12345), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(out), u"abcdef-");
  WCHAR exact[8];
  EXPECT_EQ(StringCchPrintfW(exact, 8, u"%s", u"1234567"), S_OK);
  EXPECT_EQ(std::u16string(exact), u"1234567");
}

TEST_F(StringCchPrintfTest, ZeroSizeIsAnInvalidParameterAndWritesNothing) {
  WCHAR out[4] = {u'k', 0};
  EXPECT_EQ(StringCchPrintfW(out, 0, u"x"), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(out[0], u'k');
  EXPECT_EQ(StringCbPrintfW(out, 1, u"x"), STRSAFE_E_INVALID_PARAMETER);
}

TEST_F(StringCchPrintfTest, ByteCountedVariantUsesHalfAsManyCharacters) {
  WCHAR out[8];
  EXPECT_EQ(StringCbPrintfW(out, 8, u"%d", 123456),
            STRSAFE_E_INSUFFICIENT_BUFFER);  // room for 3 + terminator
  EXPECT_EQ(std::u16string(out), u"123");
}

TEST_F(StringCchPrintfTest, PercentNNeverWritesThroughItsArgument) {
  WCHAR out[16];
  int count = -1;
  EXPECT_EQ(StringCchPrintfW(out, 16, u"ab%n%d", &count, 7), S_OK);
  EXPECT_EQ(std::u16string(out), u"ab7");
  EXPECT_EQ(count, -1);
}

}  // namespace
