// A connection is whole or nothing: a connect attempt that fails after its event link was made
// ends that link; a failure while the list is filled or open windows are taken in ends that tick
// only, and the connection stands; the tray tells the true state on every tick.
#include "monitor/connected_fixture.h"

namespace {

class ConnectWholeTest : public ConnectedFixture {
 protected:
  int Count(const std::string& text) {
    int n = 0;
    for (size_t i = mark; i < printed.size(); ++i)
      if (printed[i].find(text) != std::string::npos) ++n;
    return n;
  }
};

TEST_F(ConnectWholeTest, AConnectFailingAfterTheEventLinkLeavesNoEventsAndTheTrayTellsIt) {
  Run("messenger fail Show E_FAIL 1");
  StartConnected({"bob@example.com \"Bob\" online"});
  EXPECT_FALSE(Tellbud().m_bMSNConnected);
  EXPECT_FALSE(static_cast<bool>(Tellbud().m_pEventSink));
  EXPECT_PRINTED("tray tip \"Can't find Messenger\"");
  // Messenger's events find no link: nothing fills the list behind the connection's back.
  Run("contact add ann@example.com \"Ann\" online");
  EXPECT_EQ(Names(), "");
  Tick();
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
  EXPECT_EQ(Names(), "Ann|Bob| ");
  EXPECT_PRINTED("tray tip \"Online\"");
}

TEST_F(ConnectWholeTest, AFailingListEndsTheTickButNotTheConnection) {
  Run("messenger fail get_FriendlyName 0x80004005");
  StartConnected({"bob@example.com \"Bob\" online"});
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
  EXPECT_PRINTED("tray tip \"Online\"");
  Forget();
  Run("call bob@example.com");
  Tick();
  Tick();
  EXPECT_EQ(Count("messenger Show()"), 0) << "no new connection, no window brought up every tick";
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
  // Once Messenger answers again the list is filled whole, without connecting anew.
  Run("messenger heal");
  Tick();
  EXPECT_EQ(Names(), "Bob| ");
  EXPECT_EQ(Count("messenger Show()"), 0);
}

TEST_F(ConnectWholeTest, ABlankDisplayNameIsNeverTakenForTheSeparatorRow) {
  StartMessenger({"bob@example.com \"Bob\" online", "blank@example.com \" \" offline"});
  Run("chat blank@example.com");
  Run("handset plug");
  StartTellbud();
  Forget();
  Tick();
  Tick();
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
  EXPECT_EQ(Count("messenger Show()"), 0);
  EXPECT_FALSE(PrintedSinceMark("ended: a Messenger call failed")) << Transcript();
  Run("call bob@example.com");
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
}

}  // namespace
