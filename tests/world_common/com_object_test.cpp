// The reference-counted object base, the interface pointer and the owned VARIANT.
#include <gtest/gtest.h>

#include "recording_sink.h"
#include "world/common/com_object.h"
#include "world/common/com_ptr.h"
#include "world/common/variant.h"

namespace {

const IID kGadgetEvents = {0x0A0B0C0D, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};

// Counts live instances so tests see when the object deletes itself.
class Gadget final : public world::ComObject<IDispatch, IProvideClassInfo> {
 public:
  explicit Gadget(int* live) : live_(live) { ++*live_; }
  ~Gadget() override { --*live_; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override {
    *info = nullptr;
    return E_NOTIMPL;
  }

 private:
  int* live_;
};

TEST(ComObjectTest, AnswersItsInterfacesWithOneIdentity) {
  int live = 0;
  auto gadget = world::MakeCom<Gadget>(&live);
  world::ComPtr<IUnknown> through_dispatch, through_info;
  world::ComPtr<IDispatch> dispatch;
  world::ComPtr<IProvideClassInfo> info;
  ASSERT_EQ(gadget->QueryInterface(IID_IDispatch, dispatch.PutVoid()), S_OK);
  ASSERT_EQ(gadget->QueryInterface(IID_IProvideClassInfo, info.PutVoid()), S_OK);
  ASSERT_EQ(dispatch->QueryInterface(IID_IUnknown, through_dispatch.PutVoid()), S_OK);
  ASSERT_EQ(info->QueryInterface(IID_IUnknown, through_info.PutVoid()), S_OK);
  EXPECT_EQ(through_dispatch.Get(), through_info.Get());
  EXPECT_NE(static_cast<void*>(dispatch.Get()), static_cast<void*>(info.Get()));
}

TEST(ComObjectTest, UnknownInterfacesAndNullOutputsAreRefused) {
  int live = 0;
  auto gadget = world::MakeCom<Gadget>(&live);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(gadget->QueryInterface(IID_IConnectionPoint, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(gadget->QueryInterface(IID_IDispatch, nullptr), E_POINTER);
}

TEST(ComObjectTest, DeletesItselfWhenTheLastReferenceGoes) {
  int live = 0;
  {
    auto gadget = world::MakeCom<Gadget>(&live);
    world::ComPtr<Gadget> copy = gadget;
    EXPECT_EQ(gadget->AddRef(), 3u);
    EXPECT_EQ(gadget->Release(), 2u);
    EXPECT_EQ(live, 1);
  }
  EXPECT_EQ(live, 0);
}

TEST(ComObjectTest, ExtraIdentifiersCanBeAnswered) {
  auto sink = world::MakeCom<RecordingSink>(&kGadgetEvents);
  world::ComPtr<IDispatch> events;
  EXPECT_EQ(sink->QueryInterface(kGadgetEvents, events.PutVoid()), S_OK);
  EXPECT_EQ(events.Get(), static_cast<IDispatch*>(sink.Get()));
}

TEST(ComPtrTest, AdoptTakesOverAndSharingAddsAReference) {
  auto sink = world::MakeCom<RecordingSink>();
  RecordingSink* raw = sink.Get();
  {
    world::ComPtr<RecordingSink> shared(raw);
    EXPECT_EQ(raw->AddRef(), 3u);
    raw->Release();
  }
  world::ComPtr<RecordingSink> moved = std::move(sink);
  EXPECT_FALSE(sink);
  RecordingSink* detached = moved.Detach();
  EXPECT_EQ(detached->Release(), 0u);
}

TEST(VariantTest, CppTypesMapToTheirVariantTypes) {
  EXPECT_EQ(world::Variant::From(true).Type(), VT_BOOL);
  EXPECT_EQ(world::Variant::From(true).Get().boolVal, VARIANT_TRUE);
  EXPECT_EQ(world::Variant::From(SHORT{-3}).Type(), VT_I2);
  EXPECT_EQ(world::Variant::From(LONG{7}).Type(), VT_I4);
  EXPECT_EQ(world::Variant::From(BOOL{TRUE}).Type(), VT_I4);
  EXPECT_EQ(world::Variant::From(ULONG{7}).Type(), VT_UI4);
  EXPECT_EQ(world::Variant::From(2.5).Type(), VT_R8);
  EXPECT_EQ(world::Variant::From(TEXT("text")).Type(), VT_BSTR);
}

TEST(VariantTest, StringsKeepEmbeddedNullsBothWays) {
  world::ComString text(TEXT("a\0b"), 3);
  world::Variant v = world::Variant::From(text);
  EXPECT_EQ(SysStringLen(v.Get().bstrVal), 3u);
  world::ComString back;
  ASSERT_EQ(v.To(&back), S_OK);
  EXPECT_EQ(back, text);
}

TEST(VariantTest, ReadingConvertsAndLeavesTheOutputAloneOnFailure) {
  SHORT small = 0;
  ASSERT_EQ(world::Variant::From(TEXT("42")).To(&small), S_OK);
  EXPECT_EQ(small, 42);
  EXPECT_EQ(world::Variant::From(LONG{100000}).To(&small), DISP_E_OVERFLOW);
  EXPECT_EQ(small, 42);
  bool flag = false;
  ASSERT_EQ(world::Variant::From(LONG{-1}).To(&flag), S_OK);
  EXPECT_TRUE(flag);
}

TEST(VariantTest, InterfacesAreReferencedWhileHeld) {
  auto sink = world::MakeCom<RecordingSink>();
  world::Variant held = world::Variant::From(static_cast<IDispatch*>(sink.Get()));
  EXPECT_EQ(sink->AddRef(), 3u);
  sink->Release();
  world::Variant copy = held;
  world::ComPtr<IDispatch> read;
  ASSERT_EQ(copy.To(&read), S_OK);
  EXPECT_EQ(read.Get(), static_cast<IDispatch*>(sink.Get()));
  read.Reset();
  copy = world::Variant();
  held = world::Variant();
  EXPECT_EQ(sink->AddRef(), 2u);
  sink->Release();
}

}  // namespace
