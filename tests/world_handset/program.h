// A simulated process playing the program's part towards the handset control: its UI thread
// initialises COM, creates the control with CoCreateInstance, calls it by dispatch id with
// reversed arguments, advises a recording sink and runs a message loop.
#pragma once

#include <gtest/gtest.h>
#include <ole2.h>
#include <ocidl.h>

#include <sim/desktop.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "world/common/apartment_poster.h"
#include "world/common/com_object.h"
#include "world/common/ole_control.h"
#include "world/common/dispatch.h"
#include "world/common/variant.h"
#include "world/core/reporter.h"
#include "world/handset/handset_ids.h"
#include "world/handset/stand_in.h"
#include "world_common/recording_sink.h"

namespace world::handset::testing {

struct Transcript : Reporter {
  std::vector<std::string> lines;
  void Report(const std::string& source, const std::string& text) override {
    lines.push_back(source + " " + text);
  }
};

// The client site a container gives the control; the control asks nothing of it.
class TestClientSite final : public ComObject<IOleClientSite> {
 public:
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
};

class ProgramTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  Transcript transcript;
  HandsetStandIn handset{&transcript};

  // The program's side; touched only on its UI thread.
  DWORD ui_thread = 0;
  std::unique_ptr<ApartmentPoster> ui;
  ComPtr<IDispatch> control;
  ComPtr<IOleClientSite> site;
  ComPtr<RecordingSink> sink;  // the program's event sink; its calls are the events received
  DWORD cookie = 0;
  DWORD pid = 0;

  void TearDown() override {
    if (pid && desktop.IsProcessRunning(pid)) EndProgram();
    // A control left over by a program that ended without releasing it goes with the test.
    control = nullptr;
    sink = nullptr;
    ui.reset();
  }

  // Starts the program; its UI thread then waits in its message loop.
  void StartProgram() {
    pid = desktop.StartProcess(
        sim::ProcessInfo{0, u"Tellbud.exe", u"C:\\Tellbud\\Tellbud.exe", u"Tellbud.exe"}, [this] {
          EXPECT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
          ui_thread = GetCurrentThreadId();
          ui = std::make_unique<ApartmentPoster>();
          MSG msg;
          while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
          CoUninitialize();
          return 0;
        });
    desktop.RunUntilIdle();
  }

  // Runs `f` on the program's UI thread and lets everything settle.
  void OnUi(std::function<void()> f) {
    ASSERT_TRUE(ui->Post(std::move(f)));
    desktop.RunUntilIdle();
  }

  // The program releases what it holds and leaves its message loop.
  void EndProgram() {
    OnUi([this] {
      control = nullptr;
      sink = nullptr;
      site = nullptr;
      PostQuitMessage(0);
    });
  }

  const std::vector<RecordedCall>& events() const { return sink->calls; }

  HRESULT CreateControl() {
    HRESULT hr = E_UNEXPECTED;
    OnUi([&] {
      hr = CoCreateInstance(kClsidHandsetControl, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                            control.PutVoid());
    });
    return hr;
  }

  // Sites the control and finds the event connection point the way a control host does, and
  // advises a sink.
  void AdviseSink(bool sited = true) {
    OnUi([&] {
      if (sited) {
        ComPtr<IOleObject> object;
        ASSERT_EQ(control.As(IID_IOleObject, &object), S_OK);
        site = ComPtr<IOleClientSite>(MakeCom<TestClientSite>().Get());
        ASSERT_EQ(object->SetClientSite(site.Get()), S_OK);
      }
      ComPtr<IProvideClassInfo2> info;
      ASSERT_EQ(control.As(IID_IProvideClassInfo2, &info), S_OK);
      IID source{};
      ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
      ASSERT_TRUE(IsEqualIID(source, kDiidHandsetEvents));
      ComPtr<IConnectionPointContainer> container;
      ASSERT_EQ(control.As(IID_IConnectionPointContainer, &container), S_OK);
      ComPtr<IEnumConnectionPoints> points;
      ASSERT_EQ(container->EnumConnectionPoints(points.Put()), S_OK);
      ComPtr<IConnectionPoint> point;
      ASSERT_EQ(points->Next(1, point.Put(), nullptr), S_OK);
      IID iid{};
      ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
      ASSERT_TRUE(IsEqualIID(iid, kDiidHandsetEvents));
      sink = MakeCom<RecordingSink>();
      ASSERT_EQ(point->Advise(sink.Get(), &cookie), S_OK);
    });
  }

  // The usual start: a plugged handset, the program running with its control and sink.
  void StartWithControl(int32_t model = kDefaultModelCode) {
    if (model) handset.Plug(model);
    StartProgram();
    ASSERT_EQ(CreateControl(), S_OK);
    AdviseSink();
  }

  // Calls a method by dispatch id on the UI thread, arguments in call order.
  HRESULT Call(DISPID id, std::vector<Variant> args = {}, Variant* result = nullptr) {
    HRESULT hr = E_UNEXPECTED;
    OnUi([&] { hr = InvokeDispatch(control.Get(), id, DISPATCH_METHOD, args, result); });
    return hr;
  }
  Variant Get(DISPID id, std::vector<Variant> args = {}) {
    Variant result;
    EXPECT_EQ(Call(id, std::move(args), &result), S_OK);
    return result;
  }
  bool Open() { return Get(kOpenDevice, {Variant::From(LONG{0})}).Get().boolVal == VARIANT_TRUE; }
};

}  // namespace world::handset::testing
