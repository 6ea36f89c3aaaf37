// The application object: AfxWinMain's run, the main window's end posting WM_QUIT, the
// application's title, and runs of the program one after another in the same process.
#include "framework_fixture.h"

#include <stdexcept>

namespace framework_test {
namespace {

constexpr UINT kDestroyYourself = WM_USER + 110;

class MainDialog : public CDialog {
 public:
  MainDialog() : CDialog(kChildDialog) {}
  bool postNcDestroyCalled = false;

 protected:
  BOOL OnMessage(UINT message, WPARAM, LPARAM, LRESULT*) override {
    if (message != kDestroyYourself) return FALSE;
    DestroyWindow();
    return TRUE;
  }
  void PostNcDestroy() override { postNcDestroyCalled = true; }
};

class TestApp : public CWinApp {
 public:
  enum class Mode { kFail, kModelessMainWindow, kModalMainWindow, kThrow };
  Mode mode = Mode::kFail;
  std::u16string appName;
  bool ranExitInstance = false;
  bool containerAtStart = true;
  CWnd* mainAtStart = reinterpret_cast<CWnd*>(1);
  MainDialog mainDialog;

  BOOL InitInstance() override {
    appName = AfxGetAppName();
    containerAtStart = AfxControlContainerEnabled();
    mainAtStart = AfxGetMainWnd();
    AfxEnableControlContainer();
    switch (mode) {
      case Mode::kFail:
        return FALSE;
      case Mode::kModelessMainWindow:
        mainDialog.Create(kChildDialog);
        m_pMainWnd = &mainDialog;
        mainDialog.ShowWindow(SW_SHOW);
        return TRUE;
      case Mode::kModalMainWindow:
        m_pMainWnd = &mainDialog;
        mainDialog.DoModal();
        return FALSE;
      case Mode::kThrow:
        throw std::runtime_error("start-up failed");
    }
    return FALSE;
  }
  int ExitInstance() override {
    ranExitInstance = true;
    return CWinApp::ExitInstance();
  }
};

class WinAppTest : public FrameworkTest {
 protected:
  void TearDown() override {
    if (HWND main = FindDialog(u"Child")) {
      PostMessageW(main, kDestroyYourself, 0, 0);
      desktop.RunUntilIdle();
    }
    FrameworkTest::TearDown();
  }
  int RunProgram() {
    return AfxWinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), SW_SHOWNORMAL);
  }
  TestApp app;
};

TEST_F(WinAppTest, FailingInitInstanceEndsAtOnceWithTheDefaultExitCode) {
  int code = -1;
  Start([&] {
    code = RunProgram();
    return code;
  });
  EXPECT_FALSE(Running());
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(app.ranExitInstance);
  EXPECT_EQ(app.appName, u"Tellbud");
}

TEST_F(WinAppTest, DestroyingTheMainWindowPostsQuitAndEndsTheMessageLoop) {
  app.mode = TestApp::Mode::kModelessMainWindow;
  Start([&] { return RunProgram(); });
  ASSERT_TRUE(Running());
  HWND main = FindDialog(u"Child");
  ASSERT_NE(main, nullptr);
  PostMessageW(main, kDestroyYourself, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_FALSE(IsWindow(main));
  EXPECT_TRUE(app.mainDialog.postNcDestroyCalled);
  EXPECT_FALSE(Running());
  EXPECT_EQ(ExitCode(), 0);
}

TEST_F(WinAppTest, TheModelessMainWindowGetsDialogKeys) {
  app.mode = TestApp::Mode::kModelessMainWindow;
  Start([&] { return RunProgram(); });
  ASSERT_EQ(GetForegroundWindow(), FindDialog(u"Child"));
  // Escape reaches the dialog through the message loop's IsDialogMessage, and OnCancel hides it.
  PressKey(VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(FindDialog(u"Child")));
  EXPECT_TRUE(Running());
}

TEST_F(WinAppTest, AModalMainWindowEndsTheProgramWhenItCloses) {
  app.mode = TestApp::Mode::kModalMainWindow;
  Start([&] { return RunProgram(); });
  Command(FindDialog(u"Child"), IDCANCEL);
  EXPECT_FALSE(Running());
  EXPECT_EQ(ExitCode(), 0);
}

TEST_F(WinAppTest, AnExceptionFromStartUpIsReportedAndEndsTheRun) {
  app.mode = TestApp::Mode::kThrow;
  Start([&] { return RunProgram(); });
  EXPECT_FALSE(Running());
  EXPECT_EQ(ExitCode(), -1);
  EXPECT_TRUE(debug.Contains(u"start-up failed"));
}

TEST_F(WinAppTest, ASecondRunInTheSameProcessStartsFresh) {
  app.mode = TestApp::Mode::kFail;
  Start([&] {
    RunProgram();
    app.m_pMainWnd = &app.mainDialog;  // left over by the first run
    RunProgram();
    return 0;
  });
  EXPECT_FALSE(app.containerAtStart);
  EXPECT_EQ(app.mainAtStart, nullptr);
}

}  // namespace
}  // namespace framework_test
