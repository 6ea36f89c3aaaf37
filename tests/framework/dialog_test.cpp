// CDialog's modal run: how it ends (EndDialog, OK, Cancel, Enter, Escape, WM_CLOSE, WM_QUIT),
// what happens to the owner, nested runs, handler dispatch and exceptions in handlers.
#include "framework_fixture.h"

#include <sim/controls.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace framework_test {
namespace {

constexpr UINT kEndWith42 = 1006;
constexpr UINT kThrowingCommand = 1007;
constexpr UINT kDoubleIt = WM_USER + 100;
constexpr UINT kThrow = WM_USER + 101;
constexpr UINT kQuit = WM_USER + 102;
constexpr UINT kOpenChild = WM_USER + 103;

class TestDialog : public CDialog {
 public:
  explicit TestDialog(UINT id, CWnd* parent = nullptr) : CDialog(id, parent) {}

  std::vector<std::string> events;
  std::vector<UINT_PTR> ticks;
  std::function<void(TestDialog&)> onInit;
  INT_PTR childResult = 0;
  bool parentDisabledDuringChild = false;

 protected:
  BOOL OnInitDialog() override {
    events.push_back("init");
    if (onInit) onInit(*this);
    return TRUE;
  }
  void OnDestroy() override {
    events.push_back("destroy");
    CDialog::OnDestroy();
  }
  void OnTimer(UINT_PTR id) override { ticks.push_back(id); }
  BOOL OnCommandId(UINT id, UINT, HWND) override {
    if (id == kEndWith42) {
      EndDialog(42);
      return TRUE;
    }
    if (id == kThrowingCommand) throw std::runtime_error("command failed");
    return FALSE;
  }
  HCURSOR OnQueryDragIcon() override { return reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(0x1234)); }
  BOOL OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult) override {
    switch (message) {
      case kDoubleIt:
        *pResult = static_cast<LRESULT>(wParam * 2);
        return TRUE;
      case kThrow:
        throw std::runtime_error("boom");
      case kQuit:
        PostQuitMessage(static_cast<int>(wParam));
        return TRUE;
      case kOpenChild: {
        TestDialog child(kChildDialog, this);
        childResult = child.DoModal();
        return TRUE;
      }
      default:
        return FALSE;
    }
  }
};

class DialogTest : public FrameworkTest {
 protected:
  // Runs `dialog` modally in the program; the result is in `result` once the run ends.
  void RunModal(TestDialog& dialog) {
    Start([this, &dialog] {
      result = dialog.DoModal();
      dialog.events.push_back("returned");
      return 0;
    });
  }

  INT_PTR result = -999;
};

TEST_F(DialogTest, DoModalReturnsTheEndDialogResultAfterTheWindowIsDestroyed) {
  TestDialog dialog(kParentDialog);
  RunModal(dialog);
  HWND hWnd = FindDialog(u"Main");
  ASSERT_NE(hWnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(hWnd));
  Command(hWnd, kEndWith42);
  EXPECT_EQ(result, 42);
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"init", "destroy", "returned"}));
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, OkAndCancelButtonsEndWithTheirIds) {
  TestDialog ok(kParentDialog);
  RunModal(ok);
  sim::ClickButton(FindDialog(u"Main"), u"OK");
  desktop.RunUntilIdle();
  EXPECT_EQ(result, IDOK);

  TestDialog cancel(kParentDialog);
  RunModal(cancel);
  sim::ClickButton(FindDialog(u"Main"), u"Cancel");
  desktop.RunUntilIdle();
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndEscapeCancels) {
  TestDialog enter(kChildDialog);
  RunModal(enter);
  ASSERT_EQ(GetForegroundWindow(), FindDialog(u"Child"));
  PressKey(VK_RETURN);
  EXPECT_EQ(result, IDOK);

  TestDialog escape(kChildDialog);
  RunModal(escape);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogTest, ClosingTheWindowCancels) {
  TestDialog dialog(kChildDialog);
  RunModal(dialog);
  PostMessageW(FindDialog(u"Child"), WM_CLOSE, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogTest, EndDialogDuringInitialisationEndsBeforeTheDialogIsShown) {
  struct ShownRecorder : sim::Observer {
    int shown = 0;
    void OnWindowShown(HWND) override { ++shown; }
  } recorder;
  desktop.AddObserver(&recorder);
  TestDialog dialog(kChildDialog);
  dialog.onInit = [](TestDialog& d) { d.EndDialog(7); };
  RunModal(dialog);
  desktop.RemoveObserver(&recorder);
  EXPECT_EQ(result, 7);
  EXPECT_EQ(recorder.shown, 0);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"init", "destroy", "returned"}));
}

TEST_F(DialogTest, QuitMessageEndsTheRunWithMinusOneAndIsPostedAgain) {
  TestDialog dialog(kChildDialog);
  MSG after{};
  BOOL got = -2;
  Start([&] {
    result = dialog.DoModal();
    got = GetMessageW(&after, nullptr, 0, 0);
    return 0;
  });
  PostMessageW(FindDialog(u"Child"), kQuit, 5, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(result, -1);
  EXPECT_EQ(got, FALSE);
  EXPECT_EQ(after.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(after.wParam, 5u);
  EXPECT_FALSE(Running());
}

TEST_F(DialogTest, TheOwnerIsDisabledDuringTheRunAndActiveAfterIt) {
  TestDialog parent(kParentDialog);
  parent.onInit = [](TestDialog& d) { d.SetTimer(1, 100, nullptr); };
  RunModal(parent);
  HWND parentWnd = FindDialog(u"Main");
  PostMessageW(parentWnd, kOpenChild, 0, 0);
  desktop.RunUntilIdle();
  HWND childWnd = FindDialog(u"Child");
  ASSERT_NE(childWnd, nullptr);
  EXPECT_FALSE(IsWindowEnabled(parentWnd));
  EXPECT_EQ(GetWindow(childWnd, GW_OWNER), parentWnd);

  // The parent's timer keeps ticking while the nested run waits.
  desktop.AdvanceBy(1000);
  EXPECT_EQ(parent.ticks.size(), 10u);

  Command(childWnd, IDOK);
  EXPECT_EQ(parent.childResult, IDOK);
  EXPECT_FALSE(IsWindow(childWnd));
  EXPECT_TRUE(IsWindowEnabled(parentWnd));
  EXPECT_EQ(GetForegroundWindow(), parentWnd);
  EXPECT_TRUE(IsWindow(parentWnd));
  Command(parentWnd, IDCANCEL);
  EXPECT_EQ(result, IDCANCEL);
}

// Another program's window on screen is where the system sends the activation when the ending
// dialog hides while its owner is still disabled; from there the owner cannot win it back.
TEST_F(DialogTest, TheOwnerIsActiveAfterTheRunWithAnotherProgramsWindowOnScreen) {
  TestDialog parent(kParentDialog);
  RunModal(parent);
  HWND parentWnd = FindDialog(u"Main");
  PostMessageW(parentWnd, kOpenChild, 0, 0);
  desktop.RunUntilIdle();
  HWND childWnd = FindDialog(u"Child");
  ASSERT_EQ(GetForegroundWindow(), childWnd);
  desktop.StartProcess(sim::ProcessInfo{0, u"other.exe", u"C:\\other.exe", u"other.exe"}, [] {
    CreateWindowExW(0, u"Static", u"other", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                    nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
  });
  desktop.RunUntilIdle();
  ASSERT_EQ(GetForegroundWindow(), childWnd);

  Command(childWnd, IDOK);
  EXPECT_EQ(parent.childResult, IDOK);
  EXPECT_EQ(GetForegroundWindow(), parentWnd);
}

TEST_F(DialogTest, QuitInsideANestedRunEndsEveryRun) {
  TestDialog parent(kParentDialog);
  RunModal(parent);
  PostMessageW(FindDialog(u"Main"), kOpenChild, 0, 0);
  desktop.RunUntilIdle();
  PostMessageW(FindDialog(u"Child"), kQuit, 3, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(parent.childResult, -1);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(ExitCode(), 0);
}

TEST_F(DialogTest, AMissingTemplateFailsWithoutTouchingTheOwner) {
  TestDialog parent(kParentDialog);
  INT_PTR missing = 0;
  parent.onInit = [&](TestDialog& d) {
    TestDialog none(kMissingDialog, &d);
    missing = none.DoModal();
  };
  RunModal(parent);
  EXPECT_EQ(missing, -1);
  EXPECT_TRUE(IsWindowEnabled(FindDialog(u"Main")));
}

TEST_F(DialogTest, MessageHookResultsReachTheSender) {
  TestDialog dialog(kChildDialog);
  RunModal(dialog);
  HWND hWnd = FindDialog(u"Child");
  EXPECT_EQ(SendMessageW(hWnd, kDoubleIt, 21, 0), 42);
  EXPECT_EQ(SendMessageW(hWnd, WM_QUERYDRAGICON, 0, 0), 0x1234);
}

TEST_F(DialogTest, AnExceptionInAHandlerIsReportedAndTheDialogGoesOn) {
  TestDialog dialog(kChildDialog);
  RunModal(dialog);
  HWND hWnd = FindDialog(u"Child");
  EXPECT_EQ(SendMessageW(hWnd, kThrow, 0, 0), 0);
  EXPECT_TRUE(debug.Contains(u"boom"));
  Command(hWnd, kThrowingCommand);
  EXPECT_TRUE(debug.Contains(u"command failed"));
  EXPECT_TRUE(IsWindow(hWnd));
  EXPECT_EQ(SendMessageW(hWnd, kDoubleIt, 4, 0), 8);
  Command(hWnd, IDOK);
  EXPECT_EQ(result, IDOK);
}

}  // namespace
}  // namespace framework_test
