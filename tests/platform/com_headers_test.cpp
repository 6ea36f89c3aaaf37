// The COM headers as programs use them: interfaces keep COM's vtable slots, and the declaration
// macros give interfaces that other code can implement and call.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <cstring>

namespace {

// The vtable slot of a virtual member function: the Itanium C++ ABI stores a pointer to a
// virtual member as one plus the slot's byte offset.
template <typename F>
size_t SlotOf(F member) {
  uintptr_t raw;
  std::memcpy(&raw, &member, sizeof(raw));
  return (raw - 1) / sizeof(void*);
}

TEST(ComHeadersTest, InterfacesKeepComSlotOrder) {
  // Windows' headers add a template overload of QueryInterface; the COM method is this one.
  EXPECT_EQ(
      SlotOf(static_cast<HRESULT (STDMETHODCALLTYPE IUnknown::*)(REFIID, void**)>(&IUnknown::QueryInterface)),
      0u);
  EXPECT_EQ(SlotOf(&IUnknown::Release), 2u);
  EXPECT_EQ(SlotOf(&IClassFactory::CreateInstance), 3u);
  EXPECT_EQ(SlotOf(&IClassFactory::LockServer), 4u);
  EXPECT_EQ(SlotOf(&IDispatch::GetTypeInfoCount), 3u);
  EXPECT_EQ(SlotOf(&IDispatch::Invoke), 6u);
  EXPECT_EQ(SlotOf(&ITypeInfo::GetIDsOfNames), 10u);
  EXPECT_EQ(SlotOf(&ITypeInfo::ReleaseVarDesc), 21u);
  EXPECT_EQ(SlotOf(&IConnectionPointContainer::FindConnectionPoint), 4u);
  EXPECT_EQ(SlotOf(&IConnectionPoint::Advise), 5u);
  EXPECT_EQ(SlotOf(&IConnectionPoint::EnumConnections), 7u);
  EXPECT_EQ(SlotOf(&IEnumConnections::Clone), 6u);
  EXPECT_EQ(SlotOf(&IEnumConnectionPoints::Next), 3u);
  EXPECT_EQ(SlotOf(&IProvideClassInfo::GetClassInfo), 3u);
}

DECLARE_INTERFACE_(IGadget, IDispatch) {
  STDMETHOD(Ping)(THIS_ LONG value, LONG * echoed) PURE;
  STDMETHOD_(ULONG, Count)(THIS) PURE;
};

struct Gadget : IGadget {
  STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOTIMPL; }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Ping(LONG value, LONG* echoed) override {
    *echoed = value;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) Count() override { return 3; }
};

TEST(ComHeadersTest, DeclarationMacrosAppendMethodsAfterTheBaseInterface) {
  Gadget gadget;
  IGadget* itf = &gadget;
  LONG echoed = 0;
  EXPECT_EQ(itf->Ping(5, &echoed), S_OK);
  EXPECT_EQ(echoed, 5);
  EXPECT_EQ(itf->Count(), 3u);
  EXPECT_EQ(SlotOf(&IGadget::Ping), 7u);
}

TEST(ComHeadersTest, AutomationConstantsHaveWindowsValues) {
  EXPECT_EQ(DISPATCH_METHOD, 1);
  EXPECT_EQ(DISPATCH_PROPERTYGET, 2);
  EXPECT_EQ(DISPATCH_PROPERTYPUT, 4);
  EXPECT_EQ(DISPID_VALUE, 0);
  EXPECT_EQ(DISPID_UNKNOWN, -1);
  EXPECT_EQ(DISPID_PROPERTYPUT, -3);
  EXPECT_EQ(VARIANT_TRUE, -1);
  EXPECT_EQ(CLSCTX_ALL, 0x17);
  EXPECT_EQ(COINIT_APARTMENTTHREADED, 2);
  EXPECT_EQ(LOCALE_USER_DEFAULT, 0x0400);
  EXPECT_EQ(LOCALE_SYSTEM_DEFAULT, 0x0800);
  EXPECT_EQ(sizeof(DISPPARAMS), 2 * sizeof(void*) + 8);
}

}  // namespace
