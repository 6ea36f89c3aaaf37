// Which window the system activates when the active window is hidden: its owner when the owner
// can take the activation, otherwise the next visible, enabled top-level window in z-order. A
// disabled owner (a modal dialog's, before the dialog manager enables it again) is passed over,
// and a window of another process that got the activation keeps the foreground.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/test_desktop.h"

#include <functional>
#include <vector>

namespace {

const UINT WM_RUN = WM_APP + 1;  // lParam: a std::function<void()> to run on the window's thread

// The windows told that they became active (WM_ACTIVATE other than WA_INACTIVE), in order.
std::vector<HWND> g_activated;

LRESULT CALLBACK RunnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ACTIVATE && LOWORD(w) != WA_INACTIVE) g_activated.push_back(h);
  if (m == WM_RUN) {
    (*reinterpret_cast<std::function<void()>*>(l))();
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

HWND CreateTopLevel(LPCWSTR title, HWND owner) {
  return CreateWindowExW(0, TEXT("Runner"), title, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 200, 200, owner,
                         nullptr, nullptr, nullptr);
}

void RunLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
}

// An application with a main window, an unrelated window above it and a dialog owned by the main
// window on top, the dialog active.
class ActivationHideTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
  HWND owner = nullptr;
  HWND bystander = nullptr;
  HWND dialog = nullptr;

  void SetUp() override {
    desktop.StartProgram(TEXT("app.exe"), [this] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = RunnerProc;
      wc.lpszClassName = TEXT("Runner");
      RegisterClassW(&wc);
      owner = CreateTopLevel(TEXT("owner"), nullptr);
      bystander = CreateTopLevel(TEXT("bystander"), nullptr);
      dialog = CreateTopLevel(TEXT("dialog"), owner);
      SetForegroundWindow(dialog);
      RunLoop();
      return 0;
    });
    desktop.RunUntilIdle();
    ASSERT_EQ(GetForegroundWindow(), dialog);
  }

  void OnAppThread(std::function<void()> f) {
    SendMessageW(owner, WM_RUN, 0, reinterpret_cast<LPARAM>(&f));
    desktop.RunUntilIdle();
  }
};

TEST_F(ActivationHideTest, HidingTheActiveWindowActivatesItsOwnerBeforeWindowsAboveTheOwner) {
  OnAppThread([&] { ShowWindow(dialog, SW_HIDE); });
  EXPECT_EQ(GetForegroundWindow(), owner);
  HWND active = nullptr;
  OnAppThread([&] { active = GetActiveWindow(); });
  EXPECT_EQ(active, owner);
}

// The owner is told that it is active, so that its default handling gives it back the keyboard
// focus (a dialog restores its saved control): hiding the dialog alone is enough.
TEST_F(ActivationHideTest, TheOwnerActivatedByTheHidingGetsWmActivateAndTheFocus) {
  HWND focus = nullptr;
  OnAppThread([&] {
    g_activated.clear();
    ShowWindow(dialog, SW_HIDE);
    focus = GetFocus();
  });
  EXPECT_EQ(g_activated, std::vector<HWND>{owner});
  EXPECT_EQ(focus, owner);

  // Destroying the active dialog does the same.
  OnAppThread([&] {
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    g_activated.clear();
    DestroyWindow(dialog);
    focus = GetFocus();
  });
  EXPECT_EQ(g_activated, std::vector<HWND>{owner});
  EXPECT_EQ(focus, owner);
}

TEST_F(ActivationHideTest, ADisabledOwnerIsPassedOverForAnotherTopLevelWindow) {
  OnAppThread([&] {
    EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_HIDE);
  });
  EXPECT_EQ(GetForegroundWindow(), bystander);

  // Destroying a dialog follows the same rule.
  OnAppThread([&] {
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    EnableWindow(owner, TRUE);
    DestroyWindow(dialog);
  });
  EXPECT_EQ(GetForegroundWindow(), owner);
}

TEST_F(ActivationHideTest, AnotherProcessThatGotTheActivationKeepsTheForeground) {
  HWND other = nullptr;
  desktop.StartProgram(TEXT("other.exe"), [&] {
    other = CreateWindowExW(0, TEXT("Static"), TEXT("other"), WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 100,
                            100, nullptr, nullptr, nullptr, nullptr);
    RunLoop();
    return 0;
  });
  desktop.RunUntilIdle();
  OnAppThread([&] {
    SetForegroundWindow(dialog);
    ShowWindow(bystander, SW_HIDE);
  });
  ASSERT_EQ(GetForegroundWindow(), dialog);
  OnAppThread([&] {
    EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_HIDE);
    // Enabled too late: the owner's own activation no longer brings it to the foreground.
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  });
  EXPECT_EQ(GetForegroundWindow(), other);
}

}  // namespace
