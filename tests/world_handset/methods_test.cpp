// How the control reads the program's dispatch calls: argument types and counts, the HRESULTs
// of bad calls, the typed results and the transcript line of every method.
#include <gtest/gtest.h>

#include <sim/desktop.h>

#include <memory>
#include <string>
#include <vector>

#include "world/common/dispatch.h"
#include "world/common/variant.h"
#include "world/core/reporter.h"
#include "world/handset/handset_ids.h"
#include "world/handset/methods.h"

namespace world::handset {
namespace {

struct Transcript : Reporter {
  std::vector<std::string> lines;
  void Report(const std::string& source, const std::string& text) override {
    lines.push_back(source + " " + text);
  }
};

struct NullSink : EventSink {
  void OnDeviceEvent(const Event&) override {}
};

Variant I2(SHORT v) { return Variant::From(v); }
Variant I4(LONG v) { return Variant::From(v); }
Variant Bool(bool v) { return Variant::From(v); }
Variant Text(const OLECHAR* v) { return Variant::From(v); }

class MethodsTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  Transcript transcript;
  std::shared_ptr<Device> device = std::make_shared<Device>(&transcript);
  NullSink sink;
  Session session{device, sink};
  Variant result;
  UINT arg_err = 99;

  // Calls with the arguments in call order, as the program writes them.
  HRESULT Call(DISPID id, const std::vector<Variant>& args = {}, WORD flags = DISPATCH_METHOD) {
    DispatchArguments params(args);
    return InvokeMethod(session, id, flags, params.Params(), result.Receive(), &arg_err);
  }
  void PlugAndOpen(int32_t model = kDefaultModelCode) {
    device->Plug(model);
    ASSERT_EQ(Call(kOpenDevice, {I4(0)}), S_OK);
    transcript.lines.clear();
  }
  std::string LastLine() const { return transcript.lines.empty() ? "" : transcript.lines.back(); }
};

// ---- Results and transcript lines ----------------------------------------------------------------

TEST_F(MethodsTest, OpenDeviceAnswersABoolAndReportsIt) {
  ASSERT_EQ(Call(kOpenDevice, {I4(0)}), S_OK);
  EXPECT_EQ(result.Type(), VT_BOOL);
  EXPECT_EQ(result.Get().boolVal, VARIANT_FALSE);
  EXPECT_EQ(LastLine(), "handset OpenDevice(0) -> FALSE");

  device->Plug();
  ASSERT_EQ(Call(kOpenDevice, {I4(0)}), S_OK);
  EXPECT_EQ(result.Get().boolVal, VARIANT_TRUE);
  EXPECT_EQ(LastLine(), "handset OpenDevice(0) -> TRUE");
}

TEST_F(MethodsTest, GettersAnswerWithTheirOwnVariantTypes) {
  PlugAndOpen(0x0520);
  ASSERT_EQ(Call(kGetModelCode), S_OK);
  EXPECT_EQ(result.Type(), VT_I4);
  EXPECT_EQ(result.Get().lVal, 0x0520);
  EXPECT_EQ(LastLine(), "handset GetModelCode() -> 1312");

  ASSERT_EQ(Call(kGetLevel), S_OK);
  EXPECT_EQ(result.Type(), VT_I2);
  EXPECT_EQ(result.Get().iVal, kInitialLevel);
  EXPECT_EQ(LastLine(), "handset GetLevel() -> 10");

  ASSERT_EQ(Call(kGetChannel2), S_OK);
  EXPECT_EQ(result.Type(), VT_I2);
  EXPECT_EQ(result.Get().iVal, kChannelUsb);
  EXPECT_EQ(LastLine(), "handset GetChannel2() -> 1");
}

TEST_F(MethodsTest, MethodsWithoutAResultLeaveItEmpty) {
  PlugAndOpen();
  ASSERT_EQ(Call(kSetIdle), S_OK);
  EXPECT_EQ(result.Type(), VT_EMPTY);
  EXPECT_EQ(LastLine(), "handset SetIdle()");
}

TEST_F(MethodsTest, EveryMethodReportsItsCallAndChangesTheDevice) {
  PlugAndOpen(0x0520);
  struct Step {
    DISPID id;
    std::vector<Variant> args;
    const char* line;
  };
  const std::vector<Step> steps = {
      {kSetRing, {Bool(false), I2(3)}, "handset SetRing(FALSE, 3)"},
      {kShowIncomingCall, {Text(TEXT("bob@example.com"))}, "handset ShowIncomingCall(\"bob@example.com\")"},
      {kAcknowledgeKey, {I2(12)}, "handset AcknowledgeKey(12)"},
      {kSetSpeakerA, {I2(1)}, "handset SetSpeakerA(1)"},
      {kSetSpeakerB, {Bool(true)}, "handset SetSpeakerB(TRUE)"},
      {kSetLevel, {I2(4)}, "handset SetLevel(4)"},
      {kSetChannel, {I2(0)}, "handset SetChannel(0)"},
      {kSetDefaultChannel2, {I2(0)}, "handset SetDefaultChannel2(0)"},
  };
  for (const Step& step : steps) {
    ASSERT_EQ(Call(step.id, step.args), S_OK) << step.line;
    EXPECT_EQ(LastLine(), step.line);
  }
  DeviceState s = device->State();
  EXPECT_TRUE(s.ringing);
  EXPECT_EQ(s.ring_style, 3);
  EXPECT_EQ(s.display, "bob@example.com");
  EXPECT_EQ(s.last_acknowledged_key, 12);
  EXPECT_TRUE(s.speaker_a);
  EXPECT_TRUE(s.speaker_b);
  EXPECT_EQ(s.level, 4);
  EXPECT_EQ(s.channel[0], kChannelPstn);
  EXPECT_EQ(s.default_channel[1], kChannelPstn);

  ASSERT_EQ(Call(kShowTalking, {Text(TEXT("Bob"))}), S_OK);
  EXPECT_EQ(LastLine(), "handset ShowTalking(\"Bob\")");
  EXPECT_FALSE(device->State().ringing);
  ASSERT_EQ(Call(kShowDialString, {Text(TEXT(""))}), S_OK);
  EXPECT_EQ(LastLine(), "handset ShowDialString(\"\")");
  EXPECT_EQ(device->State().display, "");
  ASSERT_EQ(Call(kSetChannel2, {I2(0)}), S_OK);
  ASSERT_EQ(Call(kSetDefaultChannel, {I2(0)}), S_OK);
  ASSERT_EQ(Call(kCloseDevice), S_OK);
  EXPECT_EQ(LastLine(), "handset CloseDevice()");
  EXPECT_FALSE(device->State().open);
}

TEST_F(MethodsTest, TextIsQuotedAndConvertedToUtf8) {
  PlugAndOpen();
  ASSERT_EQ(Call(kShowDialString, {Text(TEXT("J\u00f6rg \"Joe\""))}), S_OK);
  EXPECT_EQ(device->State().display, "J\xc3\xb6rg \"Joe\"");
  EXPECT_EQ(LastLine(), "handset ShowDialString(\"J\xc3\xb6rg \\\"Joe\\\"\")");
}

TEST_F(MethodsTest, NullStringIsEmptyText) {
  PlugAndOpen();
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = nullptr;
  ASSERT_EQ(Call(kShowTalking, {Variant::Adopt(&v)}), S_OK);
  EXPECT_EQ(LastLine(), "handset ShowTalking(\"\")");
}

// ---- Argument types --------------------------------------------------------------------------------

TEST_F(MethodsTest, NumbersAndFlagsAcceptI2I4AndBoolAlike) {
  PlugAndOpen();
  ASSERT_EQ(Call(kSetLevel, {I4(7)}), S_OK);
  EXPECT_EQ(device->State().level, 7);
  ASSERT_EQ(Call(kSetSpeakerB, {I2(1)}), S_OK);
  EXPECT_EQ(LastLine(), "handset SetSpeakerB(TRUE)");
  ASSERT_EQ(Call(kSetSpeakerB, {I4(0)}), S_OK);
  EXPECT_EQ(LastLine(), "handset SetSpeakerB(FALSE)");
  ASSERT_EQ(Call(kSetRing, {I4(5), Bool(true)}), S_OK);  // VARIANT_TRUE is -1: not a style
  EXPECT_EQ(LastLine(), "handset SetRing(TRUE, -1)");
  EXPECT_TRUE(device->State().ringing);
  ASSERT_EQ(Call(kSetSpeakerA, {Bool(true)}), S_OK);
  EXPECT_TRUE(device->State().speaker_a);
}

TEST_F(MethodsTest, ArgumentsPassedByReferenceAreRead) {
  PlugAndOpen();
  SHORT level = 6;
  VARIANT by_ref;
  VariantInit(&by_ref);
  by_ref.vt = VT_BYREF | VT_I2;
  by_ref.piVal = &level;
  ASSERT_EQ(Call(kSetLevel, {Variant::Copy(by_ref)}), S_OK);
  EXPECT_EQ(device->State().level, 6);

  Variant inner = Text(TEXT("ann"));
  VARIANT wrapper;
  VariantInit(&wrapper);
  wrapper.vt = VT_BYREF | VT_VARIANT;
  wrapper.pvarVal = const_cast<VARIANT*>(&inner.Get());
  ASSERT_EQ(Call(kShowDialString, {Variant::Copy(wrapper)}), S_OK);
  EXPECT_EQ(device->State().display, "ann");
}

TEST_F(MethodsTest, WrongTypeIsAMismatchNamingTheArgumentsPosition) {
  PlugAndOpen();
  // SetRing(ring, style): rgvarg[1] is the ring flag, rgvarg[0] the style.
  EXPECT_EQ(Call(kSetRing, {Text(TEXT("1")), I2(0)}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(arg_err, 1u);
  EXPECT_EQ(Call(kSetRing, {Bool(true), Text(TEXT("2"))}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(arg_err, 0u);
  EXPECT_EQ(Call(kShowTalking, {I4(5)}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Call(kSetLevel, {Variant::From(2.0)}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Call(kSetLevel, {Variant()}), DISP_E_TYPEMISMATCH);
  EXPECT_TRUE(transcript.lines.empty());
  EXPECT_FALSE(device->State().ringing);
}

TEST_F(MethodsTest, LongValueBeyondAShortOverflows) {
  PlugAndOpen();
  EXPECT_EQ(Call(kSetLevel, {I4(40000)}), DISP_E_OVERFLOW);
  EXPECT_EQ(arg_err, 0u);
  EXPECT_EQ(Call(kOpenDevice, {I4(40000)}), S_OK);  // OpenDevice takes a long
  EXPECT_EQ(device->State().level, kInitialLevel);
}

TEST_F(MethodsTest, NullReferenceIsAMismatchNotACrash) {
  PlugAndOpen();
  VARIANT by_ref;
  VariantInit(&by_ref);
  by_ref.vt = VT_BYREF | VT_I2;
  by_ref.piVal = nullptr;
  DISPPARAMS params{&by_ref, nullptr, 1, 0};
  EXPECT_EQ(InvokeMethod(session, kSetLevel, DISPATCH_METHOD, &params, nullptr, &arg_err),
            DISP_E_TYPEMISMATCH);
}

// ---- Bad calls ----------------------------------------------------------------------------------------

TEST_F(MethodsTest, WrongArgumentCountIsRefused) {
  PlugAndOpen();
  EXPECT_EQ(Call(kSetRing, {Bool(true)}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(kSetIdle, {I2(1)}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(kOpenDevice), DISP_E_BADPARAMCOUNT);
  EXPECT_TRUE(transcript.lines.empty());
}

TEST_F(MethodsTest, UnknownDispidAndNonMethodCallsAreNotFound) {
  for (DISPID id : {0, 4, 15, 50, -1}) EXPECT_EQ(Call(id), DISP_E_MEMBERNOTFOUND) << id;
  EXPECT_EQ(Call(kGetLevel, {}, DISPATCH_PROPERTYGET), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Call(kGetLevel, {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET), S_OK);
  EXPECT_TRUE(IsMethod(kSetDefaultChannel2));
  EXPECT_FALSE(IsMethod(4));
}

TEST_F(MethodsTest, NamedArgumentsAndMissingParametersAreRefused) {
  DISPID named = 0;
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_I2;
  DISPPARAMS with_name{&arg, &named, 1, 1};
  EXPECT_EQ(InvokeMethod(session, kSetLevel, DISPATCH_METHOD, &with_name, nullptr, nullptr),
            DISP_E_NONAMEDARGS);
  EXPECT_EQ(InvokeMethod(session, kSetIdle, DISPATCH_METHOD, nullptr, nullptr, nullptr), E_INVALIDARG);
  DISPPARAMS no_array{nullptr, nullptr, 1, 0};
  EXPECT_EQ(InvokeMethod(session, kSetLevel, DISPATCH_METHOD, &no_array, nullptr, nullptr), E_INVALIDARG);
}

TEST_F(MethodsTest, ResultMayBeOmittedByTheCaller) {
  device->Plug();
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_I4;
  DISPPARAMS zero{&arg, nullptr, 1, 0};
  EXPECT_EQ(InvokeMethod(session, kOpenDevice, DISPATCH_METHOD, &zero, nullptr, nullptr), S_OK);
  EXPECT_EQ(InvokeMethod(session, kGetModelCode, DISPATCH_METHOD, &none, nullptr, nullptr), S_OK);
  EXPECT_EQ(LastLine(), "handset GetModelCode() -> 512");
}

}  // namespace
}  // namespace world::handset
