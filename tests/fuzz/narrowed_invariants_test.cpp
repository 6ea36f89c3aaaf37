// What the invariants do not hold against Tellbud, because Tellbud cannot read it: a status line
// Messenger wrote in a language other than Tellbud's, and a call running while Messenger fails,
// until healed, an operation Tellbud reads calls through. Once Messenger heals, the checks apply.
#include <gtest/gtest.h>

#include "world/fuzz/campaign.h"

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
                           {"wait", "20s"}})),
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

}  // namespace
