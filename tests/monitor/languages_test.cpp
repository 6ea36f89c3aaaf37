// Messenger writing in another language, with the matching language file selected in
// Tellbud.ini: the same calls ring, run and end, and open windows are found by their titles.
#include "monitor/connected_fixture.h"

namespace {

struct LanguageCase {
  const char* name;
  const char* title;   // Bob's conversation window
  const char* accept;  // Messenger's Accept shortcut in that language
  const char* invitation;
};

class LanguageTest : public ConnectedFixture, public ::testing::WithParamInterface<LanguageCase> {
 protected:
  void SetUp() override {
    ConnectedFixture::SetUp();
    const LanguageCase& lang = GetParam();
    Run(std::string("messenger language ") + lang.name);
    Run(std::string("ini Tellbud.ini LanguageType 0 \"") + lang.name + "\"");
    Run(std::string("ini Tellbud.ini SHORTCUT_KEY Accept \"") + lang.accept + "\"");
  }
  static std::vector<std::string> Contacts() {
    return {"bob@example.com \"Bob\" online", "jo@example.com \"Jürgen\" online",
            "zoe@example.com \"Zoë\" offline", "eli@example.com \"Élodie\" online"};
  }
};

TEST_P(LanguageTest, ContactsFillTheListWithTheirNamesAsWritten) {
  StartConnected(Contacts());
  EXPECT_EQ(Names(), "Bob|Élodie|Jürgen| |Zoë");
}

TEST_P(LanguageTest, ACallRingsAndTheCallersHangingUpReturnsTheHandsetToIdle) {
  StartConnected(Contacts());
  Run("call bob@example.com");
  EXPECT_PRINTED(std::string("history \"") + GetParam().title + "\" \"Bob " + GetParam().invitation);
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
  Run("hangup bob@example.com");
  Tick();
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_EQ(CallState(), CALL_READY);
}

TEST_P(LanguageTest, AnAnsweredCallShowsTalkingUntilItEnds) {
  StartConnected(Contacts());
  Run("call jo@example.com");
  Tick();
  ASSERT_PRINTED("handset ShowIncomingCall(\"jo@example.com\")");
  Run("handset lift");
  Tick();
  EXPECT_PRINTED("handset ShowTalking(\"jo@example.com\")");
  EXPECT_EQ(CallState(), CALL_TALKING);
  Run("hangup jo@example.com");
  Tick();
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_EQ(CallState(), CALL_READY);
}

TEST_P(LanguageTest, AWindowOpenBeforeConnectingIsFoundByItsTitleAndRings) {
  StartMessenger(Contacts());
  Run("call eli@example.com");
  Run("handset plug");
  StartTellbud();
  EXPECT_PRINTED("handset ShowIncomingCall(\"eli@example.com\")");
  EXPECT_EQ(Watched(), 1u);
}

TEST_P(LanguageTest, MessengerQuittingMidCallIsSurvivedAndTheNextCallRings) {
  StartConnected(Contacts());
  Run("call bob@example.com");
  Tick();
  Run("messenger quit");
  Tick();
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_PRINTED("tray tip \"Can't find Messenger\"");
  Run("messenger start");
  Run("messenger signin");
  Tick();
  EXPECT_PRINTED("tray tip \"Online\"");
  Run("call jo@example.com");
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"jo@example.com\")");
}

INSTANTIATE_TEST_SUITE_P(
    ShippedLanguages, LanguageTest,
    ::testing::Values(
        LanguageCase{"English", "Bob - Dialog", "Alt+C", "would like to have a voice conversation"},
        LanguageCase{"German", "Bob - Unterhaltung", "Alt+N", "möchte ein Sprachgespräch"},
        LanguageCase{"French", "Bob - Conversation", "Alt+A", "souhaite avoir une conversation vocale"}),
    [](const ::testing::TestParamInfo<LanguageCase>& info) { return std::string(info.param.name); });

}  // namespace
