// Linguistic comparison and the shell's string and path helpers.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <sim/desktop.h>

#include <string>

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

class ShellStringTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
};

TEST_F(ShellStringTest, StrCmpIWAndLstrcmpiWAgreeOnNonAsciiLetters) {
  EXPECT_EQ(StrCmpIW(u"Ärger", u"äRGER"), 0);
  EXPECT_EQ(lstrcmpiW(u"Ärger", u"äRGER"), 0);
  EXPECT_EQ(StrCmpIW(u"zebra", u"Äpfel"), 1);
  EXPECT_EQ(StrCmpW(u"Abc", u"abc"), lstrcmpW(u"Abc", u"abc"));
  EXPECT_NE(StrCmpW(u"Abc", u"abc"), 0);
}

TEST_F(ShellStringTest, NullStringsSortFirst) {
  EXPECT_EQ(lstrcmpiW(nullptr, nullptr), 0);
  EXPECT_EQ(lstrcmpiW(nullptr, u""), -1);
  EXPECT_EQ(StrCmpIW(u"a", nullptr), 1);
}

TEST_F(ShellStringTest, StrCmpNIWComparesOnlyTheFirstCharacters) {
  EXPECT_EQ(StrCmpNIW(u"ÉTÉ 2024", u"été 1999", 3), 0);
  EXPECT_NE(StrCmpNIW(u"ÉTÉ 2024", u"été 1999", 5), 0);
  EXPECT_EQ(StrCmpNIW(u"abc", u"xyz", 0), 0);
}

TEST_F(ShellStringTest, CompareStringReportsCstrValues) {
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, u"Straße", -1, u"STRASSE", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"abc", 2, u"abd", 2), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"a", -1, u"b", -1), CSTR_LESS_THAN);
  SetLastError(0);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, nullptr, -1, u"b", -1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ShellStringTest, SearchFunctions) {
  LPCWSTR text = u"Call from Émile";
  EXPECT_EQ(StrStrW(text, u"from"), text + 5);
  EXPECT_EQ(StrStrW(text, u"FROM"), nullptr);
  EXPECT_EQ(StrStrIW(text, u"éMILE"), text + 10);
  EXPECT_EQ(StrStrW(text, u""), nullptr);
  EXPECT_EQ(StrChrW(text, u'l'), text + 2);
  EXPECT_EQ(StrRChrW(text, nullptr, u'l'), text + 13);
  EXPECT_EQ(StrRChrW(text, text + 4, u'l'), text + 3);
  EXPECT_EQ(StrChrW(text, u'z'), nullptr);
}

TEST_F(ShellStringTest, StrToIntParsesSignAndStopsAtTheFirstNonDigit) {
  EXPECT_EQ(StrToIntW(u"123"), 123);
  EXPECT_EQ(StrToIntW(u"  -45x"), -45);
  EXPECT_EQ(StrToIntW(u"+7"), 7);
  EXPECT_EQ(StrToIntW(u"12b34"), 12);
  EXPECT_EQ(StrToIntW(u"abc"), 0);
  EXPECT_EQ(StrToIntW(nullptr), 0);
}

TEST_F(ShellStringTest, PathFindFileNameSkipsFolders) {
  LPCWSTR path = u"C:\\Program Files\\Tellbud\\Tellbud.exe";
  EXPECT_EQ(std::u16string(PathFindFileNameW(path)), u"Tellbud.exe");
  EXPECT_EQ(std::u16string(PathFindFileNameW(u"C:\\dir\\")), u"dir\\");
  EXPECT_EQ(std::u16string(PathFindFileNameW(u"name")), u"name");
  EXPECT_EQ(std::u16string(PathFindFileNameW(u"a/b.txt")), u"b.txt");
}

TEST_F(ShellStringTest, PathRemoveFileSpecKeepsRoots) {
  struct Case {
    std::u16string in, out;
    BOOL changed;
  };
  int index = 0;
  for (const Case& c : {Case{u"C:\\a\\b.ini", u"C:\\a", TRUE}, Case{u"C:\\b.ini", u"C:\\", TRUE},
                        Case{u"C:\\", u"C:\\", FALSE}, Case{u"\\b.ini", u"\\", TRUE},
                        Case{u"b.ini", u"", TRUE}, Case{u"\\\\server\\share", u"\\\\server", TRUE}}) {
    SCOPED_TRACE(index++);
    std::u16string buffer = c.in;
    EXPECT_EQ(PathRemoveFileSpecW(buffer.data()), c.changed);
    EXPECT_EQ(std::u16string(buffer.c_str()), c.out);
  }
}

}  // namespace
