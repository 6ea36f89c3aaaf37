// Connection points: advising and unadvising sinks, enumerating them, finding points through the
// container, and firing events in order on the advising thread.
#include <gtest/gtest.h>

#include <sim/com.h>
#include <sim/desktop.h>

#include "recording_sink.h"
#include "world/common/connection_point.h"

namespace {

const IID kEvents = {0xC9A6A6B6, 0x0001, 0x0002, {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A}};
const CLSID kSourceClass = {0x5A5A5A5A, 0x0001, 0x0002, {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0B}};
const IID kOtherEvents = {0xC9A6A6B7, 0x0001, 0x0002, {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A}};

class Source final : public world::ConnectableObject<> {
 public:
  explicit Source(int* live = nullptr)
      : events(AddConnectionPoint(kEvents)), other(AddConnectionPoint(kOtherEvents)), live_(live) {
    if (live_) ++*live_;
  }
  ~Source() override {
    if (live_) --*live_;
  }
  world::ConnectionPoint& events;
  world::ConnectionPoint& other;

 private:
  int* live_;
};

class ConnectionPointTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  world::ComPtr<Source> source = world::MakeCom<Source>();

  DWORD Advise(RecordingSink* sink) {
    DWORD cookie = 0;
    EXPECT_EQ(source->events.Advise(sink->Identity(), &cookie), S_OK);
    return cookie;
  }
};

TEST_F(ConnectionPointTest, FiresEverySinkInAdviseOrderWithArgumentsInCallOrder) {
  std::vector<const RecordingSink*> order;
  auto first = world::MakeCom<RecordingSink>();
  auto second = world::MakeCom<RecordingSink>();
  first->order = second->order = &order;
  Advise(second.Get());
  Advise(first.Get());
  EXPECT_EQ(source->events.Fire(2, SHORT{5}, TEXT("alice@example.com")), 2u);
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0], second.Get());
  EXPECT_EQ(order[1], first.Get());
  const RecordedCall& call = first->calls.at(0);
  EXPECT_EQ(call.id, 2);
  EXPECT_EQ(call.flags, DISPATCH_METHOD);
  ASSERT_EQ(call.args.size(), 2u);
  EXPECT_EQ(call.args[0].Get().iVal, 5);
  world::ComString who;
  ASSERT_EQ(call.args[1].To(&who), S_OK);
  EXPECT_EQ(who, TEXT("alice@example.com"));
}

TEST_F(ConnectionPointTest, UnadvisedSinksHearNothingAndAreReleased) {
  auto sink = world::MakeCom<RecordingSink>();
  DWORD cookie = Advise(sink.Get());
  DWORD second = Advise(sink.Get());
  EXPECT_NE(cookie, 0u);
  EXPECT_NE(cookie, second);
  EXPECT_EQ(sink->AddRef(), 4u);  // ours, one per connection, this call
  sink->Release();
  EXPECT_EQ(source->events.Unadvise(cookie), S_OK);
  EXPECT_EQ(source->events.Unadvise(cookie), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(source->events.Unadvise(second), S_OK);
  EXPECT_EQ(sink->AddRef(), 2u);
  sink->Release();
  EXPECT_EQ(source->events.Fire(1), 0u);
  EXPECT_TRUE(sink->calls.empty());
}

TEST_F(ConnectionPointTest, ASinkMustAnswerTheEventsInterfaceOrIDispatch) {
  auto plain = world::MakeCom<PlainObject>();
  DWORD cookie = 7;
  EXPECT_EQ(source->events.Advise(plain.Get(), &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(source->events.Advise(nullptr, &cookie), E_POINTER);
  auto sink = world::MakeCom<RecordingSink>(&kEvents);
  EXPECT_EQ(source->events.Advise(sink->Identity(), nullptr), E_POINTER);
  source->events.SetAdviseLimit(1);
  Advise(sink.Get());
  EXPECT_EQ(source->events.Advise(sink->Identity(), &cookie), CONNECT_E_ADVISELIMIT);
}

TEST_F(ConnectionPointTest, ASinkUnadvisedDuringAnEventIsSkippedForThatEvent) {
  auto first = world::MakeCom<RecordingSink>();
  auto second = world::MakeCom<RecordingSink>();
  Advise(first.Get());
  DWORD second_cookie = Advise(second.Get());
  first->on_call = [&] { source->events.Unadvise(second_cookie); };
  EXPECT_EQ(source->events.Fire(1), 1u);
  EXPECT_TRUE(second->calls.empty());
}

TEST_F(ConnectionPointTest, EnumConnectionsHandsOutReferencedSinks) {
  auto a = world::MakeCom<RecordingSink>();
  auto b = world::MakeCom<RecordingSink>();
  DWORD ca = Advise(a.Get());
  DWORD cb = Advise(b.Get());
  world::ComPtr<IEnumConnections> connections;
  ASSERT_EQ(source->events.EnumConnections(connections.Put()), S_OK);
  CONNECTDATA data[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(data[0].pUnk, a->Identity());
  EXPECT_EQ(data[0].dwCookie, ca);
  EXPECT_EQ(data[1].dwCookie, cb);
  data[0].pUnk->Release();
  data[1].pUnk->Release();
  EXPECT_EQ(connections->Next(2, data, nullptr), E_POINTER);
  EXPECT_EQ(connections->Reset(), S_OK);
  EXPECT_EQ(connections->Skip(1), S_OK);
  world::ComPtr<IEnumConnections> clone;
  ASSERT_EQ(connections->Clone(clone.Put()), S_OK);
  ASSERT_EQ(clone->Next(1, data, nullptr), S_OK);
  EXPECT_EQ(data[0].dwCookie, cb);
  data[0].pUnk->Release();
  EXPECT_EQ(connections->Skip(5), S_FALSE);
}

TEST_F(ConnectionPointTest, TheContainerFindsAndEnumeratesItsPoints) {
  world::ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(source->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
  world::ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(kOtherEvents, point.Put()), S_OK);
  IID iid;
  ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, kOtherEvents));
  world::ComPtr<IConnectionPointContainer> back;
  ASSERT_EQ(point->GetConnectionPointContainer(back.Put()), S_OK);
  EXPECT_EQ(back.Get(), container.Get());
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, point.Put()), CONNECT_E_NOCONNECTION);
  EXPECT_FALSE(point);

  world::ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.Put()), S_OK);
  IConnectionPoint* found[2] = {};
  ASSERT_EQ(points->Next(2, found, nullptr), E_POINTER);
  ULONG fetched = 0;
  ASSERT_EQ(points->Next(2, found, &fetched), S_OK);
  ASSERT_EQ(found[0]->GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, kEvents));
  found[0]->Release();
  found[1]->Release();
}

TEST_F(ConnectionPointTest, APointKeepsItsContainerAlive) {
  int live = 0;
  auto owned = world::MakeCom<Source>(&live);
  world::ComPtr<IConnectionPoint> point;
  ASSERT_EQ(owned->FindConnectionPoint(kEvents, point.Put()), S_OK);
  owned.Reset();
  EXPECT_EQ(live, 1);
  point.Reset();
  EXPECT_EQ(live, 0);
}

// The program side: a thread that advises a sink and runs a message loop, as a single-threaded
// apartment does.
class ConnectionPointApartmentTest : public ConnectionPointTest {
 protected:
  world::ComPtr<RecordingSink> sink;
  DWORD cookie = 0;
  DWORD app_thread = 0;
  DWORD pid = 0;

  void StartAdvisingApp() {
    pid = desktop.StartProcess(sim::ProcessInfo{0, u"app.exe", u"C:\\app.exe", u"app.exe"}, [this] {
      app_thread = GetCurrentThreadId();
      sink = world::MakeCom<RecordingSink>();
      source->events.Advise(sink->Identity(), &cookie);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      return 0;
    });
    desktop.RunUntilIdle();
    ASSERT_NE(cookie, 0u);
  }
};

TEST_F(ConnectionPointApartmentTest, EventsFiredOnAnotherThreadArriveOnTheAdvisingThread) {
  StartAdvisingApp();
  EXPECT_EQ(source->events.Fire(4, true), 1u);
  EXPECT_EQ(source->events.Fire(5, LONG{9}), 1u);
  EXPECT_TRUE(sink->calls.empty());  // posted, not yet run
  desktop.RunUntilIdle();
  ASSERT_EQ(sink->calls.size(), 2u);
  EXPECT_EQ(sink->calls[0].id, 4);
  EXPECT_EQ(sink->calls[0].thread_id, app_thread);
  EXPECT_EQ(sink->calls[0].args.at(0).Get().boolVal, VARIANT_TRUE);
  EXPECT_EQ(sink->calls[1].id, 5);
  EXPECT_NE(app_thread, GetCurrentThreadId());
}

TEST_F(ConnectionPointApartmentTest, AnEventStillOnItsWayIsDroppedByUnadvise) {
  StartAdvisingApp();
  source->events.Fire(4);
  EXPECT_EQ(source->events.Unadvise(cookie), S_OK);
  desktop.RunUntilIdle();
  EXPECT_TRUE(sink->calls.empty());
}

TEST_F(ConnectionPointApartmentTest, SinksOfAProgramThatEndedAreNotReached) {
  StartAdvisingApp();
  desktop.EndProcess(pid);
  desktop.RunUntilIdle();
  EXPECT_EQ(source->events.Fire(4), 0u);
  EXPECT_TRUE(sink->calls.empty());
  source->events.UnadviseAll();
  EXPECT_EQ(source->events.SinkCount(), 0u);
}

// The whole path a program takes: create the stand-in's object through COM, find its events,
// advise, and receive what the stand-in's own thread fires.
TEST_F(ConnectionPointApartmentTest, AStandInThreadReachesAProgramThatCreatedItThroughCom) {
  sim::RegisterComClass(
      kSourceClass, [this](IUnknown*, REFIID riid, void** ppv) { return source->QueryInterface(riid, ppv); });
  DWORD server_thread = 0;
  desktop.StartProcess(sim::ProcessInfo{0, u"server.exe", u"C:\\server.exe", u"server.exe"}, [&] {
    server_thread = GetCurrentThreadId();
    Sleep(1000);
    source->events.Fire(7, LONG{42});
    return 0;
  });
  desktop.StartProcess(sim::ProcessInfo{0, u"app.exe", u"C:\\app.exe", u"app.exe"}, [this] {
    app_thread = GetCurrentThreadId();
    CoInitialize(nullptr);
    world::ComPtr<IConnectionPointContainer> container;
    world::ComPtr<IConnectionPoint> point;
    sink = world::MakeCom<RecordingSink>();
    if (SUCCEEDED(CoCreateInstance(kSourceClass, nullptr, CLSCTX_INPROC_SERVER, IID_IConnectionPointContainer,
                                   container.PutVoid())) &&
        SUCCEEDED(container->FindConnectionPoint(kEvents, point.Put())))
      point->Advise(sink->Identity(), &cookie);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    CoUninitialize();
    return 0;
  });
  desktop.RunUntilIdle();
  ASSERT_NE(cookie, 0u);
  desktop.AdvanceBy(1000);
  ASSERT_EQ(sink->calls.size(), 1u);
  EXPECT_EQ(sink->calls[0].id, 7);
  EXPECT_EQ(sink->calls[0].thread_id, app_thread);
  EXPECT_NE(sink->calls[0].thread_id, server_thread);
}

}  // namespace
