// What the invariants do not hold against Tellbud, because Tellbud cannot read it: a status line
// Messenger wrote in a language other than Tellbud's, a call running while Messenger fails,
// until healed, an operation Tellbud reads calls through (once Messenger heals, the checks
// apply), after a restart, a call in a contact's second one-to-one conversation, and the end of
// a ringing call while the history cannot be read.
#include <gtest/gtest.h>

#include "world/fuzz/campaign.h"
#include "world/fuzz/generator.h"

namespace {

std::vector<fuzz::Words> Steps(std::initializer_list<fuzz::Words> steps) { return steps; }

std::string Outcome(const std::vector<fuzz::Words>& steps) {
  fuzz::EpisodeResult result = fuzz::Replay(steps, fuzz::Options{}, false);
  return result.violation ? result.violation->invariant + ": " + result.violation->detail : "holds";
}

// The English invitation is the newest line Tellbud can read, so the handset rings for it; the
// contact withdrew it in German meanwhile.
TEST(FuzzNarrowedInvariants, AStatusLineInAnotherLanguageIsBeyondTellbud) {
  EXPECT_EQ(Outcome(Steps({{"handset", "plug"},
                           {"messenger", "start"},
                           {"messenger", "signin"},
                           {"contact", "add", "bob@example.com", "Bob", "online"},
                           {"call", "bob@example.com"},
                           {"messenger", "language", "German"},
                           {"hangup", "bob@example.com"},
                           {"messenger", "language", "English"},
                           {"start"},
                           {"wait", "3s"},
                           {"wait", "20s"},
                           {fuzz::kQuietStep}})),
            "holds");
}

// A Tellbud started again while get_History fails cannot see the call the handset answered;
// once Messenger heals it must.
TEST(FuzzNarrowedInvariants, ACallUnreadableUntilMessengerHealsMustBeFollowedAfterwards) {
  std::vector<fuzz::Words> steps = Steps({{"handset", "plug"},
                                          {"messenger", "start"},
                                          {"messenger", "signin"},
                                          {"contact", "add", "bob@example.com", "Bob", "online"},
                                          {"start"},
                                          {"wait", "3s"},
                                          {"call", "bob@example.com"},
                                          {"wait", "2s"},
                                          {"handset", "lift"},
                                          {"wait", "3s"},
                                          {"messenger", "fail", "get_History", "E_FAIL"},
                                          {"start", "*exit*"},
                                          {"start"},
                                          {"wait", "3s"},
                                          {"wait", "20s"}});
  EXPECT_EQ(Outcome(steps), "holds");
  steps.push_back({"messenger", "heal"});
  steps.push_back({"wait", "3s"});
  steps.push_back({"wait", "20s"});
  EXPECT_EQ(Outcome(steps), "holds") << "Tellbud takes the call up once it can read the history";
}

// Zoë joins Eve's conversation and Eve leaves it: Zoë is alone in two conversations, and the call
// the handset answered runs in the one Messenger does not give for her. A Tellbud started
// afterwards has no way to that window's objects.
TEST(FuzzNarrowedInvariants, ACallInAContactsSecondConversationIsBeyondARestartedTellbud) {
  EXPECT_EQ(Outcome(Steps({{"messenger", "start"},
                           {"messenger", "status", "online"},
                           {"handset", "plug"},
                           {"call", "eve"},
                           {"call", "zoe@example.com"},
                           {"join", "eve", "zoe@example.com"},
                           {"start"},
                           {"wait", "7s"},
                           {"handset", "key", "5"},
                           {"leave", "eve", "eve"},
                           {"start", "*exit*"},
                           {"wait", "9s"},
                           {"start"},
                           {"wait", "1s"},
                           {"wait", "13m"}})),
            "holds");
}

// The contact withdraws the invitation while Messenger cannot give the history: the handset rings
// on, as nothing tells Tellbud otherwise, and stops once Messenger heals.
TEST(FuzzNarrowedInvariants, ARingWhoseEndCannotBeReadStopsOnceMessengerHeals) {
  std::vector<fuzz::Words> steps = Steps({{"start"},
                                          {"messenger", "start"},
                                          {"handset", "plug"},
                                          {"messenger", "signin"},
                                          {"call", "ann@example.com"},
                                          {"wait", "83s"},
                                          {"hangup", "ann@example.com"},
                                          {"messenger", "fail", "get_History", "RPC_E_DISCONNECTED"},
                                          {"wait", "23m"}});
  EXPECT_EQ(Outcome(steps), "holds");
  steps.push_back({"messenger", "heal"});
  steps.push_back({"wait", "20s"});
  EXPECT_EQ(Outcome(steps), "holds") << "the ring stops once the history can be read";
}

// Tellbud reads German phrases chosen in Select language; Tellbud.ini deleted afterwards does not
// make it read English ones, so Messenger's English lines stay beyond it.
TEST(FuzzNarrowedInvariants, TheLanguageIsTheOneTellbudReadsNotTheFilesNow) {
  EXPECT_EQ(Outcome(Steps({{"start"},
                           {"messenger", "start"},
                           {"tray", "rclick"},
                           {"menu", "SelectLanguage"},
                           {"choose", "Select language", "1005", "German"},
                           {"button", "Select language", "OK"},
                           {"messenger", "signin"},
                           {"contact", "add", "bob@example.com", "Bob", "online"},
                           {"file", "delete", "Tellbud.ini"},
                           {"wait", "8m"},
                           {"list", "rclick", "1"},
                           {"menu", "StartVoice"},
                           {fuzz::kQuietStep}})),
            "holds");
}

}  // namespace
