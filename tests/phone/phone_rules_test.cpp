// Model-code ranges, the level key's steps and the Alt shortcut parsing.
#include <gtest/gtest.h>

#include "phone/level_step.h"
#include "phone/model_code.h"
#include "phone/shortcut_key.h"

namespace {

TEST(ModelCodeTest, RangesIncludeBothEnds) {
  EXPECT_TRUE(IsAdaptor(0x500));
  EXPECT_TRUE(IsAdaptor(0x58F));
  EXPECT_FALSE(IsAdaptor(0x4FF));
  EXPECT_FALSE(IsAdaptor(0x590));
  EXPECT_TRUE(IsChannelGroup1(0x520) && IsChannelGroup1(0x53F) && IsChannelGroup1(0x570) &&
              IsChannelGroup1(0x58F));
  EXPECT_FALSE(IsChannelGroup1(0x51F) || IsChannelGroup1(0x540) || IsChannelGroup1(0x56F));
  EXPECT_TRUE(IsChannelGroup2(0x540) && IsChannelGroup2(0x56F));
  EXPECT_FALSE(IsChannelGroup2(0x53F) || IsChannelGroup2(0x570));
  EXPECT_TRUE(IsSpeakerGroupA(0x200) && IsSpeakerGroupA(0x4FF));
  EXPECT_FALSE(IsSpeakerGroupA(0x1FF) || IsSpeakerGroupA(0x500));
  EXPECT_TRUE(IsSpeakerGroupB(0xAB0) && IsSpeakerGroupB(0xAFF));
  EXPECT_FALSE(IsSpeakerGroupB(0xAAF) || IsSpeakerGroupB(0xB00));
}

TEST(ModelCodeTest, AdaptorsWithoutChannelOperationsBelongToNoGroup) {
  for (DWORD m = 0x500; m <= 0x51F; ++m) EXPECT_FALSE(IsChannelGroup1(m) || IsChannelGroup2(m)) << m;
}

TEST(LevelStepTest, StepsByFiveFromTenToSeventyFiveAndWraps) {
  SHORT level = 10;
  for (SHORT expected = 15; expected <= 75; expected = static_cast<SHORT>(expected + 5)) {
    level = NextLevel(level);
    EXPECT_EQ(level, expected);
  }
  EXPECT_EQ(NextLevel(75), 10);
}

TEST(LevelStepTest, OddLevelsAboveSeventyFiveWrapAsTheRemainderGives) {
  EXPECT_EQ(NextLevel(76), 11);
  EXPECT_EQ(NextLevel(77), 2);
  EXPECT_EQ(NextLevel(0), 5 + 0);
  EXPECT_EQ(NextLevel(-10), 5);  // the remainder keeps the dividend's sign
}

TEST(ShortcutKeyTest, TheCharacterAfterAltPlusIsTheKeyCode) {
  EXPECT_EQ(ParseAltShortcut(TEXT("Alt+C")), 0x43);
  EXPECT_EQ(ParseAltShortcut(TEXT("Alt+D")), 0x44);
  EXPECT_EQ(ParseAltShortcut(TEXT("Alt+a")), 0x61);
  EXPECT_EQ(ParseAltShortcut(TEXT("Alt+ ")), 0x20);
  EXPECT_EQ(ParseAltShortcut(TEXT("Alt+7x")), '7');
}

TEST(ShortcutKeyTest, AnythingElseGivesZero) {
  EXPECT_EQ(ParseAltShortcut(TEXT("alt+C")), 0);
  EXPECT_EQ(ParseAltShortcut(TEXT("Ctrl+C")), 0);
  EXPECT_EQ(ParseAltShortcut(TEXT("Alt")), 0);
  EXPECT_EQ(ParseAltShortcut(TEXT("Alt+")), 0);
  EXPECT_EQ(ParseAltShortcut(TEXT("")), 0);
  EXPECT_EQ(ParseAltShortcut(nullptr), 0);
}

}  // namespace
