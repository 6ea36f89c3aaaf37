// Messenger's objects as a program gets them under Wine, without Tellbud: this test process
// creates Messenger's class (TellbudMessenger.dll, in process) and calls through its vtables into
// msnmsgr.exe, whose world this test drives.
#include <gtest/gtest.h>
#include <ole2.h>

#include <cstdio>
#include <memory>
#include <string>

#include "messenger/messenger_api.h"
#include "tests/wine/messenger_world.h"
#include "tests/wine/tellbud_run.h"

namespace wine_test {
namespace {

constexpr HRESULT kServerUnavailable = static_cast<HRESULT>(0x800706BA);
constexpr HRESULT kCallFailed = static_cast<HRESULT>(0x800706BE);

template <typename T>
struct Ref {
  T* p = nullptr;
  ~Ref() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
  void** Put() { return reinterpret_cast<void**>(&p); }
};

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

class MessengerObjects : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    m_messenger = std::make_unique<CMessengerWorld>();
  }
  void TearDown() override {
    m_messenger.reset();
    CoUninitialize();
  }
  HRESULT Create(Ref<IMessenger>* root) {
    return CoCreateInstance(CLSID_Messenger, nullptr, CLSCTX_INPROC_SERVER, IID_IMessenger, root->Put());
  }
  void StartSignedInWithBob() {
    ASSERT_TRUE(m_messenger->Start()) << m_messenger->Transcript();
    ASSERT_TRUE(m_messenger->Command("messenger signin")) << m_messenger->Transcript();
    ASSERT_TRUE(m_messenger->Command("contact add bob@example.com \"Bob\" online"))
        << m_messenger->Transcript();
  }

  std::unique_ptr<CMessengerWorld> m_messenger;
};

// Messenger's class never starts Messenger: it is found running or not at all.
TEST_F(MessengerObjects, CreationFailsWhileMessengerDoesNotRun) {
  Ref<IMessenger> root;
  EXPECT_EQ(Hex(CO_E_SERVER_EXEC_FAILURE), Hex(Create(&root)));
  EXPECT_EQ(nullptr, root.p);
  EXPECT_FALSE(m_messenger->IsRunning());
}

// Calls go through the vtables to msnmsgr.exe and back, objects returned included; the time of
// one round trip is printed.
TEST_F(MessengerObjects, CallsReachMsnmsgrThroughTheVtables) {
  StartSignedInWithBob();
  Ref<IMessenger> root;
  ASSERT_EQ(Hex(S_OK), Hex(Create(&root))) << m_messenger->Transcript();
  LONG status = 0;
  ASSERT_EQ(Hex(S_OK), Hex(root->get_MyStatus(&status)));
  EXPECT_EQ(MESSENGER_STATUS_ONLINE, status);
  Ref<IDispatch> list;
  ASSERT_EQ(Hex(S_OK), Hex(root->get_MyContacts(&list.p)));
  LONG count = 0;
  ASSERT_EQ(Hex(S_OK), Hex(reinterpret_cast<IMessengerContacts*>(list.p)->get_Count(&count)));
  ASSERT_EQ(1, count);
  Ref<IDispatch> bob;
  ASSERT_EQ(Hex(S_OK), Hex(reinterpret_cast<IMessengerContacts*>(list.p)->Item(0, &bob.p)));
  BSTR name = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(reinterpret_cast<IMessengerContact*>(bob.p)->get_FriendlyName(&name)));
  EXPECT_EQ(std::wstring(L"Bob"), std::wstring(name ? name : L""));
  SysFreeString(name);
  // A failure the world injects comes back as the call's own result.
  ASSERT_TRUE(m_messenger->Command("messenger fail get_MyStatus E_ACCESSDENIED 1"));
  EXPECT_EQ(Hex(E_ACCESSDENIED), Hex(root->get_MyStatus(&status)));

  constexpr int kCalls = 200;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kCalls; ++i) ASSERT_EQ(S_OK, root->get_MyStatus(&status));
  QueryPerformanceCounter(&end);
  double ms =
      1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  std::printf("[ MEASURED ] one call into msnmsgr.exe: %.3f ms (mean of %d)\n", ms / kCalls, kCalls);
}

// A crashed Messenger fails its objects' calls; a Messenger started again is created anew.
TEST_F(MessengerObjects, ObjectsOfAKilledMessengerFailAndANewOneServes) {
  StartSignedInWithBob();
  Ref<IMessenger> root;
  ASSERT_EQ(Hex(S_OK), Hex(Create(&root))) << m_messenger->Transcript();
  ASSERT_TRUE(m_messenger->Kill());
  LONG status = 0;
  EXPECT_EQ(Hex(kServerUnavailable), Hex(root->get_MyStatus(&status)));
  Ref<IMessenger> none;
  EXPECT_EQ(Hex(CO_E_SERVER_EXEC_FAILURE), Hex(Create(&none)));
  ASSERT_TRUE(m_messenger->Start()) << m_messenger->Transcript();
  Ref<IMessenger> fresh;
  ASSERT_EQ(Hex(S_OK), Hex(Create(&fresh))) << m_messenger->Transcript();
  // Its stored settings are there again: the user is signed in.
  ASSERT_EQ(Hex(S_OK), Hex(fresh->get_MyStatus(&status)));
  EXPECT_EQ(MESSENGER_STATUS_ONLINE, status);
}

// Messenger vanishing inside a call: that call fails with RPC_S_CALL_FAILED, the next with
// RPC_S_SERVER_UNAVAILABLE, as the simulated stand-in's calls do; Messenger can start again.
TEST_F(MessengerObjects, MessengerVanishingInsideACallFailsThatCall) {
  StartSignedInWithBob();
  Ref<IMessenger> root;
  ASSERT_EQ(Hex(S_OK), Hex(Create(&root))) << m_messenger->Transcript();
  ASSERT_TRUE(m_messenger->Command("messenger vanish get_MyStatus"));
  LONG status = 0;
  EXPECT_EQ(Hex(kCallFailed), Hex(root->get_MyStatus(&status)));
  EXPECT_EQ(Hex(kServerUnavailable), Hex(root->get_MyStatus(&status)));
  EXPECT_TRUE(WaitFor([&] { return !m_messenger->IsRunning(); }, 10000));
  ASSERT_TRUE(m_messenger->Start()) << m_messenger->Transcript();
  Ref<IMessenger> fresh;
  EXPECT_EQ(Hex(S_OK), Hex(Create(&fresh))) << m_messenger->Transcript();
}

}  // namespace
}  // namespace wine_test
