// The COM library on the simulated desktop: apartments, object creation through the desktop's
// class registry, and task memory.
#include <gtest/gtest.h>
#include <ole2.h>
#include <ocidl.h>

#include <sim/com.h>
#include <sim/desktop.h>

#include "com_test_object.h"

namespace {

const CLSID kWidgetClass = {0x12345678, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};

class ComApartmentTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
};

TEST_F(ComApartmentTest, FirstInitialisationSucceedsAndLaterOnesInTheSameModeReturnFalse) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  EXPECT_EQ(sim::ThreadApartment(GetCurrentThreadId()), sim::ComApartment::kSingleThreaded);
}

TEST_F(ComApartmentTest, EverySuccessfulInitialisationNeedsItsOwnUninitialise) {
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);  // does not count
  CoUninitialize();
  EXPECT_EQ(sim::ThreadApartment(GetCurrentThreadId()), sim::ComApartment::kMultiThreaded);
  CoUninitialize();
  EXPECT_EQ(sim::ThreadApartment(GetCurrentThreadId()), sim::ComApartment::kNone);
  CoUninitialize();                        // one too many: harmless
  EXPECT_EQ(CoInitialize(nullptr), S_OK);  // a new start may choose either apartment
}

TEST_F(ComApartmentTest, ReservedArgumentAndUnknownFlagsAreRejected) {
  int reserved = 0;
  EXPECT_EQ(CoInitialize(&reserved), E_INVALIDARG);
  EXPECT_EQ(CoInitializeEx(nullptr, 0x100), E_INVALIDARG);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE), S_OK);
}

TEST_F(ComApartmentTest, ApartmentsBelongToThreads) {
  DWORD tid = 0;
  desktop.StartProcess(sim::ProcessInfo{0, u"app.exe", u"C:\\app.exe", u"app.exe"}, [&] {
    tid = GetCurrentThreadId();
    CoInitialize(nullptr);
    Sleep(1000);
    CoUninitialize();
    return 0;
  });
  desktop.RunUntilIdle();
  EXPECT_EQ(sim::ThreadApartment(tid), sim::ComApartment::kSingleThreaded);
  EXPECT_EQ(sim::ThreadApartment(GetCurrentThreadId()), sim::ComApartment::kNone);
  desktop.AdvanceBy(1000);
  EXPECT_EQ(sim::ThreadApartment(tid), sim::ComApartment::kNone);
}

TEST_F(ComApartmentTest, OleInitializeEntersASingleThreadedApartment) {
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  OleUninitialize();
  OleUninitialize();
  EXPECT_EQ(sim::ThreadApartment(GetCurrentThreadId()), sim::ComApartment::kNone);
}

class ComCreationTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  CountingDispatch widget;
  int created = 0;

  void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
  void TearDown() override { CoUninitialize(); }

  void RegisterWidget(sim::ComClassOptions options = {}) {
    sim::RegisterComClass(
        kWidgetClass,
        [this](IUnknown*, REFIID riid, void** ppv) {
          ++created;
          return widget.QueryInterface(riid, ppv);
        },
        options);
  }
};

TEST_F(ComCreationTest, CreatesARegisteredClassWithOneReferenceForTheCaller) {
  RegisterWidget();
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&dispatch)),
            S_OK);
  EXPECT_EQ(dispatch, static_cast<IDispatch*>(&widget));
  EXPECT_EQ(widget.refs, 2u);
  dispatch->Release();
  EXPECT_EQ(created, 1);
}

TEST_F(ComCreationTest, FailsBeforeTheThreadInitialisesCom) {
  RegisterWidget();
  CoUninitialize();
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), CO_E_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(created, 0);
  CoInitialize(nullptr);
}

TEST_F(ComCreationTest, UnknownAndUnregisteredClassesAreNotRegistered) {
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
  RegisterWidget();
  EXPECT_TRUE(sim::UnregisterComClass(kWidgetClass));
  EXPECT_FALSE(sim::UnregisterComClass(kWidgetClass));
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
}

TEST_F(ComCreationTest, ClassContextMustMatchTheRegistration) {
  RegisterWidget(sim::ComClassOptions{CLSCTX_LOCAL_SERVER, false, u""});
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, 0, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
  ASSERT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), S_OK);
  static_cast<IUnknown*>(object)->Release();
}

TEST_F(ComCreationTest, AnOuterUnknownNeedsAClassThatAggregates) {
  RegisterWidget();
  CountingDispatch outer;
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(kWidgetClass, &outer, CLSCTX_ALL, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(created, 0);
  RegisterWidget(sim::ComClassOptions{CLSCTX_INPROC_SERVER, true, u""});
  EXPECT_EQ(CoCreateInstance(kWidgetClass, &outer, CLSCTX_ALL, IID_IDispatch, &object),
            CLASS_E_NOAGGREGATION);
  ASSERT_EQ(CoCreateInstance(kWidgetClass, &outer, CLSCTX_ALL, IID_IUnknown, &object), S_OK);
  static_cast<IUnknown*>(object)->Release();
}

TEST_F(ComCreationTest, MissingInterfacePassesThroughAndNullOutIsAPointerError) {
  RegisterWidget();
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IConnectionPoint, &object),
            E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ComCreationTest, AClassServedByAnotherProgramNeedsThatProgramRunning) {
  RegisterWidget(sim::ComClassOptions{CLSCTX_INPROC_SERVER, false, u"server.exe"});
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            CO_E_SERVER_EXEC_FAILURE);
  DWORD server = desktop.AddProcess(sim::ProcessInfo{0, u"server.exe", u"C:\\server.exe", u"server.exe"});
  IClassFactory* factory = nullptr;
  ASSERT_EQ(CoGetClassObject(kWidgetClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, &object), S_OK);
  static_cast<IUnknown*>(object)->Release();
  desktop.EndProcess(server);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, &object),
            HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE));
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            CO_E_SERVER_EXEC_FAILURE);
  factory->Release();
}

TEST_F(ComCreationTest, AFactoryFailureNeverHandsOutAPointer) {
  sim::RegisterComClass(kWidgetClass, [](IUnknown*, REFIID, void** ppv) {
    *ppv = reinterpret_cast<void*>(0x1234);
    return E_OUTOFMEMORY;
  });
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), E_OUTOFMEMORY);
  EXPECT_EQ(object, nullptr);
}

TEST(ComTaskMemoryTest, ZeroBytesGiveAFreeableBlockAndReallocToZeroFrees) {
  void* block = CoTaskMemAlloc(0);
  ASSERT_NE(block, nullptr);
  block = CoTaskMemRealloc(block, 64);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(CoTaskMemRealloc(block, 0), nullptr);
  CoTaskMemFree(nullptr);
}

}  // namespace
