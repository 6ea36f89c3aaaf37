// USB/PSTN line adaptors: the star key hands the line to the telephone network, keys are ignored
// while the lifted handset belongs to it, and line activity pauses the scan and the keys until
// six seconds after the last activity. Also the level key, on every kind of handset.
#include "handset_fixture.h"

namespace {

struct AdaptorKind {
  const char* model;
  const char* get_channel;  // the call that reads the line, or "" when none is made
  const char* set_channel;
};

class AdaptorTest : public HandsetFixture, public ::testing::WithParamInterface<AdaptorKind> {
 protected:
  // Lines that report the program's handset calls, other than the acknowledgement and the
  // channel read every key makes.
  std::vector<std::string> Reactions() const {
    std::vector<std::string> out;
    for (const std::string& line : LinesSinceMark()) {
      if (line.starts_with("handset AcknowledgeKey") || line.starts_with("handset GetChannel")) continue;
      out.push_back(line);
    }
    return out;
  }
};

INSTANTIATE_TEST_SUITE_P(ChannelGroups, AdaptorTest,
                         ::testing::Values(AdaptorKind{"0520", "GetChannel()", "SetChannel(0)"},
                                           AdaptorKind{"0540", "GetChannel2()", "SetChannel2(0)"}),
                         [](const auto& info) { return std::string("Model") + info.param.model; });

TEST_P(AdaptorTest, StarOnAnEmptyDialStringSwitchesFromUsbToTheTelephoneLine) {
  StartWorld(GetParam().model);
  Run("handset key *");
  EXPECT_PRINTED(std::string("handset ") + GetParam().get_channel + " -> 1");
  EXPECT_PRINTED(std::string("handset ") + GetParam().set_channel);
  EXPECT_FALSE(PrintedSinceMark("ShowDialString"));
  EXPECT_TRUE(Dialog()->m_strDial.IsEmpty()) << "nothing is appended";
  Forget();
  // Now on the telephone line, the star only clears the display.
  Run("handset key *");
  EXPECT_EQ(Reactions(), std::vector<std::string>{"handset ShowDialString(\"\")"});
}

TEST_P(AdaptorTest, StarAfterDigitsIsAppended) {
  StartWorld(GetParam().model);
  Run("handset dial 1*");
  EXPECT_PRINTED("handset ShowDialString(\"1*\")");
  EXPECT_FALSE(PrintedSinceMark(GetParam().set_channel));
}

TEST_P(AdaptorTest, DigitsOnTheTelephoneLineAreIgnoredButRaiseTheMainWindow) {
  StartWorld(GetParam().model);
  Run("handset key *");
  Run("window close");
  Forget();
  Run("handset dial 5");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
  EXPECT_FALSE(PrintedSinceMark("ShowDialString"));
  EXPECT_TRUE(Dialog()->m_strDial.IsEmpty());
}

TEST_P(AdaptorTest, WithTheHandsetLiftedOnTheTelephoneLineOnlyTheStarActs) {
  StartWorld(GetParam().model);
  Run("handset key *");
  Run("handset lift");
  EXPECT_FALSE(PrintedSinceMark("ShowDialString")) << "lifted on the telephone line";
  Forget();
  Run("handset key 1 # prev next call end speaker 137");
  EXPECT_TRUE(Reactions().empty()) << Transcript();
  Run("handset key *");
  EXPECT_EQ(Reactions(), std::vector<std::string>{"handset ShowDialString(\"\")"});
}

TEST_P(AdaptorTest, LiftingOnUsbInTheReadyStateShowsAnEmptyDialString) {
  StartWorld(GetParam().model);
  Run("handset lift");
  EXPECT_PRINTED(std::string("handset ") + GetParam().get_channel + " -> 1");
  EXPECT_PRINTED("handset ShowDialString(\"\")");
  EXPECT_PRINTED("handset SetSpeakerA(0)");
}

TEST_P(AdaptorTest, LineActivityPausesTheScanAndTheKeysUntilSixSecondsAfterTheLast) {
  StartWorld(GetParam().model);
  Run("handset line");
  EXPECT_PRINTED(std::string("handset ") + GetParam().set_channel);
  EXPECT_EQ(Dialog()->m_nChannel, 0);
  EXPECT_TRUE(Dialog()->m_bMonitorPaused);
  Run("call bob@example.com");
  Run("wait 4s");
  Run("handset line");  // again, 4 s later: the pause now lasts until 6 s after this
  Run("wait 5900ms");
  EXPECT_TRUE(Dialog()->m_bMonitorPaused);
  EXPECT_EQ(Dialog()->m_nCallState, CALL_READY) << "the scan has not run";
  Run("window close");
  Forget();
  Run("handset key 137 1 prev");
  EXPECT_TRUE(Reactions().empty()) << Transcript();
  Run("handset key *");  // the star on an empty dial string still acts
  EXPECT_EQ(Reactions(), std::vector<std::string>{"handset ShowDialString(\"\")"});
  Run("wait 100ms");
  EXPECT_FALSE(Dialog()->m_bMonitorPaused);
  Run("wait 2s");
  EXPECT_EQ(Dialog()->m_nCallState, CALL_RINGING) << "the scan runs again and finds the call";
}

// 0x0500..0x051F: no channel call is made; the line is the one stored in the settings.
class AdaptorWithoutChannelTest : public HandsetFixture, public ::testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(StoredLines, AdaptorWithoutChannelTest, ::testing::Values(0, 1),
                         [](const auto& info) {
                           return info.param ? std::string("Usb") : std::string("Pstn");
                         });

TEST_P(AdaptorWithoutChannelTest, StarUsesTheLineStoredInTheSettings) {
  Run("ini Tellbud.ini OPTION ChannelType \"" + std::to_string(GetParam()) + "\"");
  StartWorld("0500");
  Run("handset key *");
  EXPECT_EQ(PrintedSinceMark("ShowDialString(\"\")"), GetParam() == 0) << Transcript();
  EXPECT_FALSE(PrintedSinceMark("Channel"));
  EXPECT_EQ(Dialog()->m_nChannel, GetParam());
}

using LineActivityTest = HandsetFixture;

TEST_F(LineActivityTest, OnAPlainHandsetItSetsThePauseButCallsNoChannelOperation) {
  StartWorld("0200");
  Run("handset line");
  EXPECT_FALSE(PrintedSinceMark("Channel"));
  EXPECT_EQ(Dialog()->m_nChannel, 0);
  EXPECT_TRUE(Dialog()->m_bMonitorPaused);
  Run("handset dial 1");
  EXPECT_PRINTED("handset ShowDialString(\"1\")") << "the pause does not hold the keys of a plain handset";
  Run("wait 6s");
  EXPECT_FALSE(Dialog()->m_bMonitorPaused);
}

using LevelKeyTest = HandsetFixture;

TEST_F(LevelKeyTest, StepsByFiveFromTenToSeventyFiveAndBackToTen) {
  StartWorld("0520");
  ASSERT_EQ(Handset().level, 10);
  for (int expected = 15; expected <= 75; expected += 5) {
    Run("handset level");
    EXPECT_PRINTED("handset SetLevel(" + std::to_string(expected) + ")");
    EXPECT_EQ(Handset().level, expected);
  }
  Run("handset level");
  EXPECT_EQ(Handset().level, 10);
}

TEST_F(LevelKeyTest, LevelsAboveSeventyFiveWrapAsTheRemainderGives) {
  StartWorld("0200");
  Run("handset setlevel 76");
  Run("handset level");
  EXPECT_EQ(Handset().level, 11);
  Run("handset setlevel 77");
  Run("handset level");
  EXPECT_EQ(Handset().level, 2);
}

}  // namespace
