// The handset control hosted by a simulated program: creation, its connection point, the
// program's calls and the world's events as the program's UI thread receives them.
#include "program.h"

namespace world::handset::testing {
namespace {

using ControlTest = ProgramTest;

Variant I2(SHORT v) { return Variant::From(v); }
Variant Text(const OLECHAR* v) { return Variant::From(v); }

// ---- Creation and interfaces -----------------------------------------------------------------------

TEST_F(ControlTest, ProgramCreatesTheControlByItsClassId) {
  StartProgram();
  EXPECT_EQ(CreateControl(), S_OK);
  ASSERT_TRUE(control);
  OnUi([&] {
    ComPtr<IUnknown> a, b;
    ASSERT_EQ(control.As(IID_IUnknown, &a), S_OK);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(control.As(IID_IConnectionPointContainer, &container), S_OK);
    ASSERT_EQ(container.As(IID_IUnknown, &b), S_OK);
    EXPECT_EQ(a, b);
  });
}

TEST_F(ControlTest, ClassIsUnregisteredWhenTheStandInGoes) {
  StartProgram();
  { HandsetStandIn replacement; }  // takes the registration over, then goes
  EXPECT_EQ(CreateControl(), REGDB_E_CLASSNOTREG);
}

TEST_F(ControlTest, EventInterfaceIsFoundByItsIdAndNoOther) {
  StartProgram();
  ASSERT_EQ(CreateControl(), S_OK);
  OnUi([&] {
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(control.As(IID_IConnectionPointContainer, &container), S_OK);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(container->FindConnectionPoint(kDiidHandsetEvents, point.Put()), S_OK);
    EXPECT_TRUE(point);
    EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, point.Put()), CONNECT_E_NOCONNECTION);
    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(points.Put()), S_OK);
    IConnectionPoint* all[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(points->Next(2, all, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    all[0]->Release();
  });
}

TEST_F(ControlTest, NamesAreNotKnownAndOnlyIidNullIsAccepted) {
  StartProgram();
  ASSERT_EQ(CreateControl(), S_OK);
  OnUi([&] {
    OLECHAR name[] = TEXT("OpenDevice");
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(control->Invoke(kSetIdle, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                              nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
  });
}

// ---- The program's calls -----------------------------------------------------------------------------

TEST_F(ControlTest, IncomingCallIsShownAndReported) {
  StartWithControl();
  EXPECT_TRUE(Open());
  EXPECT_EQ(Get(kGetModelCode).Get().lVal, kDefaultModelCode);
  ASSERT_EQ(Call(kSetRing, {Variant::From(false), I2(2)}), S_OK);
  ASSERT_EQ(Call(kShowIncomingCall, {Text(TEXT("bob@example.com"))}), S_OK);
  EXPECT_TRUE(handset.State().ringing);
  EXPECT_EQ(handset.State().ring_style, 2);
  ASSERT_EQ(Call(kShowTalking, {Text(TEXT("Bob"))}), S_OK);
  ASSERT_EQ(Call(kSetIdle), S_OK);
  std::vector<std::string> expected = {
      "handset OpenDevice(0) -> TRUE", "handset GetModelCode() -> 512",
      "handset SetRing(FALSE, 2)",     "handset ShowIncomingCall(\"bob@example.com\")",
      "handset ShowTalking(\"Bob\")",  "handset SetIdle()",
  };
  EXPECT_EQ(transcript.lines, expected);
  EXPECT_FALSE(handset.State().ringing);
  EXPECT_EQ(handset.State().display, "");
}

TEST_F(ControlTest, ArgumentErrorReachesTheCaller) {
  StartWithControl();
  Open();
  UINT arg_err = 99;
  HRESULT hr = E_UNEXPECTED;
  OnUi([&] {
    DispatchArguments args({Variant::From(true), Text(TEXT("3"))});
    hr = control->Invoke(kSetRing, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, args.Params(), nullptr,
                         nullptr, &arg_err);
  });
  EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(arg_err, 0u);
  EXPECT_FALSE(handset.State().ringing);
}

// ---- Events ------------------------------------------------------------------------------------------

TEST_F(ControlTest, EventsArriveOnTheCreatingThreadWhenItsLoopRuns) {
  StartWithControl();
  Open();
  handset.Key(7);
  EXPECT_TRUE(events().empty());  // posted; the UI thread has not run yet
  desktop.RunUntilIdle();
  ASSERT_EQ(events().size(), 1u);
  EXPECT_EQ(events()[0].thread_id, ui_thread);
  EXPECT_EQ(events()[0].id, static_cast<DISPID>(EventId::kKeyPressed));
  EXPECT_EQ(events()[0].flags, DISPATCH_METHOD);
  ASSERT_EQ(events()[0].args.size(), 1u);
  EXPECT_EQ(events()[0].args[0].Type(), VT_I2);
  EXPECT_EQ(events()[0].args[0].Get().iVal, 7);
}

TEST_F(ControlTest, EventArgumentsAreTypedAsTheProgramExpects) {
  StartWithControl();
  Open();
  handset.Hook(true);
  handset.Hook(false);
  handset.LineActivity();
  handset.LevelKey();
  desktop.RunUntilIdle();
  ASSERT_EQ(events().size(), 4u);
  EXPECT_EQ(events()[0].id, static_cast<DISPID>(EventId::kHookChanged));
  ASSERT_EQ(events()[0].args.size(), 1u);
  EXPECT_EQ(events()[0].args[0].Type(), VT_BOOL);
  EXPECT_EQ(events()[0].args[0].Get().boolVal, VARIANT_FALSE);  // lifted: not on hook
  EXPECT_EQ(events()[1].args[0].Get().boolVal, VARIANT_TRUE);
  EXPECT_EQ(events()[2].id, static_cast<DISPID>(EventId::kLineActivity));
  ASSERT_EQ(events()[2].args.size(), 1u);
  EXPECT_EQ(events()[2].args[0].Type(), VT_BOOL);
  EXPECT_EQ(events()[2].args[0].Get().boolVal, VARIANT_TRUE);
  EXPECT_EQ(events()[3].id, static_cast<DISPID>(EventId::kLevelKeyPressed));
  EXPECT_TRUE(events()[3].args.empty());
  for (const RecordedCall& e : events()) EXPECT_EQ(e.thread_id, ui_thread);
}

TEST_F(ControlTest, EventsAreRaisedOnlyWhileTheDeviceIsOpen) {
  StartWithControl();
  handset.Key(1);
  desktop.RunUntilIdle();
  EXPECT_TRUE(events().empty());
  Open();
  handset.Key(2);
  desktop.RunUntilIdle();
  ASSERT_EQ(Call(kCloseDevice), S_OK);
  handset.Key(3);
  desktop.RunUntilIdle();
  ASSERT_EQ(events().size(), 1u);
  EXPECT_EQ(events()[0].args[0].Get().iVal, 2);
}

TEST_F(ControlTest, SecondKindOfHandsetRaisesHookChangedB) {
  StartWithControl(0x0AB0);
  Open();
  handset.Hook(true);
  desktop.RunUntilIdle();
  ASSERT_EQ(events().size(), 1u);
  EXPECT_EQ(events()[0].id, static_cast<DISPID>(EventId::kHookChangedB));
  EXPECT_EQ(events()[0].args[0].Type(), VT_BOOL);
  EXPECT_EQ(events()[0].args[0].Get().boolVal, VARIANT_FALSE);
}

TEST_F(ControlTest, UnplugDuringACallRemovesTheDeviceAndSilencesIt) {
  StartWithControl();
  Open();
  Call(kShowIncomingCall, {Text(TEXT("bob@example.com"))});
  handset.Hook(true);
  desktop.RunUntilIdle();
  Call(kShowTalking, {Text(TEXT("Bob"))});
  handset.Key(5);  // still on its way when the handset goes
  handset.Unplug();
  desktop.RunUntilIdle();
  ASSERT_EQ(events().size(), 3u);
  EXPECT_EQ(events()[1].id, static_cast<DISPID>(EventId::kKeyPressed));
  EXPECT_EQ(events()[2].id, static_cast<DISPID>(EventId::kDeviceRemoved));
  EXPECT_TRUE(events()[2].args.empty());

  transcript.lines.clear();
  EXPECT_EQ(Get(kGetModelCode).Get().lVal, 0);
  EXPECT_FALSE(Open());
  EXPECT_EQ(transcript.lines.back(), "handset OpenDevice(0) -> FALSE");
  EXPECT_FALSE(handset.State().open);
}

TEST_F(ControlTest, RepluggedDeviceMustBeReopened) {
  StartWithControl();
  Open();
  handset.Unplug();
  handset.Plug(0x0AC0);
  handset.Key(1);
  desktop.RunUntilIdle();
  ASSERT_EQ(events().size(), 1u);  // DeviceRemoved only
  EXPECT_TRUE(Open());
  EXPECT_EQ(Get(kGetModelCode).Get().lVal, 0x0AC0);
  handset.Hook(true);
  desktop.RunUntilIdle();
  ASSERT_EQ(events().size(), 2u);
  EXPECT_EQ(events()[1].id, static_cast<DISPID>(EventId::kHookChangedB));
}

TEST_F(ControlTest, LineActivityHandsAnAdaptorsLineToPstn) {
  StartWithControl(0x0520);
  Open();
  EXPECT_EQ(Get(kGetChannel).Get().iVal, kChannelUsb);
  handset.LineActivity();
  desktop.RunUntilIdle();
  ASSERT_EQ(events().size(), 1u);
  EXPECT_EQ(events()[0].id, static_cast<DISPID>(EventId::kLineActivity));
  EXPECT_EQ(Get(kGetChannel).Get().iVal, kChannelPstn);
  EXPECT_EQ(Get(kGetChannel2).Get().iVal, kChannelPstn);
  Call(kSetChannel2, {I2(kChannelUsb)});
  EXPECT_EQ(Get(kGetChannel2).Get().iVal, kChannelUsb);
}

TEST_F(ControlTest, ProgramMayReleaseTheControlInsideAnEvent) {
  StartWithControl();
  Open();
  sink->on_call = [this] { control = nullptr; };
  handset.Unplug();
  handset.Plug();
  desktop.RunUntilIdle();
  EXPECT_EQ(events().size(), 1u);
  EXPECT_FALSE(control);
  EXPECT_FALSE(handset.State().open);
}

// ---- Controls over time -----------------------------------------------------------------------------

TEST_F(ControlTest, ProgramStartedAgainGetsTheSameDevice) {
  StartWithControl(0x0520);
  Open();
  Call(kSetDefaultChannel, {I2(kChannelPstn)});
  Call(kSetLevel, {I2(3)});
  EndProgram();
  EXPECT_FALSE(desktop.IsProcessRunning(pid));
  EXPECT_FALSE(handset.State().open);

  StartProgram();
  ASSERT_EQ(CreateControl(), S_OK);
  AdviseSink();
  EXPECT_TRUE(Open());
  EXPECT_EQ(Get(kGetLevel).Get().iVal, 3);  // the device was not unplugged
  handset.Key(4);
  desktop.RunUntilIdle();
  EXPECT_EQ(events().size(), 1u);
}

TEST_F(ControlTest, ProgramThatEndedWithoutReleasingNoLongerHoldsTheDevice) {
  StartWithControl();
  Open();
  OnUi([] { PostQuitMessage(0); });  // leaves `control` unreleased
  EXPECT_FALSE(desktop.IsProcessRunning(pid));
  EXPECT_FALSE(handset.State().open);
  EXPECT_TRUE(handset.Key(1));  // nobody to tell, and nothing breaks
  desktop.RunUntilIdle();
  EXPECT_TRUE(events().empty());
}

TEST_F(ControlTest, EventsWaitForAClientSite) {
  handset.Plug(kDefaultModelCode);
  StartProgram();
  ASSERT_EQ(CreateControl(), S_OK);
  AdviseSink(/*sited=*/false);
  ASSERT_TRUE(Open());
  handset.Key(4);
  desktop.RunUntilIdle();
  EXPECT_TRUE(events().empty()) << "an unsited control raised an event";

  OnUi([&] {
    ComPtr<IOleObject> object;
    ASSERT_EQ(control.As(IID_IOleObject, &object), S_OK);
    site = ComPtr<IOleClientSite>(MakeCom<TestClientSite>().Get());
    ASSERT_EQ(object->SetClientSite(site.Get()), S_OK);
  });
  handset.Key(5);
  desktop.RunUntilIdle();
  EXPECT_EQ(events().size(), 1u);
}

}  // namespace
}  // namespace world::handset::testing
