// Case-insensitive comparison and the shell's string and path helpers.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlwapi.h>

#include "support/test_desktop.h"

#include <string>

namespace {

class ShellStringTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
};

TEST_F(ShellStringTest, StrCmpIWAndLstrcmpiWAgreeOnNonAsciiLetters) {
  EXPECT_EQ(StrCmpIW(TEXT("Ärger"), TEXT("äRGER")), 0);
  EXPECT_EQ(lstrcmpiW(TEXT("Ärger"), TEXT("äRGER")), 0);
  EXPECT_EQ(StrCmpIW(TEXT("zebra"), TEXT("Äpfel")), 1);
  EXPECT_EQ(StrCmpW(TEXT("Abc"), TEXT("abc")), lstrcmpW(TEXT("Abc"), TEXT("abc")));
  EXPECT_NE(StrCmpW(TEXT("Abc"), TEXT("abc")), 0);
}

// Messenger may spell a contact's address with "ß" or with "SS": both name one contact. Windows
// compares linguistically (lstrcmpi is CompareStringEx with the thread's locale, minus 2), and
// linguistically "ß" is "ss".
TEST_F(ShellStringTest, SharpSMatchesDoubleSWhenCaseIsIgnored) {
  EXPECT_EQ(StrCmpIW(TEXT("straße@example.com"), TEXT("STRASSE@example.com")), 0);
  EXPECT_EQ(lstrcmpiW(TEXT("straße@example.com"), TEXT("STRASSE@example.com")), 0);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, TEXT("straße@example.com"), -1,
                           TEXT("STRASSE@example.com"), -1),
            CSTR_EQUAL);
  EXPECT_EQ(StrCmpNIW(TEXT("straße@example.com"), TEXT("STRASSE@example.com"), 19), 0);
}

TEST_F(ShellStringTest, NullStringsSortFirst) {
  EXPECT_EQ(lstrcmpiW(nullptr, nullptr), 0);
  EXPECT_EQ(lstrcmpiW(nullptr, TEXT("")), -1);
  SKIP_ON_WINE("StrCmpIW with a null string is undocumented; Wine returns CompareString failing (0) minus 2");
  EXPECT_EQ(StrCmpIW(TEXT("a"), nullptr), 1);
}

TEST_F(ShellStringTest, StrCmpNIWComparesOnlyTheFirstCharacters) {
  EXPECT_EQ(StrCmpNIW(TEXT("ÉTÉ 2024"), TEXT("été 1999"), 3), 0);
  EXPECT_NE(StrCmpNIW(TEXT("ÉTÉ 2024"), TEXT("été 1999"), 5), 0);
  EXPECT_EQ(StrCmpNIW(TEXT("abc"), TEXT("xyz"), 0), 0);
}

TEST_F(ShellStringTest, CompareStringReportsCstrValues) {
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, TEXT("Straße"), -1, TEXT("STRASSE"), -1),
            CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, TEXT("abc"), 2, TEXT("abd"), 2), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, TEXT("a"), -1, TEXT("b"), -1), CSTR_LESS_THAN);
  SetLastError(0);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, nullptr, -1, TEXT("b"), -1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ShellStringTest, SearchFunctions) {
  LPCWSTR text = TEXT("Call from Émile");
  EXPECT_EQ(StrStrW(text, TEXT("from")), text + 5);
  EXPECT_EQ(StrStrW(text, TEXT("FROM")), nullptr);
  EXPECT_EQ(StrStrIW(text, TEXT("éMILE")), text + 10);
  EXPECT_EQ(StrStrW(text, TEXT("")), nullptr);
  EXPECT_EQ(StrChrW(text, TEXT('l')), text + 2);
  EXPECT_EQ(StrRChrW(text, nullptr, TEXT('l')), text + 13);
  EXPECT_EQ(StrRChrW(text, text + 4, TEXT('l')), text + 3);
  EXPECT_EQ(StrChrW(text, TEXT('z')), nullptr);
}

TEST_F(ShellStringTest, StrToIntParsesSignAndStopsAtTheFirstNonDigit) {
  EXPECT_EQ(StrToIntW(TEXT("123")), 123);
  EXPECT_EQ(StrToIntW(TEXT("12b34")), 12);
  EXPECT_EQ(StrToIntW(TEXT("abc")), 0);
  EXPECT_EQ(StrToIntW(nullptr), 0);
  SKIP_ON_WINE(
      "StrToInt documents optional white space and an optional sign before the digits; Wine takes neither");
  EXPECT_EQ(StrToIntW(TEXT("  -45x")), -45);
  EXPECT_EQ(StrToIntW(TEXT("+7")), 7);
}

TEST_F(ShellStringTest, PathFindFileNameSkipsFolders) {
  LPCWSTR path = TEXT("C:\\Program Files\\Tellbud\\Tellbud.exe");
  EXPECT_EQ(WString(PathFindFileNameW(path)), TEXT("Tellbud.exe"));
  EXPECT_EQ(WString(PathFindFileNameW(TEXT("C:\\dir\\"))), TEXT("dir\\"));
  EXPECT_EQ(WString(PathFindFileNameW(TEXT("name"))), TEXT("name"));
  EXPECT_EQ(WString(PathFindFileNameW(TEXT("a/b.txt"))), TEXT("b.txt"));
}

TEST_F(ShellStringTest, PathRemoveFileSpecKeepsRoots) {
  struct Case {
    WString in, out;
    BOOL changed;
  };
  int index = 0;
  for (const Case& c :
       {Case{TEXT("C:\\a\\b.ini"), TEXT("C:\\a"), TRUE}, Case{TEXT("C:\\b.ini"), TEXT("C:\\"), TRUE},
        Case{TEXT("C:\\"), TEXT("C:\\"), FALSE}, Case{TEXT("\\b.ini"), TEXT("\\"), TRUE},
        Case{TEXT("b.ini"), TEXT(""), TRUE}, Case{TEXT("\\\\server\\share"), TEXT("\\\\server"), TRUE}}) {
    SCOPED_TRACE(index++);
    WString buffer = c.in;
    EXPECT_EQ(PathRemoveFileSpecW(buffer.data()), c.changed);
    EXPECT_EQ(WString(buffer.c_str()), c.out);
  }
}

}  // namespace
