// How the console splits command lines into words and reads durations.
#include <gtest/gtest.h>

#include "world/console/duration.h"
#include "world/console/numbers.h"
#include "world/console/tokenizer.h"
#include "world/core/text.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> out;
  for (auto& w : console::Tokenize(line).words) out.push_back(w.text);
  return out;
}

using V = std::vector<std::string>;

TEST(TokenizerTest, BlanksSeparateWords) {
  EXPECT_EQ(Words("  handset   key\t1 2 "), (V{"handset", "key", "1", "2"}));
}

TEST(TokenizerTest, QuotesGroupBlanksAndBackslashEscapes) {
  EXPECT_EQ(Words(R"(contact add bob@x "Bob \"the\" Builder")"),
            (V{"contact", "add", "bob@x", "Bob \"the\" Builder"}));
  EXPECT_EQ(Words(R"(chat a "back\\slash")"), (V{"chat", "a", "back\\slash"}));
  EXPECT_EQ(Words(R"(registry set K V "C:\log\new")"), (V{"registry", "set", "K", "V", "C:\\log\\new"}));
  EXPECT_EQ(Words(R"(ini F S K "")"), (V{"ini", "F", "S", "K", ""}));
  EXPECT_EQ(Words(R"(x pre"mid dle"post)"), (V{"x", "premid dlepost"}));
}

TEST(TokenizerTest, UnterminatedQuoteIsAnError) {
  auto t = console::Tokenize(R"(chat bob "hello)");
  EXPECT_FALSE(t.error.empty());
  EXPECT_EQ(t.words.size(), 2u) << "the words before the faulty one";
}

TEST(TokenizerTest, CommentLinesAndTrailingCommentsAreDropped) {
  EXPECT_TRUE(Words("# a comment").empty());
  EXPECT_TRUE(Words("   #comment without a blank").empty());
  EXPECT_EQ(Words("wait 2s # let it settle"), (V{"wait", "2s"}));
}

TEST(TokenizerTest, HashKeysNeedNoQuotes) {
  EXPECT_EQ(Words("handset dial 12#"), (V{"handset", "dial", "12#"}));
  EXPECT_EQ(Words("handset key #"), (V{"handset", "key", "#"}));
  EXPECT_EQ(Words("handset key \"#\" 1"), (V{"handset", "key", "#", "1"}));
}

TEST(TokenizerTest, WordsRememberWhereTheyStart) {
  auto t = console::Tokenize("expect  tray add \"x\"");
  ASSERT_EQ(t.words.size(), 4u);
  EXPECT_EQ(t.words[1].start, 8u);
}

TEST(DurationTest, UnitsAreMillisecondsSecondsMinutesAndHours) {
  EXPECT_EQ(console::ParseDuration("500ms"), 500);
  EXPECT_EQ(console::ParseDuration("2s"), 2000);
  EXPECT_EQ(console::ParseDuration("1m"), 60000);
  EXPECT_EQ(console::ParseDuration("1h"), 3600000);
}

TEST(DurationTest, PartsAddUpAndFractionsAreAllowed) {
  EXPECT_EQ(console::ParseDuration("1m30s"), 90000);
  EXPECT_EQ(console::ParseDuration("1.5s"), 1500);
  EXPECT_EQ(console::ParseDuration("0ms"), 0);
}

TEST(DurationTest, MalformedDurationsAreRejected) {
  for (const char* bad : {"", "5", "s", "2x", "-1s", "1..5s", "2 s", ".s", "1e3ms", "99999999999999h"})
    EXPECT_EQ(console::ParseDuration(bad), std::nullopt) << bad;
}

}  // namespace

namespace {

TEST(TextTest, Utf8AndUtf16RoundTripAndReplaceWhatIsBroken) {
  EXPECT_EQ(world::Utf16("M\xC3\xBCller \xF0\x9F\x93\x9E"), u"M\u00FCller \U0001F4DE");
  EXPECT_EQ(world::Utf8(u"M\u00FCller \U0001F4DE"), "M\xC3\xBCller \xF0\x9F\x93\x9E");
  EXPECT_EQ(world::Utf16("a\xFF"
                         "b"),
            u"a\uFFFDb");
  EXPECT_EQ(world::Utf16("\xC0\xAF"), u"\uFFFD\uFFFD") << "an overlong '/' is not a '/'";
  EXPECT_EQ(world::Utf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(NumberTest, DecimalOrHexadecimalWithoutSigns) {
  EXPECT_EQ(console::ParseNumber("131"), 131u);
  EXPECT_EQ(console::ParseNumber("0x0AB0"), 0xAB0u);
  for (const char* bad : {"", "0x", "-1", "+1", "12z", " 1", "0x1g", "99999999999999999999999"})
    EXPECT_EQ(console::ParseNumber(bad), std::nullopt) << bad;
}

}  // namespace
