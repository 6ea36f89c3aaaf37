// The handset's device model on its own: what the world's actions do, what the program's
// requests change, and which sessions hear the events.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "world/handset/device.h"

namespace world::handset {
namespace {

struct RecordingSink : EventSink {
  std::vector<Event> events;
  bool reachable = true;
  void OnDeviceEvent(const Event& e) override { events.push_back(e); }
  bool Reachable() const override { return reachable; }
};

class DeviceTest : public ::testing::Test {
 protected:
  std::shared_ptr<Device> device = std::make_shared<Device>();
  RecordingSink sink;
  Session session{device, sink};

  void PlugAndOpen(int32_t model = kDefaultModelCode) {
    ASSERT_TRUE(device->Plug(model));
    ASSERT_TRUE(session.OpenDevice());
  }
};

TEST_F(DeviceTest, RequestsOnAClosedDeviceChangeNothingAndReturnZero) {
  device->Plug();
  session.ShowIncomingCall("bob");
  session.SetLevel(3);
  session.SetSpeakerA(true);
  session.SetChannel(ChannelGroup::kFirst, kChannelPstn);
  DeviceState s = device->State();
  EXPECT_FALSE(s.ringing);
  EXPECT_EQ(s.display, "");
  EXPECT_EQ(s.level, kInitialLevel);
  EXPECT_FALSE(s.speaker_a);
  EXPECT_EQ(s.channel[0], kChannelUsb);
  EXPECT_EQ(session.GetModelCode(), 0);
  EXPECT_EQ(session.GetLevel(), 0);
  EXPECT_EQ(session.GetChannel(ChannelGroup::kFirst), 0);
}

TEST_F(DeviceTest, PluggingTwiceIsRefusedAndUnpluggingAnEmptyPortToo) {
  EXPECT_FALSE(device->Unplug());
  EXPECT_TRUE(device->Plug(1));
  EXPECT_FALSE(device->Plug(2));
  EXPECT_EQ(device->State().model, 1);
}

TEST_F(DeviceTest, CallDisplayAndRingingFollowTheProgramsRequests) {
  PlugAndOpen();
  session.SetRing(false, 4);
  session.ShowIncomingCall("bob@example.com");
  DeviceState s = device->State();
  EXPECT_TRUE(s.ringing);
  EXPECT_EQ(s.ring_style, 4);
  EXPECT_EQ(s.display, "bob@example.com");

  session.ShowTalking("Bob");
  s = device->State();
  EXPECT_FALSE(s.ringing);
  EXPECT_EQ(s.display, "Bob");

  session.SetRing(true, 2);
  session.SetIdle();
  s = device->State();
  EXPECT_FALSE(s.ringing);
  EXPECT_EQ(s.display, "");
  EXPECT_EQ(s.ring_style, 2);
}

TEST_F(DeviceTest, OutOfRangeValuesAreIgnoredRatherThanStored) {
  PlugAndOpen();
  session.SetRing(true, 7);
  session.SetRing(true, 10);
  session.SetRing(true, -1);
  EXPECT_EQ(device->State().ring_style, 7);
  EXPECT_TRUE(device->State().ringing);

  session.SetLevel(kMaxLevel);
  session.SetLevel(kMaxLevel + 1);
  session.SetLevel(-1);
  EXPECT_EQ(session.GetLevel(), kMaxLevel);

  session.SetChannel(ChannelGroup::kSecond, kChannelPstn);
  session.SetChannel(ChannelGroup::kSecond, 2);
  session.SetDefaultChannel(ChannelGroup::kSecond, -3);
  EXPECT_EQ(session.GetChannel(ChannelGroup::kSecond), kChannelPstn);
  EXPECT_EQ(device->State().default_channel[1], kChannelUsb);
}

TEST_F(DeviceTest, ChannelGroupsAreIndependent) {
  PlugAndOpen();
  session.SetChannel(ChannelGroup::kFirst, kChannelPstn);
  EXPECT_EQ(session.GetChannel(ChannelGroup::kFirst), kChannelPstn);
  EXPECT_EQ(session.GetChannel(ChannelGroup::kSecond), kChannelUsb);
}

TEST_F(DeviceTest, AdaptorStartsOnItsDefaultChannelWhichSurvivesUnplugging) {
  PlugAndOpen(0x0520);
  session.SetDefaultChannel(ChannelGroup::kFirst, kChannelPstn);
  EXPECT_EQ(session.GetChannel(ChannelGroup::kFirst), kChannelUsb);  // takes effect on the next start
  device->Unplug();
  device->Plug(0x058F);
  session.OpenDevice();
  EXPECT_EQ(session.GetChannel(ChannelGroup::kFirst), kChannelPstn);
  EXPECT_EQ(session.GetChannel(ChannelGroup::kSecond), kChannelUsb);
}

TEST_F(DeviceTest, PlainHandsetStartsOnUsbWhateverItsDefault) {
  PlugAndOpen();
  session.SetDefaultChannel(ChannelGroup::kFirst, kChannelPstn);
  device->Unplug();
  device->Plug();
  session.OpenDevice();
  EXPECT_EQ(session.GetChannel(ChannelGroup::kFirst), kChannelUsb);
}

TEST_F(DeviceTest, ReplugStartsTheVolatileStateAfresh) {
  PlugAndOpen();
  session.ShowIncomingCall("bob");
  session.SetSpeakerB(true);
  session.SetLevel(3);
  session.AcknowledgeKey(5);
  device->Hook(true);
  device->Unplug();
  device->Plug();
  DeviceState s = device->State();
  EXPECT_FALSE(s.open);
  EXPECT_FALSE(s.ringing);
  EXPECT_EQ(s.display, "");
  EXPECT_FALSE(s.speaker_b);
  EXPECT_EQ(s.level, kInitialLevel);
  EXPECT_EQ(s.last_acknowledged_key, 0);
  EXPECT_FALSE(s.hook_lifted);
}

// ---- Events ----------------------------------------------------------------------------------------

TEST_F(DeviceTest, WorldActionsRaiseNothingWhileTheDeviceIsClosed) {
  device->Plug();
  EXPECT_TRUE(device->Key(3));
  EXPECT_TRUE(device->Hook(true));
  EXPECT_TRUE(device->LineActivity());
  EXPECT_TRUE(device->LevelKey());
  EXPECT_TRUE(device->Unplug());
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(DeviceTest, WorldActionsOnAnUnpluggedDeviceAreRefused) {
  EXPECT_FALSE(device->Key(3));
  EXPECT_FALSE(device->Hook(true));
  EXPECT_FALSE(device->LineActivity());
  EXPECT_FALSE(device->LevelKey());
  EXPECT_FALSE(device->SetLevel(20));
}

TEST_F(DeviceTest, TheLevelTakesEveryValueTheLevelKeyStepsThrough) {
  PlugAndOpen();
  session.SetLevel(75);
  EXPECT_EQ(session.GetLevel(), 75);
  EXPECT_TRUE(device->SetLevel(77));
  EXPECT_FALSE(device->SetLevel(kMaxLevel + 1));
  EXPECT_EQ(session.GetLevel(), 77);
  EXPECT_TRUE(sink.events.empty()) << "setting the level on the handset raises no event";
}

TEST_F(DeviceTest, HookInItsCurrentPositionRaisesNothing) {
  PlugAndOpen();
  EXPECT_FALSE(device->Hook(false));  // a freshly plugged handset rests on its hook
  EXPECT_TRUE(device->Hook(true));
  EXPECT_FALSE(device->Hook(true));
  EXPECT_EQ(sink.events.size(), 1u);
}

TEST_F(DeviceTest, OnlyModelCodes0xAB0To0xAFFReportTheHookAsHookChangedB) {
  const std::pair<int32_t, EventId> cases[] = {{0x0AAF, EventId::kHookChanged},
                                               {0x0AB0, EventId::kHookChangedB},
                                               {0x0AFF, EventId::kHookChangedB},
                                               {0x0B00, EventId::kHookChanged}};
  for (auto [model, expected] : cases) {
    device->Unplug();
    PlugAndOpen(model);
    sink.events.clear();
    device->Hook(true);
    ASSERT_EQ(sink.events.size(), 1u) << model;
    EXPECT_EQ(sink.events[0].id, expected) << model;
  }
}

TEST_F(DeviceTest, LineActivityLeavesAPlainHandsetsChannelAlone) {
  PlugAndOpen();
  device->LineActivity();
  EXPECT_EQ(session.GetChannel(ChannelGroup::kFirst), kChannelUsb);
  EXPECT_EQ(sink.events.size(), 1u);
}

TEST_F(DeviceTest, EveryOpenSessionHearsTheEvents) {
  PlugAndOpen();
  RecordingSink other_sink;
  Session other(device, other_sink);
  other.OpenDevice();
  device->Key(2);
  EXPECT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(other_sink.events.size(), 1u);
  other.CloseDevice();
  device->Key(3);
  EXPECT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(other_sink.events.size(), 1u);
}

TEST_F(DeviceTest, SessionOfAnUnreachableProgramNoLongerHoldsTheDeviceOpen) {
  PlugAndOpen();
  sink.reachable = false;
  EXPECT_FALSE(device->State().open);
  device->Key(1);
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(DeviceTest, DestroyedSessionIsForgotten) {
  device->Plug();
  {
    RecordingSink other_sink;
    Session other(device, other_sink);
    other.OpenDevice();
    EXPECT_TRUE(device->State().open);
  }
  EXPECT_FALSE(device->State().open);
  device->Key(1);  // must not reach the destroyed session
}

TEST(DeviceDescribeTest, DescribesEveryInspectableValue) {
  DeviceState s;
  EXPECT_EQ(Describe(s), "unplugged");
  s.plugged = true;
  s.model = 768;
  s.line_adaptor = true;
  s.open = true;
  s.display = "say \"hi\"";
  s.ringing = true;
  s.ring_style = 3;
  s.speaker_b = true;
  s.channel[0] = 0;
  s.level = 12;
  s.hook_lifted = true;
  s.last_acknowledged_key = 7;
  EXPECT_EQ(Describe(s),
            "plugged model=768 adaptor open display=\"say \\\"hi\\\"\" ringing style=3 speakerA=off "
            "speakerB=on channel=0/1 default=1/1 level=12 hook=lifted key=7");
}

}  // namespace
}  // namespace world::handset
