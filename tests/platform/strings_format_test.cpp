// wsprintfW and the StringCch/StringCb printf family.
#define STRSAFE_NO_DEPRECATE  // wsprintfW is tested here too
#include <gtest/gtest.h>
#include <windows.h>

#include <strsafe.h>

#include "support/test_desktop.h"

#include <string>

namespace {

class WsprintfTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
  WCHAR buffer[2048];

  template <typename... Args>
  WString Format(LPCWSTR format, Args... args) {
    int n = wsprintfW(buffer, format, args...);
    EXPECT_EQ(n, lstrlenW(buffer));
    return buffer;
  }
};

TEST_F(WsprintfTest, IntegersHonourFlagsWidthAndPrecision) {
  EXPECT_EQ(Format(TEXT("[%d|%i|%u]"), -42, 7, 3000000000u), TEXT("[-42|7|3000000000]"));
  EXPECT_EQ(Format(TEXT("[%5d|%-5d|%05d]"), 42, 42, -42), TEXT("[   42|42   |-0042]"));
  EXPECT_EQ(Format(TEXT("[%.3d|%x|%X|%#x|%#X]"), 5, 255, 255, 255, 255), TEXT("[005|ff|FF|0xff|0XFF]"));
  EXPECT_EQ(Format(TEXT("[%ld|%lu|%lx]"), static_cast<LONG>(-1), static_cast<DWORD>(4000000000u), 0xBEEFul),
            TEXT("[-1|4000000000|beef]"));
  SKIP_ON_WINE(
      "h on an integer: wsprintf documents h for characters and strings only; Wine prints the whole int");
  EXPECT_EQ(Format(TEXT("[%hd|%hu]"), 70000, 70000), TEXT("[4464|4464]"));
}

TEST_F(WsprintfTest, PrecisionZeroStillPrintsAZeroValue) {
  EXPECT_EQ(Format(TEXT("[%.0d]"), 0), TEXT("[0]"));
}

TEST_F(WsprintfTest, StringsAreWideUnlessCapitalOrNarrowPrefix) {
  EXPECT_EQ(Format(TEXT("%s/%S/%hs/%ls"), TEXT("wide"), "narrow", "h", TEXT("l")), TEXT("wide/narrow/h/l"));
  EXPECT_EQ(Format(TEXT("[%-6s|%6s|%.2s]"), TEXT("ab"), TEXT("ab"), TEXT("abcdef")),
            TEXT("[ab    |    ab|ab]"));
  EXPECT_EQ(Format(TEXT("%s"), static_cast<LPCWSTR>(nullptr)), TEXT("(null)"));
  EXPECT_EQ(Format(TEXT("%S"), "caf\xE9 \x80"), TEXT("café €"));  // the ANSI code page is Windows-1252
}

TEST_F(WsprintfTest, CharactersAndTheirZeroValue) {
  EXPECT_EQ(Format(TEXT("%c%C%c"), TEXT('é'), 'x', TEXT('Σ')), TEXT("éxΣ"));
  SKIP_ON_WINE("a %c of 0 is undocumented; Wine stores the null character and counts it");
  EXPECT_EQ(Format(TEXT("[%c]"), 0), TEXT("[]"));
}

TEST_F(WsprintfTest, PercentAndUnknownFieldsAreCopied) {
  EXPECT_EQ(Format(TEXT("100%% %f %q")), TEXT("100% f q"));
}

TEST_F(WsprintfTest, PointerPrintsEightUpperCaseDigits) {
  if (sizeof(void*) == 8)
    SKIP_ON_WINE("a pointer has 16 digits in a 64-bit program; the 32-bit Tellbud.exe has 8");
  EXPECT_EQ(Format(TEXT("%p"), reinterpret_cast<void*>(0xAB12)), TEXT("0000AB12"));
}

TEST_F(WsprintfTest, OutputStopsAt1023CharactersAndATerminator) {
  WString long_text(1500, TEXT('x'));
  buffer[1023] = TEXT('?');
  buffer[1024] = TEXT('?');
  int n = wsprintfW(buffer, TEXT("%s"), long_text.c_str());
  EXPECT_EQ(buffer[1023], 0);
  EXPECT_EQ(buffer[1024], TEXT('?'));
  SKIP_ON_WINE(
      "wsprintf documents the count of characters stored without the terminator; Wine counts 1,024 for "
      "1,023");
  EXPECT_EQ(n, 1023);
}

TEST_F(WsprintfTest, NullBufferReturnsZero) {
  SKIP_ON_WINE("a null buffer is undocumented; Wine writes through it");
  EXPECT_EQ(wsprintfW(nullptr, TEXT("x")), 0);
}

class StringCchPrintfTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
};

TEST_F(StringCchPrintfTest, FloatingPointHasTheCLibraryMeaning) {
  SKIP_ON_WINE(
      "mingw strsafe.h formats with msvcrt.dll, which writes three exponent digits and rounds 2.25 up");
  WCHAR out[64];
  ASSERT_EQ(StringCchPrintfW(out, 64, TEXT("%.2f|%5.1f|%e|%g"), 3.14159, 2.25, 1500.0, 0.0001), S_OK);
  EXPECT_EQ(WString(out), TEXT("3.14|  2.2|1.500000e+03|0.0001"));
}

TEST_F(StringCchPrintfTest, CLibraryFlagsAndStarWidths) {
  WCHAR out[64];
  ASSERT_EQ(StringCchPrintfW(out, 64, TEXT("%+d|% d|%*d|%-*d|%.*s|%lld|%I64u"), 5, 5, 4, 1, 3, 2, 2,
                             TEXT("abc"), -9000000000ll, 18000000000ull),
            S_OK);
  EXPECT_EQ(WString(out), TEXT("+5| 5|   1|2  |ab|-9000000000|18000000000"));
  ASSERT_EQ(StringCchPrintfW(out, 64, TEXT("%.0d|%o|%#o"), 0, 8, 8), S_OK);
  EXPECT_EQ(WString(out), TEXT("|10|010"));
}

TEST_F(StringCchPrintfTest, TooLongOutputIsCutTerminatedAndReported) {
  WCHAR out[8];
  EXPECT_EQ(StringCchPrintfW(out, 8, TEXT("%s-%d"), TEXT("abcdef"), 12345), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(WString(out), TEXT("abcdef-"));
  WCHAR exact[8];
  EXPECT_EQ(StringCchPrintfW(exact, 8, TEXT("%s"), TEXT("1234567")), S_OK);
  EXPECT_EQ(WString(exact), TEXT("1234567"));
}

TEST_F(StringCchPrintfTest, ZeroSizeIsAnInvalidParameterAndWritesNothing) {
  WCHAR out[4] = {TEXT('k'), 0};
  EXPECT_EQ(StringCchPrintfW(out, 0, TEXT("x")), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(out[0], TEXT('k'));
  EXPECT_EQ(StringCbPrintfW(out, 1, TEXT("x")), STRSAFE_E_INVALID_PARAMETER);
}

TEST_F(StringCchPrintfTest, ByteCountedVariantUsesHalfAsManyCharacters) {
  WCHAR out[8];
  EXPECT_EQ(StringCbPrintfW(out, 8, TEXT("%d"), 123456),
            STRSAFE_E_INSUFFICIENT_BUFFER);  // room for 3 + terminator
  EXPECT_EQ(WString(out), TEXT("123"));
}

TEST_F(StringCchPrintfTest, PercentNNeverWritesThroughItsArgument) {
  WCHAR out[16];
  int count = -1;
  EXPECT_EQ(StringCchPrintfW(out, 16, TEXT("ab%n%d"), &count, 7), S_OK);
  EXPECT_EQ(WString(out), TEXT("ab7"));
  SKIP_ON_WINE(
      "mingw strsafe.h formats with msvcrt.dll, which honours %n (the current C runtime refuses it)");
  EXPECT_EQ(count, -1);
}

}  // namespace
