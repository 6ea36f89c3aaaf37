// The connection to Messenger: created once Messenger runs with the user signed in, kept in part
// while it cannot be completed, ended by signing out or by Messenger quitting; and the events
// that arrive through it.
#include <oaidl.h>

#include "monitor/connected_fixture.h"

namespace {

class ConnectionTest : public ConnectedFixture {};

TEST_F(ConnectionTest, ConnectingBringsMessengersMainWindowUpAndHoldsTheProgramHalfASecond) {
  StartConnected({"bob@example.com \"Bob\" online"});
  EXPECT_PRINTED("[00:02.000] messenger Show()");
  EXPECT_PRINTED("[00:02.500] tray icon ok.ico");
  CTellbudDlg& dlg = Tellbud();
  EXPECT_TRUE(dlg.m_bMSNConnected);
  EXPECT_TRUE(dlg.m_bSignedIn);
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<LONG_PTR>(dlg.m_hMessengerWnd)),
            world.messenger().MainWindow());
  EXPECT_TRUE(static_cast<bool>(dlg.m_pContacts));
  EXPECT_TRUE(static_cast<bool>(dlg.m_pEventSink));
}

TEST_F(ConnectionTest, ARefusedAdviseIsTriedAgainOnTheNextTick) {
  Run("messenger fail Advise E_FAIL 1");
  StartConnected({"bob@example.com \"Bob\" online"});
  EXPECT_FALSE(Tellbud().m_bMSNConnected);
  EXPECT_FALSE(static_cast<bool>(Tellbud().m_pEventSink));
  EXPECT_NOT_PRINTED("messenger Show()");
  Tick();
  EXPECT_PRINTED("messenger Show()");
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
  // Events come once, through the one connection.
  Run("chat bob@example.com");
  EXPECT_EQ(Watched(), 1u);
}

TEST_F(ConnectionTest, AMissingConnectionPointIsLookedForAgainOnTheNextTick) {
  Run("messenger fail FindConnectionPoint E_NOINTERFACE 1");
  StartConnected({"bob@example.com \"Bob\" online"});
  EXPECT_FALSE(Tellbud().m_bMSNConnected);
  EXPECT_PRINTED("tray tip \"Can't find Messenger\"");
  Tick();
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
  Run("call bob@example.com");
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
}

TEST_F(ConnectionTest, SigningOutEndsTheConnectionAndSigningInMakesANewOne) {
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("messenger signout");
  CTellbudDlg& dlg = Tellbud();
  EXPECT_FALSE(dlg.m_bSignedIn);
  EXPECT_FALSE(dlg.m_bMSNConnected);
  EXPECT_FALSE(static_cast<bool>(dlg.m_pMessenger));
  EXPECT_FALSE(static_cast<bool>(dlg.m_pContacts));
  EXPECT_FALSE(static_cast<bool>(dlg.m_pEventSink));
  Tick();
  EXPECT_PRINTED("tray tip \"Can't find Messenger\"");
  Run("messenger signin");
  Forget();
  Tick();
  EXPECT_PRINTED("messenger Show()");
  EXPECT_PRINTED("tray tip \"Online\"");
  // The old event connection was ended: a window opened now is reported once.
  Run("chat bob@example.com");
  EXPECT_EQ(Watched(), 1u);
}

TEST_F(ConnectionTest, WindowEventsWhoseWindowIsNotAnObjectAreIgnored) {
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
  world.messenger().CorruptNextWindowArgument(VT_I4);
  Run("chat bob@example.com");
  EXPECT_EQ(Watched(), 0u);
  Run("chat ann@example.com");
  ASSERT_EQ(Watched(), 1u);
  world.messenger().CorruptNextWindowArgument(VT_EMPTY);
  Run("close ann@example.com");
  EXPECT_EQ(Watched(), 1u);
  // The window is gone all the same: the next scan drops it.
  Tick();
  EXPECT_EQ(Watched(), 0u);
}

TEST_F(ConnectionTest, AFailingMessengerCallEndsTheTickWithADebuggerLine) {
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("chat bob@example.com");
  Run("debug on");
  Run("messenger fail get_HWND E_FAIL 1");
  Tick();
  EXPECT_PRINTED("debug \"Tellbud: the Messenger watch ended: a Messenger call failed with 0x80004005\"");
  Run("call bob@example.com");
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
}

TEST_F(ConnectionTest, AFailingMessengerCallEndsTheEventWithADebuggerLine) {
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("debug on");
  Run("messenger fail get_Contacts E_FAIL 1");
  Run("chat bob@example.com");
  EXPECT_PRINTED("debug \"Tellbud: a Messenger event ended: a Messenger call failed with 0x80004005\"");
  EXPECT_EQ(Watched(), 0u);
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
}

// A contact's row moves only once all of its details were read; a failing read leaves it.
TEST_F(ConnectionTest, AStatusChangeWhoseDetailsCannotBeReadLeavesTheRowInPlace) {
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
  for (const char* op : {"get_Status", "get_FriendlyName"}) {
    Run(std::string("messenger fail ") + op + " E_FAIL 1");
    Run("contact status bob@example.com offline");
    EXPECT_EQ(Names(), "Ann|Bob| ") << op;
    EXPECT_EQ(Tellbud().m_nOnlineCount, 2u) << op;
    Run("contact status bob@example.com online");
  }
  Run("contact status bob@example.com offline");
  EXPECT_EQ(Names(), "Ann| |Bob");
}

// ---- Messenger lost in the middle of a call ------------------------------------------------------

class MessengerLostTest : public ConnectedFixture {
 protected:
  void BobRings() {
    StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
    Run("call bob@example.com");
    Tick();
    ASSERT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
  }
  // After Messenger is back and signed in, the next call rings.
  void ExpectRecovery() {
    Forget();
    Tick();
    EXPECT_EQ(world::Utf8(world::TellbudTrayIcon(world)->tip), "Online");
    EXPECT_TRUE(Tellbud().m_bMSNConnected);
    EXPECT_EQ(Names(), "Ann|Bob| ");
    Run("call ann@example.com");
    Tick();
    EXPECT_PRINTED("handset ShowIncomingCall(\"ann@example.com\")");
    EXPECT_EQ(CallState(), CALL_RINGING);
  }
  // `inCall`: a call rang or ran, and the handset was told it is over.
  void ExpectEverythingDropped(bool inCall = true) {
    if (inCall) {
      EXPECT_PRINTED("handset SetIdle()");
    }
    EXPECT_PRINTED("tray icon nophone.ico");
    EXPECT_PRINTED("tray tip \"Can't find Messenger\"");
    EXPECT_EQ(CallState(), CALL_READY);
    EXPECT_FALSE(HasCurrentConversation());
    EXPECT_EQ(Watched(), 0u);
    EXPECT_EQ(Tellbud().m_nHistoryLen, 0);
    EXPECT_EQ(ContactRows(world).size(), 0u);
  }
};

TEST_F(MessengerLostTest, MessengerQuittingWhileACallRingsReturnsTheHandsetToIdle) {
  BobRings();
  Run("messenger quit");
  Tick();
  ExpectEverythingDropped();
  Tick();
  EXPECT_EQ(CallState(), CALL_READY);
  Run("messenger start");
  Run("messenger signin");
  ExpectRecovery();
}

TEST_F(MessengerLostTest, MessengerQuittingDuringATalkReturnsTheHandsetToIdle) {
  BobRings();
  Run("handset lift");
  Tick();
  ASSERT_EQ(CallState(), CALL_TALKING);
  Run("messenger quit");
  Forget();
  Tick();
  ExpectEverythingDropped();
  Run("handset down");
  Run("messenger start");
  Run("messenger signin");
  ExpectRecovery();
}

TEST_F(MessengerLostTest, MessengerVanishingWhileServingTheScanIsLikeQuitting) {
  BobRings();
  Run("messenger vanish get_HWND");
  Tick();
  Tick();
  ExpectEverythingDropped();
  Run("messenger start");
  Run("messenger signin");
  ExpectRecovery();
}

TEST_F(MessengerLostTest, MessengerVanishingWhileServingAnEventEndsTheEventWithADebuggerLine) {
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
  Run("debug on");
  Run("messenger vanish InstantMessage");
  Run("call bob@example.com");
  EXPECT_PRINTED("debug \"Tellbud: a Messenger event ended: a Messenger call failed with 0x800706BE\"");
  Forget();
  Tick();
  ExpectEverythingDropped(false);
  Run("messenger start");
  Run("messenger signin");
  ExpectRecovery();
}

// Quitting and starting again between two ticks: Tellbud sees another Messenger process and
// lets go of the old one's objects, which would fail every call for good.
TEST_F(MessengerLostTest, MessengerRestartingBetweenTwoTicksIsAMessengerLost) {
  BobRings();
  Run("messenger quit");
  Run("messenger start");
  Run("messenger signin");
  Forget();
  Tick();
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_PRINTED("messenger Show()");
  EXPECT_EQ(Watched(), 0u);
  EXPECT_FALSE(HasCurrentConversation());
  ExpectRecovery();
}

TEST_F(MessengerLostTest, MessengerVanishingWhileConnectingAndRestartingAtOnceIsConnectedAgain) {
  StartMessenger({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
  Run("handset plug");
  Run("messenger vanish get_Count");
  Run("start");
  Run("wait 2500ms");
  ASSERT_FALSE(world.messenger().IsRunning());
  Run("messenger start");
  Run("messenger signin");
  Run("wait 500ms");
  ExpectRecovery();
}

// Signing out hangs up Messenger's calls; the scan, which runs while signed out, hears of it.
TEST_F(MessengerLostTest, SigningOutWhileACallRingsReturnsTheHandsetToIdle) {
  BobRings();
  Run("messenger signout");
  Tick();
  EXPECT_PRINTED("handset SetIdle()");
  EXPECT_EQ(CallState(), CALL_READY);
  EXPECT_FALSE(HasCurrentConversation());
  Run("messenger signin");
  Run("close bob@example.com");
  ExpectRecovery();
}

// A conversation closed while Tellbud was not listening (signed out) is dropped when the scan
// finds its window gone, and does not keep other conversations from being scanned.
TEST_F(MessengerLostTest, AConversationClosedWhileSignedOutIsDroppedAndBlocksNothing) {
  StartConnected({"bob@example.com \"Bob\" online", "ann@example.com \"Ann\" online"});
  Run("chat ann@example.com");
  Tick();
  Run("chat bob@example.com");
  Tick();
  ASSERT_EQ(Watched(), 2u);
  Run("messenger signout");
  Run("close bob@example.com");
  Run("messenger signin");
  Tick();
  EXPECT_EQ(Watched(), 1u);
  Forget();
  Run("call ann@example.com");
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"ann@example.com\")");
}

TEST_F(MessengerLostTest, AReconnectDoesNotWatchAConversationTwice) {
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("chat bob@example.com");
  Tick();
  Run("messenger signout");
  Run("messenger signin");
  Tick();
  EXPECT_TRUE(Tellbud().m_bMSNConnected);
  EXPECT_EQ(Watched(), 1u);
}

}  // namespace
