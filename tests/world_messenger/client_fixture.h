// A simulated program that talks to the Messenger stand-in as Tellbud does: its thread
// initialises COM as a single-threaded apartment, creates Messenger's object, calls it through
// the interfaces of messenger/messenger_api.h, advises an event sink and runs a message loop.
// The test body (the world) hands work to that thread with Client::Do.
#pragma once

#include <ole2.h>

#include <functional>
#include <memory>
#include <vector>

#include "messenger/messenger_api.h"
#include "stand_in_fixture.h"
#include "world/common/com_object.h"
#include "world/messenger/call_window.h"

namespace world::messenger {

// One event as the sink received it.
struct ReceivedEvent {
  DISPID id = 0;
  DWORD thread = 0;
  std::vector<VARTYPE> types;              // rgvarg order: the last argument first
  std::vector<LONG> longs;                 // rgvarg[i].lVal for VT_I4 arguments, else 0
  std::vector<ComPtr<IDispatch>> objects;  // rgvarg[i].pdispVal for VT_DISPATCH arguments
};

class RecordingSink final : public ComObject<IDispatch> {
 public:
  std::vector<ReceivedEvent> events;
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    EXPECT_TRUE(IsEqualIID(riid, IID_NULL));
    EXPECT_EQ(flags, DISPATCH_METHOD);
    ReceivedEvent e;
    e.id = id;
    e.thread = GetCurrentThreadId();
    for (UINT i = 0; i < params->cArgs; ++i) {
      const VARIANT& v = params->rgvarg[i];
      e.types.push_back(v.vt);
      e.longs.push_back(v.vt == VT_I4 ? v.lVal : 0);
      e.objects.push_back(v.vt == VT_DISPATCH ? ComPtr<IDispatch>(v.pdispVal) : ComPtr<IDispatch>());
    }
    events.push_back(std::move(e));
    return S_OK;
  }
};

template <typename T>
ComPtr<T> As(IUnknown* object, REFIID iid) {
  T* out = nullptr;
  if (!object || FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&out)))) return {};
  return ComPtr<T>::Adopt(out);
}

// A VT_BSTR argument, freed when it goes.
struct BstrArg {
  VARIANT v;
  explicit BstrArg(const char16_t* text) {
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
  }
  ~BstrArg() { VariantClear(&v); }
  BstrArg(const BstrArg&) = delete;
  BstrArg& operator=(const BstrArg&) = delete;
};

inline Text BstrText(BSTR b) { return Text(b ? b : TEXT(""), SysStringLen(b)); }

class Client {
 public:
  explicit Client(sim::Desktop& desktop) : desktop_(desktop) {
    pid_ = desktop.StartProcess(
        sim::ProcessInfo{0, u"Tellbud.exe", u"C:\\Tellbud\\Tellbud.exe", u"Tellbud.exe"}, [this] {
          CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
          thread_ = GetCurrentThreadId();
          CallWindow tasks;
          tasks_ = &tasks;
          MSG msg;
          while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
          tasks_ = nullptr;
          CoUninitialize();
          return 0;
        });
    desktop.RunUntilIdle();
  }
  // Runs `work` on the program's thread, then lets the desktop run until idle (so events
  // posted meanwhile have arrived too).
  void Do(std::function<void()> work) {
    ASSERT_NE(tasks_, nullptr);
    tasks_->Post(std::move(work));
    desktop_.RunUntilIdle();
  }
  DWORD thread() const { return thread_; }

 private:
  sim::Desktop& desktop_;
  DWORD pid_ = 0;
  DWORD thread_ = 0;
  CallWindow* tasks_ = nullptr;
};

class AutomationTest : public StandInTest {
 protected:
  std::unique_ptr<Client> client;
  ComPtr<IMessenger> root;
  ComPtr<RecordingSink> sink;
  DWORD cookie = 0;

  void SetUp() override {
    StandInTest::SetUp();
    client = std::make_unique<Client>(desktop);
    root = Create();
    ASSERT_TRUE(root);
  }
  void TearDown() override {
    root.Reset();
    sink.Reset();
  }

  ComPtr<IMessenger> Create(HRESULT* result = nullptr) {
    ComPtr<IMessenger> created;
    client->Do([&] {
      IMessenger* p = nullptr;
      HRESULT hr = CoCreateInstance(CLSID_Messenger, nullptr, CLSCTX_INPROC_SERVER, IID_IMessenger,
                                    reinterpret_cast<void**>(&p));
      if (result) *result = hr;
      created = ComPtr<IMessenger>::Adopt(p);
    });
    return created;
  }

  // Advises a recording sink from the program's thread.
  void Advise() {
    sink = MakeCom<RecordingSink>();
    client->Do([&] {
      auto container = As<IConnectionPointContainer>(root.Get(), IID_IConnectionPointContainer);
      ASSERT_TRUE(container);
      IConnectionPoint* point = nullptr;
      ASSERT_EQ(container->FindConnectionPoint(DIID_DMessengerEvents, &point), S_OK);
      ASSERT_EQ(point->Advise(sink.Get(), &cookie), S_OK);
      point->Release();
    });
  }

  // Calls on the program's thread and returns the HRESULT.
  HRESULT On(std::function<HRESULT()> call) {
    HRESULT hr = E_UNEXPECTED;
    client->Do([&] { hr = call(); });
    return hr;
  }

  ComPtr<IMessengerConversationWnd> OpenWith(const char16_t* signin, bool voice = false) {
    ComPtr<IMessengerConversationWnd> window;
    client->Do([&] {
      BstrArg contact(signin);
      IDispatch* d = nullptr;
      HRESULT hr = voice ? root->StartVoice(contact.v, &d) : root->InstantMessage(contact.v, &d);
      ASSERT_EQ(hr, S_OK);
      window = As<IMessengerConversationWnd>(d, IID_IMessengerConversationWnd);
      d->Release();
    });
    return window;
  }

  LONG HwndOf(IMessengerWindow* w) {
    LONG h = 0;
    EXPECT_EQ(On([&] { return w->get_HWND(&h); }), S_OK);
    return h;
  }

  std::string History(IMessengerConversationWnd* w) {
    std::string out;
    On([&] {
      BSTR b = nullptr;
      HRESULT hr = w->get_History(&b);
      out = ToUtf8(BstrText(b));
      SysFreeString(b);
      return hr;
    });
    return out;
  }
};

}  // namespace world::messenger
