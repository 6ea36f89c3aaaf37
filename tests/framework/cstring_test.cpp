// CString: construction, comparison, searching and editing with clamped positions, formatting of
// any length, buffer access and BSTR conversion.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>

#include <framework/cstring.h>
#include <framework/resources.h>

#include <string>

namespace {

std::u16string S(const CString& s) { return std::u16string(s.GetString()); }

class CStringTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;  // the formatter and BSTRs are desktop functions
};

TEST_F(CStringTest, NullPointerAndCountsBeyondTheTextGiveSafeResults) {
  CString fromNull(static_cast<LPCWSTR>(nullptr));
  EXPECT_TRUE(fromNull.IsEmpty());
  EXPECT_EQ(CString(u"abc", -4).GetLength(), 0);
  EXPECT_EQ(S(CString(u'x', 3)), u"xxx");
  CString s(u"hello");
  EXPECT_EQ(s.GetAt(5), 0);
  EXPECT_EQ(s.GetAt(-1), 0);
  EXPECT_EQ(s[1], u'e');
  EXPECT_EQ(S(s.Left(99)), u"hello");
  EXPECT_EQ(S(s.Left(-3)), u"");
  EXPECT_EQ(S(s.Mid(3)), u"lo");
  EXPECT_EQ(S(s.Mid(9)), u"");
  EXPECT_EQ(S(s.Mid(-2, 3)), u"hel");
  EXPECT_EQ(S(s.Mid(1, 99)), u"ello");
  EXPECT_EQ(S(s.Right(2)), u"lo");
  EXPECT_EQ(S(s.Right(99)), u"hello");
}

TEST_F(CStringTest, ComparisonsAreOrdinalAndCompareNoCaseIgnoresCaseBeyondAscii) {
  CString a(u"Apple");
  EXPECT_TRUE(a == u"Apple");
  EXPECT_TRUE(u"Apple" == a);
  EXPECT_TRUE(a != u"apple");
  EXPECT_TRUE(a == CString(u"Apple"));
  EXPECT_LT(a.Compare(u"apple"), 0);  // 'A' < 'a' by code unit
  EXPECT_EQ(a.Compare(u"Apple"), 0);
  EXPECT_TRUE(a < CString(u"Banana"));
  EXPECT_FALSE(a == static_cast<LPCWSTR>(nullptr));
  EXPECT_TRUE(CString() == static_cast<LPCWSTR>(nullptr));
  EXPECT_EQ(a.CompareNoCase(u"aPPLE"), 0);
  EXPECT_EQ(CString(u"\u00c9COLE").CompareNoCase(u"\u00e9cole"), 0);
  EXPECT_LT(CString(u"abc").CompareNoCase(u"ABD"), 0);
  EXPECT_GT(CString(u"abd").CompareNoCase(u"ABC"), 0);
}

TEST_F(CStringTest, ConcatenationWorksWithEveryOperandKind) {
  CString s(u"a");
  s += u"b";
  s += u'c';
  s += CString(u"d");
  s += static_cast<LPCWSTR>(nullptr);
  EXPECT_EQ(S(s), u"abcd");
  EXPECT_EQ(S(s + u"e"), u"abcde");
  EXPECT_EQ(S(u"z" + s), u"zabcd");
  EXPECT_EQ(S(s + u'!'), u"abcd!");
  EXPECT_EQ(S(u'>' + s), u">abcd");
}

TEST_F(CStringTest, FindHonoursTheStartAndRejectsStartsOutsideTheText) {
  CString s(u"one two one");
  EXPECT_EQ(s.Find(u'o'), 0);
  EXPECT_EQ(s.Find(u'o', 1), 6);
  EXPECT_EQ(s.Find(u"one", 1), 8);
  EXPECT_EQ(s.Find(u"three"), -1);
  EXPECT_EQ(s.Find(u'o', 50), -1);
  EXPECT_EQ(s.Find(u'o', -1), -1);
  EXPECT_EQ(s.Find(static_cast<LPCWSTR>(nullptr)), -1);
  EXPECT_EQ(s.ReverseFind(u'o'), 8);
  EXPECT_EQ(s.ReverseFind(u'x'), -1);
}

TEST_F(CStringTest, EditingClampsPositionsAndReturnsTheNewLength) {
  CString s(u"abcdef");
  EXPECT_EQ(s.Delete(2, 2), 4);
  EXPECT_EQ(S(s), u"abef");
  EXPECT_EQ(s.Delete(3, 100), 3);
  EXPECT_EQ(s.Delete(10), 3);
  EXPECT_EQ(s.Insert(1, u'X'), 4);
  EXPECT_EQ(s.Insert(100, u"yz"), 6);
  EXPECT_EQ(s.Insert(-5, u"<"), 7);
  EXPECT_EQ(S(s), u"<aXbeyz");
}

TEST_F(CStringTest, ReplaceCountsEveryOccurrenceAndDoesNotRescanTheReplacement) {
  CString s(u"aaa");
  EXPECT_EQ(s.Replace(u"a", u"aa"), 3);
  EXPECT_EQ(S(s), u"aaaaaa");
  CString t(u"%1 of %1");
  EXPECT_EQ(t.Replace(u"%1", u"10"), 2);
  EXPECT_EQ(S(t), u"10 of 10");
  EXPECT_EQ(t.Replace(u"", u"x"), 0);
  EXPECT_EQ(t.Replace(u'0', u'5'), 2);
  EXPECT_EQ(S(t), u"15 of 15");
  EXPECT_EQ(t.Replace(u" of ", static_cast<LPCWSTR>(nullptr)), 1);
  EXPECT_EQ(S(t), u"1515");
}

TEST_F(CStringTest, TrimRemovesWhiteSpaceOrTheGivenCharacters) {
  CString s(u" \t text \r\n");
  EXPECT_EQ(S(s.Trim()), u"text");
  CString t(u"--x--");
  EXPECT_EQ(S(t.TrimLeft(u'-')), u"x--");
  EXPECT_EQ(S(t.TrimRight(u"-")), u"x");
  CString blank(u"   ");
  EXPECT_TRUE(blank.Trim().IsEmpty());
}

TEST_F(CStringTest, CaseMappingChangesAsciiLettersOnly) {
  CString s(u"Tell\u00e9Bud 7");
  EXPECT_EQ(S(s.MakeUpper()), u"TELL\u00e9BUD 7");
  EXPECT_EQ(S(s.MakeLower()), u"tell\u00e9bud 7");
}

TEST_F(CStringTest, FormatGrowsItsBufferForLongResults) {
  CString s;
  s.Format(u"%s=%d (%x)", u"key", -42, 255u);
  EXPECT_EQ(S(s), u"key=-42 (ff)");
  std::u16string longText(5000, u'q');
  s.Format(u"[%s]", longText.c_str());
  EXPECT_EQ(s.GetLength(), 5002);
  EXPECT_EQ(s.GetAt(5001), u']');
  s.AppendFormat(u"%d", 7);
  EXPECT_EQ(s.GetLength(), 5003);
}

TEST_F(CStringTest, FormatTakesCStringArgumentsAsText) {
  CString name(u"Bob"), s;
  s.Format(u"%s is %s (%c)", name, u"online", u'!');
  EXPECT_EQ(S(s), u"Bob is online (!)");
  s.AppendFormat(u" %s", CString(u"again"));
  EXPECT_EQ(S(s), u"Bob is online (!) again");
}

TEST_F(CStringTest, BufferAccessTakesTheLengthUpToTheTerminator) {
  CString s(u"abc");
  LPWSTR buffer = s.GetBuffer(10);
  buffer[0] = u'x';
  buffer[1] = 0;
  s.ReleaseBuffer();
  EXPECT_EQ(S(s), u"x");

  buffer = s.GetBuffer(4);
  for (int i = 0; i < 4; ++i) buffer[i] = u'0' + i;
  buffer[4] = 0;  // the terminator fits: GetBuffer(n) leaves room for n characters and one more
  s.ReleaseBuffer(-1);
  EXPECT_EQ(S(s), u"0123");

  s.GetBuffer(8);
  s.ReleaseBuffer(2);
  EXPECT_EQ(S(s), u"01");
  s.ReleaseBuffer(50);  // longer than the buffer: kept at what is there
  EXPECT_EQ(s.GetLength(), 2);

  LPWSTR fixed = s.GetBufferSetLength(3);
  fixed[2] = u'!';
  EXPECT_EQ(S(s), u"01!");
}

TEST_F(CStringTest, AllocSysStringKeepsTheWholeLength) {
  CString s(u"a\0b", 3);
  BSTR b = s.AllocSysString();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringLen(b), 3u);
  EXPECT_EQ(b[2], u'b');
  EXPECT_EQ(b[3], 0);
  SysFreeString(b);
}

TEST_F(CStringTest, ResourceIdsLoadFromTheStringTable) {
  CResourceTable table;
  table.strings = {{101, u"About Tellbud"}};
  AfxSetResourceTable(table);
  CString fromId(MAKEINTRESOURCEW(101));
  EXPECT_EQ(S(fromId), u"About Tellbud");
  CString missing(u"unchanged");
  EXPECT_FALSE(missing.LoadString(999));
  EXPECT_EQ(S(missing), u"unchanged");
  EXPECT_TRUE(CString(MAKEINTRESOURCEW(999)).IsEmpty());
  AfxSetResourceTable(CResourceTable{});
}

}  // namespace
