// Messenger's events as the program's sink receives them: dispatch ids, arguments in reverse
// order, contacts and windows as objects, delivery on the advising thread through its message
// loop, Unadvise, and a malformed window argument on request.
#include "client_fixture.h"

namespace world::messenger {
namespace {

class EventsTest : public AutomationTest {
 protected:
  void SetUp() override {
    AutomationTest::SetUp();
    Advise();
  }
  std::vector<DISPID> Ids() const {
    std::vector<DISPID> ids;
    for (const auto& e : sink->events) ids.push_back(e.id);
    return ids;
  }
  std::string SigninOf(IDispatch* d) {
    auto contact = As<IMessengerContact>(d, IID_IMessengerContact);
    if (!contact) return "(not a contact)";
    BSTR b = nullptr;
    On([&] { return contact->get_SigninName(&b); });
    std::string out = ToUtf8(BstrText(b));
    SysFreeString(b);
    return out;
  }
  LONG HwndOfObject(IDispatch* d) {
    auto window = As<IMessengerWindow>(d, IID_IMessengerWindow);
    return window ? HwndOf(window.Get()) : 0;
  }
  LONG Handle(HWND h) { return static_cast<LONG>(reinterpret_cast<LONG_PTR>(h)); }
};

TEST_F(EventsTest, SigningInAndOutRaiseTheirEvents) {
  messenger.SignOut();
  messenger.SignIn();
  messenger.SetStatus(10);  // still signed in: no event
  EXPECT_EQ(Ids(), (std::vector<DISPID>{DISPID_MUAE_ONSIGNOUT, DISPID_MUAE_ONSIGNIN}));
}

TEST_F(EventsTest, ContactEventsCarryTheContact) {
  messenger.AddContact("ann@example.com", "Ann", 2);
  messenger.RemoveContact("ANN@example.com");
  ASSERT_EQ(Ids(), (std::vector<DISPID>{DISPID_MUAE_ONCONTACTADDED, DISPID_MUAE_ONCONTACTREMOVED}));
  for (const auto& e : sink->events) {
    ASSERT_EQ(e.types, std::vector<VARTYPE>{VT_DISPATCH});
    EXPECT_EQ(SigninOf(e.objects[0].Get()), "ann@example.com");
  }
}

TEST_F(EventsTest, StatusChangeHasTheStatusFirstAndTheContactSecond) {
  messenger.SetContactStatus("bob@example.com", 34);
  ASSERT_EQ(Ids(), std::vector<DISPID>{DISPID_MUAE_ONCONTACTSTATUSCHANGE});
  const auto& e = sink->events[0];
  ASSERT_EQ(e.types, (std::vector<VARTYPE>{VT_I4, VT_DISPATCH}));
  EXPECT_EQ(e.longs[0], 34);
  EXPECT_EQ(SigninOf(e.objects[1].Get()), "bob@example.com");
}

TEST_F(EventsTest, WindowOpenedAndClosedCarryTheWindow) {
  messenger.Chat("bob@example.com", "hi");
  HWND hwnd = Bob().hwnd;
  messenger.UserCloses("bob@example.com");
  ASSERT_EQ(Ids(), (std::vector<DISPID>{DISPID_MUAE_ONIMWINDOWCREATED, DISPID_MUAE_ONIMWINDOWDESTROYED}));
  for (const auto& e : sink->events) ASSERT_EQ(e.types, std::vector<VARTYPE>{VT_DISPATCH});
  // The closed event's window still tells which window it was; the opened event's no longer does.
  EXPECT_EQ(HwndOfObject(sink->events[1].objects[0].Get()), Handle(hwnd));
  LONG h = 0;
  auto opened = As<IMessengerWindow>(sink->events[0].objects[0].Get(), IID_IMessengerWindow);
  EXPECT_EQ(On([&] { return opened->get_HWND(&h); }), E_FAIL);
}

TEST_F(EventsTest, ParticipantEventsHaveTheWindowFirstAndTheContactSecond) {
  messenger.Chat("bob@example.com", "hi");
  messenger.Join("bob@example.com", "ann@example.com");
  messenger.Leave("bob@example.com", "ann@example.com");
  ASSERT_EQ(Ids(), (std::vector<DISPID>{DISPID_MUAE_ONIMWINDOWCREATED, DISPID_MUAE_ONIMWINDOWCONTACTADDED,
                                        DISPID_MUAE_ONIMWINDOWCONTACTREMOVED}));
  for (size_t i = 1; i < 3; ++i) {
    const auto& e = sink->events[i];
    ASSERT_EQ(e.types, (std::vector<VARTYPE>{VT_DISPATCH, VT_DISPATCH}));
    EXPECT_EQ(HwndOfObject(e.objects[0].Get()), Handle(Bob().hwnd));
    EXPECT_EQ(SigninOf(e.objects[1].Get()), "ann@example.com");
  }
}

TEST_F(EventsTest, EventsArriveOnTheAdvisingThreadWhenItsLoopRunsNotInsideTheCall) {
  size_t during_call = 99;
  client->Do([&] {
    BstrArg contact(u"bob@example.com");
    IDispatch* d = nullptr;
    root->InstantMessage(contact.v, &d);
    during_call = sink->events.size();
    d->Release();
  });
  EXPECT_EQ(during_call, 0u);
  ASSERT_EQ(Ids(), std::vector<DISPID>{DISPID_MUAE_ONIMWINDOWCREATED});
  EXPECT_EQ(sink->events[0].thread, client->thread());
}

TEST_F(EventsTest, UnadvisedSinkIsNotCalledAgainEvenForEventsOnTheirWay) {
  client->Do([&] {
    // The window-opened event is on its way to this thread when the sink is unadvised.
    BstrArg contact(u"bob@example.com");
    IDispatch* d = nullptr;
    ASSERT_EQ(root->InstantMessage(contact.v, &d), S_OK);
    d->Release();
    auto container = As<IConnectionPointContainer>(root.Get(), IID_IConnectionPointContainer);
    IConnectionPoint* point = nullptr;
    container->FindConnectionPoint(DIID_DMessengerEvents, &point);
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    point->Release();
  });
  messenger.AddContact("ann@example.com", "Ann", 2);
  EXPECT_TRUE(sink->events.empty());
  EXPECT_EQ(messenger.Conversations().size(), 1u);
}

TEST_F(EventsTest, EveryAdvisedSinkGetsEachEvent) {
  auto first = sink;
  Advise();
  messenger.SignOut();
  EXPECT_EQ(first->events.size(), 1u);
  EXPECT_EQ(sink->events.size(), 1u);
}

TEST_F(EventsTest, OnlyTheEventInterfaceHasAConnectionPoint) {
  auto container = As<IConnectionPointContainer>(root.Get(), IID_IConnectionPointContainer);
  IConnectionPoint* point = reinterpret_cast<IConnectionPoint*>(1);
  EXPECT_EQ(On([&] { return container->FindConnectionPoint(IID_IDispatch, &point); }),
            CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point, nullptr);
}

TEST_F(EventsTest, ConnectionCallsCanBeMadeToFail) {
  messenger.Fail("FindConnectionPoint", E_UNEXPECTED, 1);
  messenger.Fail("Advise", CONNECT_E_ADVISELIMIT, 1);
  auto container = As<IConnectionPointContainer>(root.Get(), IID_IConnectionPointContainer);
  IConnectionPoint* point = nullptr;
  EXPECT_EQ(On([&] { return container->FindConnectionPoint(DIID_DMessengerEvents, &point); }), E_UNEXPECTED);
  ASSERT_EQ(On([&] { return container->FindConnectionPoint(DIID_DMessengerEvents, &point); }), S_OK);
  auto other = MakeCom<RecordingSink>();
  DWORD c = 0;
  EXPECT_EQ(On([&] { return point->Advise(other.Get(), &c); }), CONNECT_E_ADVISELIMIT);
  EXPECT_EQ(c, 0u);
  point->Release();
  messenger.SignOut();
  EXPECT_TRUE(other->events.empty());
}

TEST_F(EventsTest, NextWindowArgumentCanComeAsANumber) {
  messenger.CorruptNextWindowArgument(VT_I4);
  messenger.AddContact("ann@example.com", "Ann", 2);  // no window argument: unaffected
  messenger.Chat("bob@example.com", "hi");
  messenger.UserCloses("bob@example.com");
  ASSERT_EQ(sink->events.size(), 3u);
  EXPECT_EQ(sink->events[0].types, std::vector<VARTYPE>{VT_DISPATCH});
  EXPECT_EQ(sink->events[1].types, std::vector<VARTYPE>{VT_I4});
  EXPECT_EQ(sink->events[2].types, std::vector<VARTYPE>{VT_DISPATCH});
}

TEST_F(EventsTest, NoEventsReachTheSinkOnceMessengerIsGone) {
  messenger.Quit();
  ASSERT_TRUE(messenger.Start());
  messenger.SignOut();
  EXPECT_TRUE(sink->events.empty());
}

TEST_F(EventsTest, IncomingCallRaisesWindowOpenedBeforeAnyoneActs) {
  messenger.IncomingCall("bob@example.com");
  ASSERT_EQ(Ids(), std::vector<DISPID>{DISPID_MUAE_ONIMWINDOWCREATED});
  auto window =
      As<IMessengerConversationWnd>(sink->events[0].objects[0].Get(), IID_IMessengerConversationWnd);
  ASSERT_TRUE(window);
  EXPECT_NE(History(window.Get()).find("would like to have a voice conversation with you"),
            std::string::npos);
}

}  // namespace
}  // namespace world::messenger
