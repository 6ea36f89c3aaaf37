// The ActiveX control host: the site window, method calls by dispatch id with reversed
// arguments, events routed to dialog members, release on destruction, and the failure paths.
#include "fake_control.h"
#include "framework_fixture.h"

#include <sim/com.h>

#include <stdexcept>

namespace framework_test {
namespace {

constexpr DISPID kKeyPressed = 2, kIncomingCall = 3, kFailingEvent = 4;
constexpr UINT kRunBody = WM_USER + 130;

class PhoneDialog : public CDialog {
 public:
  PhoneDialog() : CDialog(kPhoneDialog) {
    BindEvent(kPhoneId, kKeyPressed, &PhoneDialog::OnKeyPressed);
    BindEvent(kPhoneId, kIncomingCall, &PhoneDialog::OnIncomingCall);
    BindEvent(kPhoneId, kFailingEvent, &PhoneDialog::OnFailingEvent);
  }

  CActiveXControl m_phone;
  std::vector<short> keys;
  std::vector<std::tuple<long, BOOL, CString>> incoming;
  std::function<void(PhoneDialog&)> body;  // run in the program on kRunBody

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kPhoneId, m_phone); }
  BOOL OnMessage(UINT message, WPARAM, LPARAM, LRESULT*) override {
    if (message != kRunBody) return FALSE;
    if (body) body(*this);
    return TRUE;
  }

 private:
  void OnKeyPressed(short key) { keys.push_back(key); }
  void OnIncomingCall(long line, BOOL video, const CString& who) { incoming.emplace_back(line, video, who); }
  void OnFailingEvent() { throw std::runtime_error("event handler failed"); }
};

class ActiveXTest : public FrameworkTest {
 protected:
  void SetUp() override {
    CLSID clsid;
    ASSERT_EQ(CLSIDFromString(kPhoneClsid, &clsid), S_OK);
    phoneClsid = clsid;
  }
  void TearDown() override {
    if (IsWindow(hWnd)) Command(hWnd, IDCANCEL);
    FrameworkTest::TearDown();
  }
  void RegisterPhone() {
    sim::RegisterComClass(phoneClsid, [this](IUnknown*, REFIID riid, void** ppv) {
      ++created;
      return phone.QueryInterface(riid, ppv);
    });
  }
  // Runs the phone dialog as the program's main window (COM initialised, hosting enabled
  // unless told otherwise).
  void Run(bool hosting = true) {
    struct PhoneApp : CWinApp {
      ActiveXTest* test;
      bool hosting;
      PhoneApp(ActiveXTest* t, bool h) : test(t), hosting(h) {}
      BOOL InitInstance() override {
        AfxOleInit();
        if (hosting) AfxEnableControlContainer();
        m_pMainWnd = &test->dialog;
        test->result = test->dialog.DoModal();
        return FALSE;
      }
    };
    app = std::make_unique<PhoneApp>(this, hosting);
    Start([] { return AfxWinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), SW_SHOWNORMAL); });
    hWnd = FindDialog(u"Phone");
    ASSERT_NE(hWnd, nullptr);
  }
  // Runs `body` on the program's thread, inside the dialog.
  void InProgram(std::function<void(PhoneDialog&)> body) {
    dialog.body = std::move(body);
    PostMessageW(hWnd, kRunBody, 0, 0);
    desktop.RunUntilIdle();
  }

  CLSID phoneClsid{};
  FakePhone phone;
  int created = 0;
  PhoneDialog dialog;
  std::unique_ptr<CWinApp> app;
  HWND hWnd = nullptr;
  INT_PTR result = -999;
};

TEST_F(ActiveXTest, TheSiteIsAChildWindowWithTheItemsIdPlaceAndZOrder) {
  RegisterPhone();
  Run();
  HWND site = GetDlgItem(hWnd, kPhoneId);
  ASSERT_NE(site, nullptr);
  WCHAR cls[64] = {};
  GetClassNameW(site, cls, 64);
  EXPECT_EQ(std::u16string(cls), u"AfxControlSite");
  auto children = sim::ChildWindows(hWnd);
  ASSERT_FALSE(children.empty());
  EXPECT_EQ(children.back(), site);  // created after the template's controls: under them
  RECT expected{5, 5, 25, 25};
  MapDialogRect(hWnd, &expected);
  auto info = sim::InspectWindow(site);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->rect.left, expected.left);
  EXPECT_EQ(info->rect.top, expected.top);
  EXPECT_EQ(info->rect.right, expected.right);
  EXPECT_EQ(info->rect.bottom, expected.bottom);
  EXPECT_EQ(created, 1);
  EXPECT_NE(phone.sink, nullptr);
  EXPECT_TRUE(phone.sinkAnsweredEventIid);
  EXPECT_EQ(dialog.m_phone.GetSafeHwnd(), site);
}

TEST_F(ActiveXTest, MethodsAreCalledByDispidWithTheArgumentsReversed) {
  RegisterPhone();
  phone.SetResult(1, MakeVariant(VT_BOOL, 1));
  phone.SetResult(23, MakeVariant(VT_I4, 5));
  phone.SetResult(24, MakeVariant(u"Handset 2"));
  Run();
  BOOL opened = FALSE;
  short model = 0;
  CString name;
  InProgram([&](PhoneDialog& d) {
    opened = d.m_phone.InvokeMethod<BOOL>(1, long{7}, short{3}, TRUE, CString(u"hi"));
    d.m_phone.InvokeMethod<void>(18, u"text");
    model = d.m_phone.InvokeMethod<short>(23);
    name = d.m_phone.InvokeMethod<CString>(24);
  });
  EXPECT_TRUE(opened);
  EXPECT_EQ(model, 5);
  EXPECT_TRUE(name == u"Handset 2");
  ASSERT_EQ(phone.calls.size(), 4u);
  const auto& call = phone.calls[0];
  EXPECT_EQ(call.dispid, 1);
  EXPECT_EQ(call.flags, DISPATCH_METHOD);
  ASSERT_EQ(call.args.size(), 4u);
  EXPECT_EQ(call.args[0].vt, VT_BSTR);
  EXPECT_EQ(std::u16string(call.args[0].bstrVal), u"hi");
  EXPECT_EQ(call.args[1].vt, VT_BOOL);
  EXPECT_EQ(call.args[1].boolVal, VARIANT_TRUE);
  EXPECT_EQ(call.args[2].vt, VT_I2);
  EXPECT_EQ(call.args[2].iVal, 3);
  EXPECT_EQ(call.args[3].vt, VT_I4);
  EXPECT_EQ(call.args[3].lVal, 7);
  EXPECT_EQ(phone.calls[1].dispid, 18);
  EXPECT_EQ(phone.calls[1].args[0].vt, VT_BSTR);
  EXPECT_TRUE(phone.calls[2].args.empty());
}

TEST_F(ActiveXTest, AFailedCallGivesTheZeroValue) {
  RegisterPhone();
  phone.SetResult(30, MakeVariant(u"not a number"));
  Run();
  short missing = -1, mismatched = -1;
  CString text(u"x");
  InProgram([&](PhoneDialog& d) {
    missing = d.m_phone.InvokeMethod<short>(99);
    mismatched = d.m_phone.InvokeMethod<short>(30);
    text = d.m_phone.InvokeMethod<CString>(99);
  });
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(mismatched, 0);
  EXPECT_TRUE(text.IsEmpty());
}

TEST_F(ActiveXTest, EventsReachTheBoundMembersWithConvertedArguments) {
  RegisterPhone();
  Run();
  EXPECT_EQ(phone.Fire(kKeyPressed, {MakeVariant(VT_I2, 5)}), S_OK);
  EXPECT_EQ(phone.Fire(kKeyPressed, {MakeVariant(VT_I4, 9)}), S_OK);  // converted to short
  EXPECT_EQ(dialog.keys, (std::vector<short>{5, 9}));

  EXPECT_EQ(phone.Fire(kIncomingCall, {MakeVariant(VT_I4, 2), MakeVariant(VT_BOOL, 1), MakeVariant(u"Bob")}),
            S_OK);
  EXPECT_EQ(phone.Fire(kIncomingCall, {MakeVariant(VT_I2, 3), MakeVariant(VT_I4, 0), MakeVariant(u"")}),
            S_OK);
  ASSERT_EQ(dialog.incoming.size(), 2u);
  EXPECT_EQ(std::get<0>(dialog.incoming[0]), 2);
  EXPECT_EQ(std::get<1>(dialog.incoming[0]), TRUE);
  EXPECT_TRUE(std::get<2>(dialog.incoming[0]) == u"Bob");
  EXPECT_EQ(std::get<0>(dialog.incoming[1]), 3);
  EXPECT_EQ(std::get<1>(dialog.incoming[1]), FALSE);
}

TEST_F(ActiveXTest, EventsThatCannotBeDeliveredAreRefusedWithoutCallingAMember) {
  RegisterPhone();
  Run();
  EXPECT_EQ(phone.Fire(kKeyPressed, {}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(phone.Fire(kKeyPressed, {MakeVariant(u"five")}), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(phone.Fire(77, {}), DISP_E_MEMBERNOTFOUND);
  EXPECT_TRUE(dialog.keys.empty());
  EXPECT_EQ(phone.Fire(kFailingEvent, {}), DISP_E_EXCEPTION);
  EXPECT_TRUE(debug.Contains(u"event handler failed"));
  EXPECT_TRUE(IsWindow(hWnd));
}

TEST_F(ActiveXTest, DestroyingTheDialogUnadvisesAndReleasesTheControl) {
  RegisterPhone();
  Run();
  EXPECT_GT(phone.refs, 0);
  Command(hWnd, IDOK);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(phone.sink, nullptr);
  EXPECT_EQ(phone.refs, 0);
  EXPECT_EQ(phone.Fire(kKeyPressed, {MakeVariant(VT_I2, 1)}), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(dialog.m_phone.GetSafeHwnd(), nullptr);
}

TEST_F(ActiveXTest, AControlThatCannotBeCreatedLeavesTheSiteAndZeroResults) {
  Run();  // the class is not registered
  HWND site = GetDlgItem(hWnd, kPhoneId);
  EXPECT_NE(site, nullptr);
  EXPECT_TRUE(debug.Contains(u"could not be created"));
  BOOL opened = TRUE;
  InProgram([&](PhoneDialog& d) {
    EXPECT_EQ(d.m_phone.GetControlDispatch(), nullptr);
    opened = d.m_phone.InvokeMethod<BOOL>(1, long{0});
  });
  EXPECT_EQ(opened, FALSE);
  Command(hWnd, IDOK);
  EXPECT_EQ(result, IDOK);
}

TEST_F(ActiveXTest, WithoutHostingActiveXItemsAreSkipped) {
  RegisterPhone();
  Run(/*hosting=*/false);
  EXPECT_EQ(GetDlgItem(hWnd, kPhoneId), nullptr);
  EXPECT_EQ(created, 0);
  short value = -1;
  InProgram([&](PhoneDialog& d) { value = d.m_phone.InvokeMethod<short>(23); });
  EXPECT_EQ(value, 0);
}

}  // namespace
}  // namespace framework_test
