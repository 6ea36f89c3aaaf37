// The event sink as Messenger's connection point sees it: an IDispatch and nothing else, whose
// Invoke answers E_NOTIMPL whatever it handled.
#include <gtest/gtest.h>
#include <ocidl.h>

#include "messenger/event_sink.h"
#include "messenger/messenger_api.h"

namespace {

class EventSinkTest : public ::testing::Test {
 protected:
  // The sink starts with the one reference its creator holds.
  CMessengerEventSink* sink = new CMessengerEventSink(nullptr);
  void TearDown() override {
    if (sink) {
      EXPECT_EQ(sink->Release(), 0u);
    }
  }
};

TEST_F(EventSinkTest, AnswersForIUnknownAndIDispatchWithItselfAndOneMoreReference) {
  for (const IID* iid : {&IID_IUnknown, &IID_IDispatch}) {
    void* out = nullptr;
    ASSERT_EQ(sink->QueryInterface(*iid, &out), S_OK);
    EXPECT_EQ(out, static_cast<IDispatch*>(sink));
    EXPECT_EQ(sink->Release(), 1u);
  }
}

TEST_F(EventSinkTest, RefusesEveryOtherInterfaceTheEventInterfaceIncluded) {
  for (const IID* iid : {&DIID_DMessengerEvents, &IID_IConnectionPoint, &IID_IMessenger}) {
    void* out = sink;
    EXPECT_EQ(sink->QueryInterface(*iid, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(sink->QueryInterface(IID_IDispatch, nullptr), E_INVALIDARG);
}

TEST_F(EventSinkTest, CountsItsReferencesAndGoesAtTheLast) {
  EXPECT_EQ(sink->AddRef(), 2u);
  EXPECT_EQ(sink->AddRef(), 3u);
  EXPECT_EQ(sink->Release(), 2u);
  EXPECT_EQ(sink->Release(), 1u);
  EXPECT_EQ(sink->Release(), 0u);
  sink = nullptr;
}

TEST_F(EventSinkTest, OffersNoTypeInformationAndNoNames) {
  UINT count = 7;
  EXPECT_EQ(sink->GetTypeInfoCount(&count), E_NOTIMPL);
  ITypeInfo* info = nullptr;
  EXPECT_EQ(sink->GetTypeInfo(0, 0, &info), E_NOTIMPL);
  LPOLESTR name = const_cast<LPOLESTR>(TEXT("OnSignin"));
  DISPID id = 0;
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), E_NOTIMPL);
}

TEST_F(EventSinkTest, InvokeWantsAnArgumentBlockAndOtherwiseAnswersNotImplemented) {
  EXPECT_EQ(
      sink->Invoke(DISPID_MUAE_ONSIGNIN, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
      E_INVALIDARG);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  for (DISPID id : {DISPID(DISPID_MUAE_ONSIGNIN), DISPID(1031), DISPID(5000)})
    EXPECT_EQ(sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), E_NOTIMPL);
}

}  // namespace
