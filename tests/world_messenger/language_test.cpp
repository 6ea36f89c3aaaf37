// The status lines Messenger writes must carry exactly the phrases the program's language files
// list, each line the phrases of its own kind only; titles and shortcuts must match the files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "world/messenger/language.h"

namespace world::messenger {
namespace {

using Sections = std::map<std::u16string, std::vector<std::pair<std::u16string, std::u16string>>>;

std::filesystem::path LanguageFolder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "res" / "data" /
         "Language";
}

// Reads a language file in its encoding (ASCII, UTF-8, or UTF-16LE with a byte order mark).
std::u16string ReadLanguageFile(const std::u16string& name) {
  std::ifstream in(LanguageFolder() / (std::string(name.begin(), name.end()) + ".ini"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                    (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
  }
  Text text = FromUtf8(bytes);
  return std::u16string(text.begin(), text.end());
}

Sections ParseIni(const std::u16string& text, std::u16string* comments) {
  Sections sections;
  std::u16string current;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(u"\r\n", pos);
    if (end == std::u16string::npos) end = text.size();
    std::u16string line = text.substr(pos, end - pos);
    pos = end + 2;
    if (line.empty()) continue;
    if (line[0] == u';') {
      *comments += line + u"\n";
    } else if (line[0] == u'[') {
      current = line.substr(1, line.find(u']') - 1);
    } else if (size_t eq = line.find(u'='); eq != std::u16string::npos) {
      sections[current].emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
  }
  return sections;
}

struct LanguageFile {
  std::vector<std::u16string> callin, intalk, ready;
  std::u16string suffix;
  std::u16string comments;
};

LanguageFile Load(Language language) {
  LanguageFile file;
  const WCHAR* name = PhrasebookFor(language).name;
  Sections s = ParseIni(ReadLanguageFile(std::u16string(name, name + std::char_traits<WCHAR>::length(name))),
                        &file.comments);
  for (auto& [key, value] : s[u"INFO_CALLIN"]) file.callin.push_back(value);
  for (auto& [key, value] : s[u"INFO_INTALK"]) file.intalk.push_back(value);
  for (auto& [key, value] : s[u"INFO_READY"]) file.ready.push_back(value);
  for (auto& [key, value] : s[u"INFO_OTHER"])
    if (key == u"IMWndName") file.suffix = value.substr(1, value.size() - 2);  // without the quotes
  return file;
}

std::u16string U16(const Text& t) { return std::u16string(t.begin(), t.end()); }

// The phrase each status line must carry: its kind's list and the index in it; lines of no kind
// (-1) must carry none. The outgoing invitation carries the second in-talk phrase: a call the user
// is placing counts as running, as it does when Tellbud places it.
struct Expectation {
  StatusLine line;
  int kind;  // 0 call-in, 1 in-talk, 2 ready, -1 none
  size_t index;
};
const Expectation kExpectations[] = {
    {StatusLine::kIncomingInvitation, 0, 0}, {StatusLine::kOutgoingInvitation, 1, 1},
    {StatusLine::kContactAccepted, -1, 0},   {StatusLine::kCallStarted, 1, 0},
    {StatusLine::kCallEnded, 2, 0},          {StatusLine::kUserDeclined, 2, 1},
    {StatusLine::kContactDeclined, 2, 2},    {StatusLine::kContactCancelled, 2, 3},
};

class LanguageTest : public ::testing::TestWithParam<Language> {};

TEST_P(LanguageTest, EveryStatusLineCarriesItsOwnPhraseAndNoOther) {
  LanguageFile file = Load(GetParam());
  ASSERT_EQ(file.callin.size(), 1u);
  ASSERT_EQ(file.intalk.size(), 2u);
  ASSERT_EQ(file.ready.size(), 4u);
  const std::vector<std::u16string>* kinds[] = {&file.callin, &file.intalk, &file.ready};
  for (const Expectation& e : kExpectations) {
    std::u16string line = U16(StatusLineText(GetParam(), e.line, TEXT("Bob Smith")));
    for (int kind = 0; kind < 3; ++kind) {
      for (size_t i = 0; i < kinds[kind]->size(); ++i) {
        bool expected = kind == e.kind && i == e.index;
        EXPECT_EQ(line.find((*kinds[kind])[i]) != std::u16string::npos, expected)
            << "line " << static_cast<int>(e.line) << " and phrase " << kind << "/" << i;
      }
    }
  }
}

TEST_P(LanguageTest, ChatLinesCarryNoStatusPhrase) {
  LanguageFile file = Load(GetParam());
  std::u16string line = U16(ChatLineText(GetParam(), TEXT("Bob"), TEXT("hello there")));
  for (auto* list : {&file.callin, &file.intalk, &file.ready})
    for (const auto& phrase : *list) EXPECT_EQ(line.find(phrase), std::u16string::npos);
  EXPECT_NE(line.find(u"hello there"), std::u16string::npos);
}

TEST_P(LanguageTest, WindowSuffixIsTheOneTheLanguageFileNames) {
  LanguageFile file = Load(GetParam());
  ASSERT_FALSE(file.suffix.empty());
  EXPECT_EQ(U16(WindowTitle(GetParam(), TEXT("Bob"))), u"Bob" + file.suffix);
}

TEST_P(LanguageTest, ShortcutLettersAreTheOnesTheLanguageFileNames) {
  LanguageFile file = Load(GetParam());
  const Phrasebook& book = PhrasebookFor(GetParam());
  std::u16string expected = std::u16string(u"Accept=Alt+") + char16_t(book.accept_key) + u", Decline=Alt+" +
                            char16_t(book.decline_key);
  EXPECT_NE(file.comments.find(expected), std::u16string::npos)
      << "expected " << std::string(expected.begin(), expected.end());
  // The invitation line names the same shortcuts.
  std::u16string invitation = U16(StatusLineText(GetParam(), StatusLine::kIncomingInvitation, TEXT("Bob")));
  EXPECT_NE(invitation.find(std::u16string(u"Alt+") + char16_t(book.accept_key)), std::u16string::npos);
  EXPECT_NE(invitation.find(std::u16string(u"Alt+") + char16_t(book.decline_key)), std::u16string::npos);
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageTest,
                         ::testing::Values(Language::kEnglish, Language::kGerman, Language::kFrench),
                         [](const auto& info) {
                           const WCHAR* n = PhrasebookFor(info.param).name;
                           return std::string(n, n + std::char_traits<WCHAR>::length(n));
                         });

TEST(StatusLineTextTest, NameGoesWhereTheLineNamesTheContactAndIsNotExpandedAgain) {
  EXPECT_EQ(U16(StatusLineText(Language::kEnglish, StatusLine::kCallStarted, TEXT("100%1 %2"))),
            u"You are now in a voice conversation with 100%1 %2.");
  EXPECT_EQ(U16(ChatLineText(Language::kEnglish, TEXT("Ann %2"), TEXT("50%1"))), u"Ann %2 says: 50%1");
}

TEST(StatusLineTextTest, OutOfRangeLineGivesNoText) {
  EXPECT_TRUE(StatusLineText(Language::kEnglish, StatusLine::kCount, TEXT("Bob")).empty());
}

}  // namespace
}  // namespace world::messenger
