// Synthetic keyboard input: where keybd_event's keys arrive and as which messages, with and
// without Alt, and while the active window is minimised.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/test_desktop.h"

#include <functional>
#include <vector>

namespace {

struct KeyMessage {
  HWND hwnd;
  UINT msg;
  WPARAM vk;
  bool alt_context;  // lParam bit 29
  bool operator==(const KeyMessage&) const = default;
};

std::vector<KeyMessage>* g_keys = nullptr;
const UINT WM_RUN = WM_APP + 1;  // lParam: a std::function<void()> to run on the window's thread

LRESULT CALLBACK KeyRecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      g_keys->push_back(KeyMessage{h, m, w, ((l >> 29) & 1) != 0});
      return 0;
    case WM_RUN:
      (*reinterpret_cast<std::function<void()>*>(l))();
      return 0;
    default:
      return DefWindowProcW(h, m, w, l);
  }
}

class KeyboardInputTest : public ::testing::Test {
 protected:
  platform_test::TestDesktop desktop;
  std::vector<KeyMessage> keys;
  HWND first = nullptr;
  HWND second = nullptr;

  void SetUp() override {
    g_keys = &keys;
    desktop.StartProgram(TEXT("keys.exe"), [this] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = KeyRecordingProc;
      wc.lpszClassName = TEXT("KeyRecorder");
      RegisterClassW(&wc);
      first = CreateWindowExW(0, TEXT("KeyRecorder"), TEXT("first"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              200, 200, nullptr, nullptr, nullptr, nullptr);
      second = CreateWindowExW(0, TEXT("KeyRecorder"), TEXT("second"), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                               40, 200, 200, nullptr, nullptr, nullptr, nullptr);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      return 0;
    });
    desktop.RunUntilIdle();
  }

  // Runs `f` on the windows' thread, where focus and activation are kept.
  void OnAppThread(std::function<void()> f) {
    SendMessageW(first, WM_RUN, 0, reinterpret_cast<LPARAM>(&f));
    desktop.RunUntilIdle();
  }
  HWND AppFocus() {
    HWND focus = nullptr;
    OnAppThread([&] { focus = GetFocus(); });
    return focus;
  }
  void Type(std::initializer_list<std::pair<BYTE, bool>> events) {
    for (auto [vk, up] : events) keybd_event(vk, 0, up ? KEYEVENTF_KEYUP : 0, 0);
    desktop.RunUntilIdle();
  }
};

TEST_F(KeyboardInputTest, APlainKeyArrivesAtTheFocusWindowAsKeyDownAndUp) {
  OnAppThread([&] { SetForegroundWindow(first); });
  ASSERT_EQ(AppFocus(), first);
  Type({{'X', false}, {'X', true}});
  EXPECT_EQ(keys, (std::vector<KeyMessage>{{first, WM_KEYDOWN, 'X', false}, {first, WM_KEYUP, 'X', false}}));
}

TEST_F(KeyboardInputTest, AltWithALetterArrivesAsSystemKeysWithTheAltContext) {
  OnAppThread([&] { SetForegroundWindow(second); });
  Type({{VK_MENU, false}, {'C', false}, {'C', true}, {VK_MENU, true}});
  SKIP_ON_WINE(
      "the release of Alt after Alt+C is left open by WM_SYSKEYUP's and WM_KEYUP's documentation; Wine posts "
      "WM_KEYUP without the Alt context");
  EXPECT_EQ(keys, (std::vector<KeyMessage>{{second, WM_SYSKEYDOWN, VK_MENU, true},
                                           {second, WM_SYSKEYDOWN, 'C', true},
                                           {second, WM_SYSKEYUP, 'C', true},
                                           {second, WM_SYSKEYUP, VK_MENU, true}}));
}

TEST_F(KeyboardInputTest, ActivatingAMinimizedWindowLeavesNoWindowWithTheFocus) {
  OnAppThread([&] {
    SetForegroundWindow(second);
    ShowWindow(second, SW_SHOWMINNOACTIVE);
    SetForegroundWindow(first);
  });
  ASSERT_EQ(AppFocus(), first);
  SKIP_ON_WINE(
      "SW_SHOW documents activating the minimised window, which DefWindowProc then leaves without the focus; "
      "Wine keeps the focus where it was");
  OnAppThread([&] { ShowWindow(second, SW_SHOW); });  // activates it, still minimised
  EXPECT_EQ(AppFocus(), nullptr);
  // Keys then go to the active window as system keys, without the Alt context.
  Type({{'X', false}, {'X', true}});
  EXPECT_EQ(keys, (std::vector<KeyMessage>{{second, WM_SYSKEYDOWN, 'X', false},
                                           {second, WM_SYSKEYUP, 'X', false}}));
}

TEST_F(KeyboardInputTest, RestoringTheActiveMinimizedWindowGivesItTheFocus) {
  OnAppThread([&] {
    ShowWindow(second, SW_SHOWMINNOACTIVE);
    SetForegroundWindow(first);
    ShowWindow(second, SW_SHOW);
  });
  SKIP_ON_WINE(
      "SW_SHOW documents activating the minimised window, which DefWindowProc then leaves without the focus; "
      "Wine keeps the focus where it was");
  ASSERT_EQ(AppFocus(), nullptr);
  OnAppThread([&] { OpenIcon(second); });
  EXPECT_EQ(AppFocus(), second);
  Type({{VK_MENU, false}, {'C', false}});
  EXPECT_EQ(keys, (std::vector<KeyMessage>{{second, WM_SYSKEYDOWN, VK_MENU, true},
                                           {second, WM_SYSKEYDOWN, 'C', true}}));
  Type({{'C', true}, {VK_MENU, true}});
}

}  // namespace

namespace {

TEST_F(KeyboardInputTest, AThreadWhoseWindowLosesTheForegroundToAnotherThreadHasNoActiveWindow) {
  HWND other = nullptr;
  desktop.StartProgram(TEXT("other.exe"), [&] {
    other = CreateWindowExW(0, TEXT("Static"), TEXT("other"), WS_POPUP | WS_CAPTION, 0, 0, 100, 100, nullptr,
                            nullptr, nullptr, nullptr);
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
  });
  desktop.RunUntilIdle();
  EXPECT_EQ(GetForegroundWindow(), other);
  HWND active = first, focus = first;
  OnAppThread([&] {
    active = GetActiveWindow();
    focus = GetFocus();
  });
  EXPECT_EQ(active, nullptr);
  EXPECT_EQ(focus, nullptr);
  // Keys now go to the other thread's window, none to ours.
  keys.clear();
  Type({{'A', false}, {'A', true}});
  EXPECT_TRUE(keys.empty());
}

}  // namespace
