// The profile document in memory: how lines are read, matched and edited, byte for byte.
#include <gtest/gtest.h>

#include "config/profile_document.h"

#include <string>
#include <string_view>

namespace config {
namespace {

using namespace std::string_view_literals;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }
std::string S(const Bytes& b) { return std::string(b.begin(), b.end()); }

std::optional<Text> Get(std::string_view file, const Text& section, const Text& key) {
  return ProfileDocument::Parse(B(file)).FindValue(section, key);
}

std::string Set(std::string_view file, const Text& section, const Text& key, const Text& value) {
  ProfileDocument document = ProfileDocument::Parse(B(file));
  EXPECT_EQ(document.SetValue(section, key, value), static_cast<DWORD>(ERROR_SUCCESS));
  return S(document.Serialize());
}

constexpr std::string_view kSample =
    "orphan=before any section\r\n"
    "[Main]\r\n"
    "; comment=not a key\r\n"
    "  Name \t=  Tell bud \t\r\n"
    "no equals sign\r\n"
    "[broken=1\r\n"
    "Quoted=\"  padded  \"\r\n"
    "Half=\"open\r\n"
    "Twice=\"\"x\"\"\r\n"
    "Empty=\r\n"
    "name=a later duplicate\r\n"
    "[main]\r\n"
    "Other=in a later duplicate section\r\n"
    "[\xC3\x9Cn\xC3\xAF"
    "code]\n"
    "\xC3\x84RGER=yes";

TEST(ProfileDocumentTest, FindsValuesByNameIgnoringBlanksCaseAndMalformedLines) {
  const struct {
    Text section, key;
    std::optional<Text> expected;
  } cases[] = {
      {u"Main", u"Name", u"Tell bud"},
      {u" MAIN ", u"nAmE\t", u"Tell bud"},
      {u"Main", u"orphan", {}},
      {u"Main", u"; comment", {}},
      {u"Main", u"no equals sign", {}},
      {u"Main", u"[broken", {}},
      {u"Main", u"Quoted", u"  padded  "},
      {u"Main", u"Half", u"\"open"},
      {u"Main", u"Twice", u"\"x\""},
      {u"Main", u"Empty", u""},
      {u"main", u"Other", {}},
      {u"\u00FCN\u00CFCODE", u"\u00E4rger", u"yes"},
      {u"Missing", u"Name", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Get(kSample, c.section, c.key), c.expected) << std::string(c.section.begin(), c.section.end());
  }
  EXPECT_EQ(ProfileDocument::Parse(B(kSample)).SectionNames(),
            (std::vector<Text>{u"Main", u"\u00DCn\u00EFcode"}));
  EXPECT_EQ(ProfileDocument::Parse(B(kSample)).KeyNames(u"MAIN"),
            (std::vector<Text>{u"Name", u"Quoted", u"Half", u"Twice", u"Empty"}));
}

TEST(ProfileDocumentTest, SerialisingUneditedFilesGivesBackTheirBytes) {
  for (std::string_view file :
       {""sv, "[a]\r\nk=v\r\n"sv, "[a]\nk=v"sv, "x\r\n\n\r\n;c\n[a"sv, "\xEF\xBB\xBF[a]\r\n"sv,
        "[a]\r\nk=caf\xE9\r\n"sv, "\xEF\xBB\xBF[a]\nk=\xFF\xC3\n"sv, "\xFF\xFE[\0a\0]\0\n\0"sv}) {
    EXPECT_EQ(S(ProfileDocument::Parse(B(file)).Serialize()), file);
  }
}

TEST(ProfileDocumentTest, ReplacingAValueChangesOnlyThatLine) {
  const std::string file =
      "\xEF\xBB\xBF; settings\r\n[A]\r\n  Key = old  \r\n\r\nbad line\n[B]\r\nKey=old\r\n";
  EXPECT_EQ(Set(file, u"a", u"KEY", u"new"),
            "\xEF\xBB\xBF; settings\r\n[A]\r\n  Key = new\r\n\r\nbad line\n[B]\r\nKey=old\r\n");
  EXPECT_EQ(Set(file, u"a", u"key", u"old"), file);
}

TEST(ProfileDocumentTest, NewKeyFollowsTheLastKeyOfItsSection) {
  EXPECT_EQ(Set("[a]\r\nk=1\r\n; note\r\n\r\n[b]\r\n", u"a", u"n", u"2"),
            "[a]\r\nk=1\r\nn=2\r\n; note\r\n\r\n[b]\r\n");
  EXPECT_EQ(Set("[a]\n\n[b]\n", u"a", u"n", u"2"), "[a]\nn=2\n\n[b]\n");
  EXPECT_EQ(Set("[a]", u"a", u"n", u"2"), "[a]\r\nn=2\r\n");
}

TEST(ProfileDocumentTest, NewSectionIsAppendedAtTheEnd) {
  EXPECT_EQ(Set("", u" s ", u" k ", u"v"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(Set("[a]\nk=1", u"b", u"x", u"y"), "[a]\nk=1\n[b]\nx=y\n");
  EXPECT_EQ(Set("; only a comment\r\n\r\n", u"b", u"x", u"y"), "; only a comment\r\n\r\n[b]\r\nx=y\r\n");
}

TEST(ProfileDocumentTest, ValuesThatWouldNotReadBackAsWrittenAreQuoted) {
  for (const Text& value : {Text(u" padded\t"), Text(u"\""), Text(u"\"half")}) {
    EXPECT_EQ(Get(Set("", u"s", u"k", value), u"s", u"k"), value);
  }
  EXPECT_EQ(Set("", u"s", u"k", u" x"), "[s]\r\nk=\" x\"\r\n");
}

TEST(ProfileDocumentTest, AValueInQuotesIsStoredAsWrittenAndReadsBackWithoutThem) {
  EXPECT_EQ(Set("", u"s", u"k", u"\" Bob \""), "[s]\r\nk=\" Bob \"\r\n");
  EXPECT_EQ(Get(Set("", u"s", u"k", u"\" Bob \""), u"s", u"k"), u" Bob ");
  EXPECT_EQ(Get(Set("", u"s", u"k", u"\"\""), u"s", u"k"), u"");
}

TEST(ProfileDocumentTest, NamesAndValuesALineCannotHoldAreRefusedWithoutChange) {
  const struct {
    Text section, key, value;
  } cases[] = {{u"a]b", u"k", u"v"}, {u"a\nb", u"k", u"v"}, {u"s", u"", u"v"},        {u"s", u"k=1", u"v"},
               {u"s", u";k", u"v"},  {u"s", u"[k", u"v"},   {u"s", u"k", u"1\r\n[x]"}};
  for (const auto& c : cases) {
    ProfileDocument document = ProfileDocument::Parse(B("[s]\r\nk=old\r\n"));
    EXPECT_EQ(document.SetValue(c.section, c.key, c.value), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(S(document.Serialize()), "[s]\r\nk=old\r\n");
  }
}

TEST(ProfileDocumentTest, DeletingRemovesTheKeyLineOrTheWholeSection) {
  ProfileDocument document = ProfileDocument::Parse(B("[a]\nx=1\ny=2\n;c\n[b]\nz=3\n"));
  document.DeleteKey(u"A", u"X");
  document.DeleteKey(u"a", u"missing");
  EXPECT_EQ(S(document.Serialize()), "[a]\ny=2\n;c\n[b]\nz=3\n");
  document.DeleteSection(u"A");
  EXPECT_EQ(S(document.Serialize()), "[b]\nz=3\n");
}

TEST(ProfileDocumentTest, Windows1252FileIsReadAndWrittenInWindows1252) {
  const std::string file = "[s]\r\nk=caf\xE9\r\n";
  EXPECT_EQ(Get(file, u"s", u"k"), u"caf\u00E9");
  EXPECT_EQ(Set(file, u"s", u"e", u"\u20ACuro"), "[s]\r\nk=caf\xE9\r\ne=\x80uro\r\n");
}

TEST(ProfileDocumentTest, ValueOutsideWindows1252TurnsTheFileIntoUtf8WithBom) {
  const std::string result = Set("[s]\r\nk=caf\xE9\r\n", u"s", u"e", u"\u041F\u0440\u0438");
  EXPECT_EQ(result, "\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\ne=\xD0\x9F\xD1\x80\xD0\xB8\r\n");
}

TEST(ProfileDocumentTest, Windows1252FileThatWouldReadAsUtf8GetsABom) {
  // "Ã©" in Windows-1252 is C3 A9, which alone would be read as UTF-8 "é".
  const std::string result = Set("[s]\r\nk=caf\xE9\r\n", u"s", u"k", u"\u00C3\u00A9");
  EXPECT_EQ(Get(result, u"s", u"k"), u"\u00C3\u00A9");
  EXPECT_EQ(ProfileDocument::Parse(B(result)).encoding(), TextEncoding::kUtf8Bom);
}

TEST(ProfileDocumentTest, Utf16FilesKeepTheirByteOrderWithNonAsciiPhrases) {
  for (TextEncoding encoding : {TextEncoding::kUtf16Le, TextEncoding::kUtf16Be}) {
    Bytes bytes = ByteOrderMark(encoding);
    Encode(encoding, u"[Phrases]\r\n1=Gr\u00FC\u00DFe \U0001F600\r\n", bytes);
    ProfileDocument document = ProfileDocument::Parse(bytes);
    EXPECT_EQ(document.FindValue(u"phrases", u"1"), u"Gr\u00FC\u00DFe \U0001F600");
    ASSERT_EQ(document.SetValue(u"Phrases", u"2", u"\u041F\u0440\u0438"), static_cast<DWORD>(ERROR_SUCCESS));
    Bytes expected = ByteOrderMark(encoding);
    Encode(encoding, u"[Phrases]\r\n1=Gr\u00FC\u00DFe \U0001F600\r\n2=\u041F\u0440\u0438\r\n", expected);
    EXPECT_EQ(document.Serialize(), expected);
  }
}

TEST(ProfileDocumentTest, UnpairedSurrogateCannotGoIntoAUtf8File) {
  ProfileDocument document = ProfileDocument::Parse(B("[s]\r\n"));
  EXPECT_EQ(document.SetValue(u"s", u"k", Text(1, 0xD800)), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(S(document.Serialize()), "[s]\r\n");
}

}  // namespace
}  // namespace config
