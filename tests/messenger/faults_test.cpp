// Any one of Messenger's automation operations failing (once, or until it is healed) or
// Messenger vanishing while it serves one: Tellbud goes through a whole day of calls and
// contact changes without crashing, and once Messenger is well again its list, its call state
// and its conversations are as they should be and the next call rings.
#include <algorithm>
#include <tuple>

#include "monitor/connected_fixture.h"
#include "world/messenger/faults.h"

namespace {

enum class Fault { kOnce, kUntilHealed, kVanish };

class MessengerFaultTest : public ConnectedFixture,
                           public ::testing::WithParamInterface<std::tuple<std::string, Fault>> {
 protected:
  // A step of the day that may not apply once Messenger has gone: its outcome is not checked.
  void Try(const std::string& line) { console.ExecuteLine(line); }

  void Inject() {
    auto [op, fault] = GetParam();
    switch (fault) {
      case Fault::kOnce:
        Run(std::string("messenger fail ") + op + " E_FAIL 1");
        break;
      case Fault::kUntilHealed:
        Run(std::string("messenger fail ") + op + " 0x80004005");
        break;
      case Fault::kVanish:
        Run(std::string("messenger vanish ") + op);
        break;
    }
  }

  // Calls in and out, answered and hung up, contacts coming and going, conversations opened,
  // joined, left and closed, the audio wizard.
  void LiveADay() {
    Run("start");
    Run("wait 3s");
    for (const char* line : {"call bob@example.com",
                             "wait 2s",
                             "handset lift",
                             "wait 2s",
                             "handset down",
                             "wait 2s",
                             "contact status ann@example.com online",
                             "contact add dave@example.com \"Dave\" offline",
                             "contact remove carl@example.com",
                             "wait 2s",
                             "list click 1",
                             "list dblclick 1",
                             "wait 2s",
                             "answer ann@example.com",
                             "wait 2s",
                             "hangup ann@example.com",
                             "wait 2s",
                             "tray rclick",
                             "menu SetAudio",
                             "chat dave@example.com",
                             "join dave@example.com bob@example.com",
                             "wait 2s",
                             "leave dave@example.com bob@example.com",
                             "wait 2s",
                             "call dave@example.com",
                             "wait 2s",
                             "close dave@example.com",
                             "wait 2s",
                             "messenger status away",
                             "wait 2s",
                             "messenger signout",
                             "wait 2s",
                             "messenger signin",
                             "wait 2s"})
      Try(line);
  }

  // Messenger well again, running and signed in, every call of the day over.
  void Heal() {
    Run("messenger heal");
    if (!world.messenger().IsRunning()) Run("messenger start");
    Try("messenger signin");
    for (const char* who : {"bob", "ann", "dave"}) {
      Try(std::string("hangup ") + who + "@example.com");
      Try(std::string("close ") + who + "@example.com");
    }
    Try("menu none");
    Run("wait 6s");
  }

  // The rows are Messenger's contacts, each once, online ones above the separator.
  void ExpectListMatchesMessenger() {
    auto contacts = world.messenger().Contacts();
    auto rows = ContactRows(world);
    ASSERT_EQ(rows.size(), contacts.size() + 1) << Names();
    size_t online = 0;
    for (const auto& c : contacts) {
      bool isOnline = c.status > 1;
      online += isOnline ? 1 : 0;
      auto it = std::find_if(rows.begin(), rows.end(),
                             [&](const ContactRowView& r) { return r.signin == c.signin; });
      ASSERT_NE(it, rows.end()) << c.signin << " missing: " << Names();
      EXPECT_EQ(it->image, isOnline ? 0 : 1) << c.signin;
    }
    EXPECT_EQ(Tellbud().m_nOnlineCount, online);
    EXPECT_EQ(rows[online].image, -1) << Names();
  }
};

TEST_P(MessengerFaultTest, TellbudComesThroughADayOfCallsAndIsWellOnceMessengerIs) {
  StartMessenger({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" offline",
                  "carl@example.com \"Carl\" online"});
  Run("handset plug");
  Inject();
  LiveADay();
  ASSERT_NE(Dialog(), nullptr) << "Tellbud has gone";

  Heal();
  ASSERT_NE(Dialog(), nullptr) << "Tellbud has gone";
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
  EXPECT_EQ(world::Utf8(world::TellbudTrayIcon(world)->tip), "Online");
  ExpectListMatchesMessenger();
  EXPECT_EQ(CallState(), CALL_READY);
  EXPECT_FALSE(HasCurrentConversation());

  Forget();
  Run("contact add eve@example.com \"Eve\" online");
  Run("call eve@example.com");
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"eve@example.com\")");
  EXPECT_EQ(CallState(), CALL_RINGING);
  Run("debug on");
  Run("hangup eve@example.com");
  Tick();
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_EQ(CallState(), CALL_READY);
}

std::string FaultName(const ::testing::TestParamInfo<std::tuple<std::string, Fault>>& info) {
  static const char* const kKinds[] = {"FailingOnce", "FailingUntilHealed", "VanishingDuring"};
  return std::string(kKinds[static_cast<int>(std::get<1>(info.param))]) + "_" + std::get<0>(info.param);
}

INSTANTIATE_TEST_SUITE_P(
    EveryOperation, MessengerFaultTest,
    ::testing::Combine(::testing::ValuesIn(world::messenger::FaultPlan::KnownOperations()),
                       ::testing::Values(Fault::kOnce, Fault::kUntilHealed, Fault::kVanish)),
    FaultName);

}  // namespace
