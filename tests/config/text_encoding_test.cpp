// Recognising and converting the encodings of profile files.
#include <gtest/gtest.h>

#include "config/text_encoding.h"

#include <string_view>

namespace config {
namespace {

TextEncoding Detect(std::string_view s) {
  return DetectEncoding(reinterpret_cast<const BYTE*>(s.data()), s.size());
}

TEST(TextEncodingTest, ByteOrderMarkDecidesElseStrictUtf8ElseWindows1252) {
  const struct {
    std::string_view bytes;
    TextEncoding expected;
  } cases[] = {
      {"", TextEncoding::kUtf8},
      {"abc", TextEncoding::kUtf8},
      {"\xC3\xA9\xF0\x9F\x98\x80", TextEncoding::kUtf8},
      {"\xEF\xBB\xBF\xE9", TextEncoding::kUtf8Bom},
      {"\xFF\xFEx", TextEncoding::kUtf16Le},
      {"\xFE\xFF", TextEncoding::kUtf16Be},
      {"caf\xE9", TextEncoding::kWindows1252},
      {"\xC0\xAF", TextEncoding::kWindows1252},          // overlong
      {"\xED\xA0\x80", TextEncoding::kWindows1252},      // encoded surrogate
      {"\xE2\x82", TextEncoding::kWindows1252},          // cut short
      {"\xF4\x90\x80\x80", TextEncoding::kWindows1252},  // above U+10FFFF
  };
  for (const auto& c : cases) EXPECT_EQ(Detect(c.bytes), c.expected) << c.bytes;
}

TEST(TextEncodingTest, EveryWindows1252ByteSurvivesDecodingAndEncoding) {
  Bytes all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<BYTE>(b));
  const Text text = Decode(TextEncoding::kWindows1252, all.data(), all.size());
  EXPECT_EQ(text[0x80], 0x20AC);
  EXPECT_EQ(text[0x81], 0x0081);
  Bytes again;
  ASSERT_TRUE(Encode(TextEncoding::kWindows1252, text, again));
  EXPECT_EQ(again, all);
}

TEST(TextEncodingTest, UnrepresentableTextLeavesTheOutputUnchanged) {
  Bytes out = {'x'};
  EXPECT_FALSE(Encode(TextEncoding::kWindows1252, u"a\u0100", out));
  EXPECT_FALSE(Encode(TextEncoding::kUtf8, Text(u"a") + Text(1, 0xDC00), out));
  EXPECT_EQ(out, Bytes{'x'});
}

TEST(TextEncodingTest, MalformedUtf8DecodesToReplacementCharactersWithoutEatingAscii) {
  const std::string_view bytes = "a\xE2\x82\nb";
  EXPECT_EQ(Decode(TextEncoding::kUtf8, reinterpret_cast<const BYTE*>(bytes.data()), bytes.size()),
            u"a\uFFFD\uFFFD\nb");
}

}  // namespace
}  // namespace config
