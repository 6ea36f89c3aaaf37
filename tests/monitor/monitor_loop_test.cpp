// The monitor: the handset search, the Messenger watch with its process walk and debugger
// lines, the connection attempts, the tray icon and tip, and the pauses of the scan.
#include <algorithm>

#include "monitor/connected_fixture.h"
#include "phone/model_code.h"

namespace {

class MonitorLoopTest : public ConnectedFixture {
 protected:
  // The times ("[00:01.000]") of the printed lines containing `text`.
  std::vector<std::string> TimesOf(const std::string& text) const {
    std::vector<std::string> times;
    for (const std::string& line : printed)
      if (line.find(text) != std::string::npos) times.push_back(line.substr(0, line.find(']') + 1));
    return times;
  }
  size_t Count(const std::string& text) const { return TimesOf(text).size(); }
};

TEST_F(MonitorLoopTest, TheHandsetSearchTicksAfterOneSecondThenEveryTwoUntilTheHandsetOpens) {
  Run("start");
  Run("wait 6s");
  EXPECT_EQ(TimesOf("handset OpenDevice(0)"),
            (std::vector<std::string>{"[00:01.000]", "[00:03.000]", "[00:05.000]"}));
  EXPECT_PRINTED("tray icon nodevice.ico");
  EXPECT_PRINTED("tray tip \"Can't find USB Phone\"");
  Run("handset plug");
  Run("wait 10s");
  EXPECT_EQ(Count("handset OpenDevice(0) -> TRUE"), 1u);
  EXPECT_EQ(Count("handset OpenDevice(0)"), 4u);
  EXPECT_EQ(CallState(), CALL_READY);
}

TEST_F(MonitorLoopTest, OpeningTheHandsetConfiguresItsRingAndSetsItIdle) {
  Run("ini Tellbud.ini OPTION RingType \"3\"");
  Run("handset plug");
  Run("start");
  Run("wait 1s");
  EXPECT_PRINTED("handset GetModelCode() -> 512");
  EXPECT_PRINTED("handset SetRing(FALSE, 3)");
  EXPECT_PRINTED("handset SetIdle()");
  // Without Messenger the tray keeps what it showed.
  EXPECT_NOT_PRINTED("tray icon ok.ico");
  EXPECT_EQ(Tellbud().m_nRingType, 3);
}

TEST_F(MonitorLoopTest, TheOnlineIconComesWithTheTickThatConnects) {
  Run("handset plug");
  Run("start");
  Run("wait 1s");
  Run("messenger start");
  Run("messenger signin");
  Forget();
  Run("wait 1500ms");
  EXPECT_PRINTED("messenger Show()");
  EXPECT_PRINTED("tray icon ok.ico");
  EXPECT_PRINTED("tray tip \"Online\"");
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
}

TEST_F(MonitorLoopTest, AnAdaptorGetsItsDefaultChannelFromTheSettingsAndNoRing) {
  Run("ini Tellbud.ini OPTION ChannelType \"1\"");
  Run("handset plug 545");
  StartMessenger({});
  StartTellbud();
  EXPECT_PRINTED("handset SetDefaultChannel2(1)");
  EXPECT_NOT_PRINTED("SetRing");
  EXPECT_PRINTED("handset GetChannel2()");
  EXPECT_EQ(Tellbud().m_nChannel, 1);
}

TEST_F(MonitorLoopTest, TheFirstAdaptorsNeitherConfigureNorReadTheirChannel) {
  Run("ini Tellbud.ini OPTION ChannelType \"1\"");
  Run("handset plug 510");
  StartMessenger({});
  StartTellbud();
  Tick();
  EXPECT_NOT_PRINTED("Channel");
  EXPECT_NOT_PRINTED("SetRing");
  EXPECT_EQ(Tellbud().m_nChannel, 1);
}

TEST_F(MonitorLoopTest, EveryWatchTickWritesTheProcessesUpToMessengerForTheDebugger) {
  Run("debug on");
  Run("start");
  Run("wait 2s");
  EXPECT_PRINTED("debug \"System\"");
  EXPECT_PRINTED("debug \"explorer.exe\"");
  EXPECT_PRINTED("debug \"Tellbud.exe\"");
  EXPECT_PRINTED("debug \"m_bMSNRuning = FALSE\"");
  EXPECT_PRINTED("tray icon nophone.ico");
  EXPECT_PRINTED("tray tip \"Can't find Messenger\"");
  Run("messenger start");
  Run("wait 2s");
  EXPECT_PRINTED("debug \"System\"");
  EXPECT_PRINTED("debug \"explorer.exe\"");
  EXPECT_PRINTED("debug \"Tellbud.exe\"");
  EXPECT_PRINTED("debug \"msnmsgr.exe\"");
  EXPECT_PRINTED("debug \"m_bMSNRuning = TRUE\"");
  EXPECT_TRUE(Tellbud().m_bMSNRuning);
}

TEST_F(MonitorLoopTest, TheProcessWalkStopsAtMessenger) {
  Run("debug on");
  Run("messenger start");
  Run("start");
  Run("wait 2s");
  EXPECT_PRINTED("debug \"msnmsgr.exe\"");
  EXPECT_PRINTED("debug \"m_bMSNRuning = TRUE\"");
  EXPECT_EQ(Count("debug \"Tellbud.exe\""), 0u) << Transcript();
}

TEST_F(MonitorLoopTest, AProcessNamedLikeMessengerInAnotherCaseCountsAsMessenger) {
  world.desktop().AddProcess({0, u"MSNMSGR.EXE", u"C:\\Program Files\\MSNMSGR.EXE", u"MSNMSGR.EXE", 0});
  Run("debug on");
  Run("start");
  Run("wait 2s");
  EXPECT_PRINTED("debug \"MSNMSGR.EXE\"");
  EXPECT_PRINTED("debug \"m_bMSNRuning = TRUE\"");
}

TEST_F(MonitorLoopTest, AMessengerObjectThatCannotBeCreatedIsReportedAndRetriedEveryTick) {
  Run("debug on");
  StartMessenger({});
  Run("messenger fail Create E_FAIL 2");
  Run("start");
  Run("wait 4s");
  EXPECT_EQ(Count("debug \"Create MSN COM instance failed!\""), 2u);
  EXPECT_PRINTED("tray tip \"Can't find Messenger\"");
  EXPECT_FALSE(Tellbud().m_bMSNConnected);
  Run("wait 2500ms");
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
}

// Signed out means a status outside 2..66: each tick asks again, keeps Messenger's object,
// shows "Can't find Messenger" and never brings Messenger's window up.
TEST_F(MonitorLoopTest, WhileTheUserIsSignedOutEveryTickRetriesTheConnection) {
  Run("handset plug");
  Run("messenger start");
  StartTellbud();
  for (const char* status : {"0", "1", "0x100", "67"}) {
    Run(std::string("messenger status ") + status);
    Forget();
    Tick();
    Tick();
    EXPECT_NOT_PRINTED("messenger Show()") << status;
    EXPECT_EQ(Count("tray tip \"Can't find Messenger\""), Count("tray tip")) << status;
    EXPECT_FALSE(Tellbud().m_bMSNConnected) << status;
    EXPECT_FALSE(Tellbud().m_bSignedIn) << status;
    EXPECT_TRUE(static_cast<bool>(Tellbud().m_pMessenger)) << status;
    EXPECT_FALSE(static_cast<bool>(Tellbud().m_pEventSink)) << status;
  }
  Run("messenger status 66");
  Forget();
  Tick();
  EXPECT_PRINTED("messenger Show()");
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
  EXPECT_TRUE(Tellbud().m_bSignedIn);
}

TEST_F(MonitorLoopTest, WithMessengerGoneEveryTickDisconnectsAndShowsItMissing) {
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("messenger quit");
  Forget();
  Tick();
  Tick();
  EXPECT_EQ(Count("tray icon nophone.ico"), 1u);
  EXPECT_PRINTED("tray tip \"Can't find Messenger\"");
  EXPECT_FALSE(Tellbud().m_bMSNRuning);
  EXPECT_FALSE(Tellbud().m_bMSNConnected);
  EXPECT_FALSE(static_cast<bool>(Tellbud().m_pMessenger));
  EXPECT_EQ(ContactRows(world).size(), 0u);
}

// The telephone line of an adaptor: while the handset is lifted on it the scan waits.
TEST_F(MonitorLoopTest, AnAdaptorLiftedOnTheTelephoneLineHoldsTheScan) {
  Run("handset plug 520");
  StartMessenger({"bob@example.com \"Bob\" online"});
  StartTellbud();
  Run("handset line");
  Run("handset lift");
  Run("wait 7s");
  ASSERT_FALSE(Tellbud().m_bMonitorPaused);
  ASSERT_EQ(Tellbud().m_nChannel, CHANNEL_PSTN);
  Forget();
  Run("call bob@example.com");
  Tick();
  Tick();
  EXPECT_NOT_PRINTED("ShowIncomingCall");
  Run("handset down");
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
}

TEST_F(MonitorLoopTest, LineActivityPausesAnAdaptorsScanForSixSeconds) {
  Run("handset plug 545");
  StartMessenger({"bob@example.com \"Bob\" online"});
  StartTellbud();
  Run("handset line");
  EXPECT_TRUE(Tellbud().m_bMonitorPaused);
  Run("call bob@example.com");
  Forget();
  Run("wait 5s");
  EXPECT_NOT_PRINTED("ShowIncomingCall");
  EXPECT_TRUE(Tellbud().m_bMonitorPaused);
  Run("wait 3s");
  EXPECT_FALSE(Tellbud().m_bMonitorPaused);
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
}

TEST_F(MonitorLoopTest, LineActivityDoesNotPauseTheScanOfAPlainHandset) {
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("handset line");
  ASSERT_TRUE(Tellbud().m_bMonitorPaused);
  Run("call bob@example.com");
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
}

// Nothing starts the contact list refresh; when its timer message comes all the same, the
// list is rebuilt from Messenger with the custom names and the refresh stops.
TEST_F(MonitorLoopTest, TheContactListIsNeverRefreshedByItself) {
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("ini Custom.ini CustomName bob@example.com \"Bobby\"");
  Run("wait 10m");
  EXPECT_EQ(Names(), "Bob| ");
  PostMessageW(*world.TellbudMainWindow(), WM_TIMER, TIMER_CONTACT_REFRESH, 0);
  Run("wait 1ms");
  EXPECT_EQ(Names(), "Bobby| ");
}

}  // namespace
