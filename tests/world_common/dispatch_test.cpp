// Calling and answering IDispatch::Invoke with the dispatch helpers.
#include <gtest/gtest.h>

#include <sim/desktop.h>

#include "recording_sink.h"
#include "world/common/dispatch.h"

namespace {

// A small automation object in the style of a device control.
class Handset final : public world::DispatchObject<IDispatch> {
 public:
  Handset() {
    Members().Method(1, TEXT("OpenDevice"), [this](LONG reserved) {
      opened_with = reserved;
      return true;
    });
    Members().Method(14, TEXT("ShowDialString"), [this](const world::ComString& text) { shown = text; });
    Members().Method(11, TEXT("SetRing"), [this](bool ring, SHORT style) {
      ringing = ring;
      ring_style = style;
    });
    Members().PropertyGet(45, TEXT("Level"), [] { return SHORT{3}; });
    Members().Method(50, TEXT("Anything"), [](const world::Variant& v) { return v.Type() == VT_ERROR; });
  }
  LONG opened_with = -1;
  world::ComString shown;
  bool ringing = false;
  SHORT ring_style = -1;
};

class DispatchTableTest : public ::testing::Test {
 protected:
  world::ComPtr<Handset> handset = world::MakeCom<Handset>();
  IDispatch* target() { return handset.Get(); }
};

TEST_F(DispatchTableTest, ArgumentsArriveInCallOrderAndResultsComeBack) {
  world::Variant result;
  ASSERT_EQ(
      world::InvokeDispatch(target(), 1, DISPATCH_METHOD, world::DispatchArguments::List(LONG{0}), &result),
      S_OK);
  EXPECT_EQ(handset->opened_with, 0);
  EXPECT_EQ(result.Type(), VT_BOOL);
  EXPECT_EQ(result.Get().boolVal, VARIANT_TRUE);

  ASSERT_EQ(world::CallMethod(target(), 11, true, SHORT{4}), S_OK);
  EXPECT_TRUE(handset->ringing);
  EXPECT_EQ(handset->ring_style, 4);
}

TEST_F(DispatchTableTest, ArgumentsAreConvertedToTheHandlersTypes) {
  ASSERT_EQ(world::CallMethod(target(), 11, LONG{-1}, TEXT("7")), S_OK);
  EXPECT_TRUE(handset->ringing);
  EXPECT_EQ(handset->ring_style, 7);
  ASSERT_EQ(world::CallMethod(target(), 14, TEXT("0123")), S_OK);
  EXPECT_EQ(handset->shown, TEXT("0123"));
}

TEST_F(DispatchTableTest, AnArgumentThatDoesNotConvertIsNamedInArgErr) {
  world::DispatchArguments args(world::DispatchArguments::List(true, TEXT("loud")));
  UINT arg_err = 99;
  EXPECT_EQ(target()->Invoke(11, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, args.Params(), nullptr,
                             nullptr, &arg_err),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(arg_err, 0u);  // the second argument sits first in DISPPARAMS
  EXPECT_FALSE(handset->ringing);
}

TEST_F(DispatchTableTest, AnOmittedArgumentOnlyFitsAVariantParameter) {
  world::Variant omitted = world::Variant::FromCode(DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(world::CallMethod(target(), 1, omitted), DISP_E_PARAMNOTOPTIONAL);
  world::Variant result;
  ASSERT_EQ(world::InvokeDispatch(target(), 50, DISPATCH_METHOD, {omitted}, &result), S_OK);
  EXPECT_EQ(result.Get().boolVal, VARIANT_TRUE);
}

TEST_F(DispatchTableTest, CallsThatDoNotFitTheMemberAreRefused) {
  EXPECT_EQ(world::CallMethod(target(), 1), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(world::CallMethod(target(), 99), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(world::CallMethod(target(), 45), DISP_E_MEMBERNOTFOUND);  // a property, not a method
  world::Variant level;
  ASSERT_EQ(world::InvokeDispatch(target(), 45, DISPATCH_PROPERTYGET, {}, &level), S_OK);
  EXPECT_EQ(level.Get().iVal, 3);

  world::DispatchArguments args(world::DispatchArguments::List(LONG{0}));
  DISPID named = 0;
  DISPPARAMS* params = args.Params();
  params->rgdispidNamedArgs = &named;
  params->cNamedArgs = 1;
  EXPECT_EQ(
      target()->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params, nullptr, nullptr, nullptr),
      DISP_E_NONAMEDARGS);
  EXPECT_EQ(target()->Invoke(1, IID_IDispatch, LOCALE_USER_DEFAULT, DISPATCH_METHOD, args.Params(), nullptr,
                             nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  EXPECT_EQ(
      target()->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
      E_INVALIDARG);
}

TEST_F(DispatchTableTest, NamesAreFoundIgnoringCase) {
  OLECHAR name[] = TEXT("opendevice");
  OLECHAR param[] = TEXT("reserved");
  LPOLESTR names[] = {name, param};
  DISPID ids[2] = {0, 0};
  EXPECT_EQ(target()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, ids), S_OK);
  EXPECT_EQ(ids[0], 1);
  EXPECT_EQ(target()->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  LPOLESTR unknown[] = {param};
  EXPECT_EQ(target()->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);
}

TEST_F(DispatchTableTest, ThereIsNoTypeInformation) {
  UINT count = 5;
  EXPECT_EQ(target()->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
  EXPECT_EQ(target()->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), DISP_E_BADINDEX);
  EXPECT_EQ(info, nullptr);
}

TEST(DispatchArgumentsTest, DispParamsHoldTheLastArgumentFirst) {
  sim::Desktop desktop;  // the sink notes the calling thread
  auto sink = world::MakeCom<RecordingSink>();
  ASSERT_EQ(world::CallMethod(sink.Get(), 5, SHORT{1}, TEXT("two"), true), S_OK);
  ASSERT_EQ(sink->calls.size(), 1u);
  const RecordedCall& call = sink->calls[0];
  EXPECT_EQ(call.id, 5);
  EXPECT_EQ(call.flags, DISPATCH_METHOD);
  ASSERT_EQ(call.args.size(), 3u);
  EXPECT_EQ(call.args[0].Type(), VT_I2);
  EXPECT_EQ(call.args[1].Type(), VT_BSTR);
  EXPECT_EQ(call.args[2].Type(), VT_BOOL);
}

}  // namespace
