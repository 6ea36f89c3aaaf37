// Editing INI files as a person with a text editor does, and reading them back for `cat`.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "world/core/exe_folder.h"
#include "world/core/ini_edit.h"
#include "world/core/text_file.h"

namespace {

using world::SetIniValue;

TEST(SetIniValueTest, ReplacesOnlyTheKeysValue) {
  std::string text = "; comment\r\n[OPTION]\r\nRingType=0\r\nChannelType=0\r\n";
  EXPECT_EQ(SetIniValue(text, "OPTION", "RingType", "3"),
            "; comment\r\n[OPTION]\r\nRingType=3\r\nChannelType=0\r\n");
}

TEST(SetIniValueTest, NamesMatchWithoutCaseAndKeepTheirSpelling) {
  std::string text = "[Option]\nringtype = 0\n";
  EXPECT_EQ(SetIniValue(text, "OPTION", "RingType", "5"), "[Option]\nringtype =5\n");
}

TEST(SetIniValueTest, OnlyTheNamedSectionsKeyChanges) {
  std::string text = "[A]\nKey=1\n[B]\nKey=2\n";
  EXPECT_EQ(SetIniValue(text, "B", "Key", "9"), "[A]\nKey=1\n[B]\nKey=9\n");
}

TEST(SetIniValueTest, NewKeyGoesAfterTheSectionsLastKeyBeforeBlankLinesAndComments) {
  std::string text = "[A]\nOne=1\n\n; about B\n[B]\nTwo=2\n";
  EXPECT_EQ(SetIniValue(text, "A", "New", "x"), "[A]\nOne=1\nNew=x\n\n; about B\n[B]\nTwo=2\n");
}

TEST(SetIniValueTest, NewKeyInAnEmptySectionFollowsItsHeader) {
  EXPECT_EQ(SetIniValue("[A]\r\n\r\n[B]\r\n", "A", "K", "v"), "[A]\r\nK=v\r\n\r\n[B]\r\n");
}

TEST(SetIniValueTest, MissingSectionIsAppendedWithTheFilesLineEnds) {
  EXPECT_EQ(SetIniValue("[A]\nX=1", "B", "K", "v"), "[A]\nX=1\n[B]\nK=v\n");
  EXPECT_EQ(SetIniValue("", "Phone", "Name", "Bob"), "[Phone]\r\nName=Bob\r\n");
}

TEST(SetIniValueTest, CommentedOutKeysAreNotKeys) {
  EXPECT_EQ(SetIniValue("[A]\n;K=1\n", "A", "K", "2"), "[A]\nK=2\n;K=1\n");
}

TEST(SetIniValueTest, ValueIsWrittenAsGivenQuotesIncluded) {
  EXPECT_EQ(SetIniValue("[INFO_OTHER]\nIMWndName=\" - Dialog\"\n", "INFO_OTHER", "IMWndName", "\" - Chat\""),
            "[INFO_OTHER]\nIMWndName=\" - Chat\"\n");
}

class IniFileTest : public ::testing::Test {
 protected:
  world::TemporaryFolder folder;
  std::filesystem::path file = folder.path() / "x.ini";
  void Write(const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }
  std::string Read() {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

TEST_F(IniFileTest, Utf16FileStaysUtf16WithItsByteOrderMark) {
  Write(std::string("\xFF\xFE[\0A\0]\0\r\0\n\0", 12));
  ASSERT_TRUE(world::EditIniFile(file, "A", "K", "\xC3\xA9"));  // é
  EXPECT_EQ(Read(), std::string("\xFF\xFE[\0A\0]\0\r\0\n\0K\0=\0\xE9\0\r\0\n\0", 22));
}

TEST_F(IniFileTest, Utf8ByteOrderMarkIsKept) {
  Write("\xEF\xBB\xBF[A]\nK=1\n");
  ASSERT_TRUE(world::EditIniFile(file, "A", "K", "2"));
  EXPECT_EQ(Read(), "\xEF\xBB\xBF[A]\nK=2\n");
}

TEST_F(IniFileTest, AnsiFileGetsAnsiTextAndRefusesWhatItCannotHold) {
  Write("[A]\nName=Jos\xE9\n");                                          // Windows-1252, not UTF-8
  ASSERT_TRUE(world::EditIniFile(file, "A", "Other", "M\xC3\xBCller"));  // ü
  EXPECT_EQ(Read(), "[A]\nName=Jos\xE9\nOther=M\xFCller\n");
  std::string why;
  EXPECT_FALSE(world::EditIniFile(file, "A", "Other", "\xE4\xB8\xAD", &why));  // a CJK character
  EXPECT_FALSE(why.empty());
  EXPECT_EQ(Read(), "[A]\nName=Jos\xE9\nOther=M\xFCller\n") << "a refused edit leaves the file alone";
}

TEST_F(IniFileTest, MissingFileIsCreated) {
  ASSERT_TRUE(world::EditIniFile(file, "Phone", "Name", "Bob"));
  EXPECT_EQ(Read(), "[Phone]\r\nName=Bob\r\n");
}

TEST_F(IniFileTest, ReadTextLinesDecodesAndDropsLineEnds) {
  Write(
      std::string("\xFF\xFE"
                  "a\0\r\0\n\0\xE9\0",
                  10));
  std::vector<std::string> lines;
  ASSERT_TRUE(world::ReadTextLines(file, &lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "\xC3\xA9"}));
  EXPECT_FALSE(world::ReadTextLines(folder.path() / "missing.ini", &lines));
}

TEST(TextEncodingTest, AnsiBytesOfTheEuroRangeDecodeToTheirCharacters) {
  auto decoded = world::DecodeText("\x80\x93");
  EXPECT_EQ(decoded.encoding, world::TextEncoding::kAnsi);
  EXPECT_EQ(decoded.text, "\xE2\x82\xAC\xE2\x80\x9C");  // € “
  EXPECT_EQ(world::EncodeText(decoded.text, world::TextEncoding::kAnsi), "\x80\x93");
}

}  // namespace
