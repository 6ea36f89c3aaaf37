// Pop-up menus held open by TrackPopupMenu(Ex): the thread goes on with its messages while the
// world looks at the menu; a choice arrives as a posted WM_COMMAND or as the result.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>
#include <sim/menus.h>

#include "dialog_test_support.h"

namespace {

using dialog_test::DesktopTest;

struct OwnerLog {
  std::vector<MSG> commands;  // WM_COMMAND as received, posted or sent
  std::vector<UINT> menu_messages;
  int ticks = 0;
  std::function<void(HWND, UINT, WPARAM)> open_menu;  // runs the menu loop: never replaced while open
  std::function<void(HWND, UINT, WPARAM)> extra;      // what a test adds
};
OwnerLog* g_log = nullptr;

LRESULT CALLBACK MenuOwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (g_log) {
    if (m == WM_COMMAND || m == WM_SYSCOMMAND) g_log->commands.push_back(MSG{h, m, w, l, 0, {}});
    if (m == WM_INITMENU || m == WM_INITMENUPOPUP || m == WM_ENTERMENULOOP || m == WM_EXITMENULOOP)
      g_log->menu_messages.push_back(m);
    if (m == WM_TIMER) ++g_log->ticks;
    if (g_log->open_menu) g_log->open_menu(h, m, w);
    if (g_log->extra) g_log->extra(h, m, w);
  }
  return DefWindowProcW(h, m, w, l);
}

struct MenuObserver : sim::Observer {
  std::vector<std::pair<HMENU, HWND>> opened;
  std::vector<std::pair<HMENU, UINT>> closed;
  void OnPopupMenuOpened(HMENU menu, HWND owner) override { opened.emplace_back(menu, owner); }
  void OnPopupMenuClosed(HMENU menu, UINT id) override { closed.emplace_back(menu, id); }
};

class PopupMenuTest : public DesktopTest {
 protected:
  OwnerLog log;
  MenuObserver observer;
  HWND owner = nullptr;
  HMENU menu = nullptr;
  BOOL result = -7;
  bool returned = false;

  void SetUp() override {
    DesktopTest::SetUp();
    g_log = &log;
    desktop.AddObserver(&observer);
  }
  void TearDown() override {
    desktop.RemoveObserver(&observer);
    g_log = nullptr;
    DesktopTest::TearDown();
  }

  // The tray menu: Options (1), a separator, Audio > Speaker (11) / Microphone (12, grayed),
  // Exit (2). The application opens it from a posted WM_USER, as from a tray click.
  void StartWithMenu(UINT flags = TPM_RIGHTBUTTON) {
    StartApp([this, flags] {
      owner = dialog_test::CreateOwnerWindow(MenuOwnerProc);
      menu = CreatePopupMenu();
      HMENU audio = CreatePopupMenu();
      AppendMenuW(audio, MF_STRING, 11, u"&Speaker");
      AppendMenuW(audio, MF_STRING | MF_GRAYED, 12, u"&Microphone");
      AppendMenuW(menu, MF_STRING, 1, u"&Options...");
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(audio), u"&Audio");
      AppendMenuW(menu, MF_STRING, 2, u"E&xit");
      log.open_menu = [this, flags](HWND h, UINT m, WPARAM) {
        if (m != WM_USER) return;
        result = TrackPopupMenuEx(menu, flags, 100, 100, h, nullptr);
        returned = true;
      };
      return dialog_test::RunMessageLoop();
    });
    PostMessageW(owner, WM_USER, 0, 0);
    desktop.RunUntilIdle();
  }
};

TEST_F(PopupMenuTest, TheMenuStaysOpenUntilTheWorldChoosesAndTheCommandIsPosted) {
  StartWithMenu();
  EXPECT_FALSE(returned);
  auto open = sim::OpenPopupMenu();
  ASSERT_TRUE(open);
  EXPECT_EQ(open->menu, menu);
  EXPECT_EQ(open->owner, owner);
  ASSERT_EQ(open->items.size(), 4u);
  EXPECT_TRUE(open->items[1].separator);
  EXPECT_EQ(open->items[2].submenu_items.size(), 2u);
  EXPECT_EQ(observer.opened, (std::vector<std::pair<HMENU, HWND>>{{menu, owner}}));

  ASSERT_TRUE(sim::ChoosePopupMenuItem(u"Exit"));
  desktop.RunUntilIdle();
  EXPECT_TRUE(returned);
  EXPECT_EQ(result, TRUE);
  ASSERT_EQ(log.commands.size(), 1u);
  EXPECT_EQ(log.commands[0].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(log.commands[0].wParam, 2u);
  EXPECT_EQ(log.commands[0].lParam, 0);
  EXPECT_EQ(observer.closed, (std::vector<std::pair<HMENU, UINT>>{{menu, 2}}));
  EXPECT_FALSE(sim::OpenPopupMenu());
}

TEST_F(PopupMenuTest, TheOwnerIsToldAroundTheMenuLoop) {
  StartWithMenu();
  EXPECT_EQ(log.menu_messages, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP}));
  sim::DismissPopupMenu();
  desktop.RunUntilIdle();
  EXPECT_EQ(log.menu_messages.back(), static_cast<UINT>(WM_EXITMENULOOP));
}

TEST_F(PopupMenuTest, ReturnCmdGivesTheIdWithoutACommandMessage) {
  StartWithMenu(TPM_RETURNCMD | TPM_NONOTIFY);
  EXPECT_TRUE(log.menu_messages.empty());
  ASSERT_TRUE(sim::ChoosePopupMenuItem(1));
  desktop.RunUntilIdle();
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(log.commands.empty());
}

TEST_F(PopupMenuTest, DismissingReturnsFalseAndPostsNothing) {
  StartWithMenu();
  ASSERT_TRUE(sim::DismissPopupMenu());
  desktop.RunUntilIdle();
  EXPECT_TRUE(returned);
  EXPECT_EQ(result, FALSE);
  EXPECT_TRUE(log.commands.empty());
  EXPECT_EQ(observer.closed, (std::vector<std::pair<HMENU, UINT>>{{menu, 0}}));
  EXPECT_FALSE(sim::DismissPopupMenu());
}

TEST_F(PopupMenuTest, ItemsInsideSubMenusAreChosenByTheirTextWithoutMarkers) {
  StartWithMenu(TPM_RETURNCMD);
  ASSERT_TRUE(sim::ChoosePopupMenuItem(u"speaker"));
  desktop.RunUntilIdle();
  EXPECT_EQ(result, 11);
}

TEST_F(PopupMenuTest, GrayedItemsAndSeparatorsCannotBeChosen) {
  StartWithMenu();
  EXPECT_FALSE(sim::ChoosePopupMenuItem(u"&Microphone"));
  EXPECT_FALSE(sim::ChoosePopupMenuItem(0u));
  EXPECT_FALSE(sim::ChoosePopupMenuItem(u"Audio"));  // opens a sub-menu, no command
  desktop.RunUntilIdle();
  EXPECT_FALSE(returned);
  EXPECT_TRUE(sim::OpenPopupMenu());
}

TEST_F(PopupMenuTest, TimersKeepRunningWhileTheMenuIsOpen) {
  StartWithMenu();
  SendMessageW(owner, WM_NULL, 0, 0);
  PostMessageW(owner, WM_USER + 1, 0, 0);
  log.extra = [](HWND h, UINT m, WPARAM) {
    if (m == WM_USER + 1) SetTimer(h, 1, 100, nullptr);
  };
  desktop.AdvanceBy(1050);
  EXPECT_EQ(log.ticks, 10);
  EXPECT_FALSE(returned);
}

TEST_F(PopupMenuTest, OnlyOnePopupMenuIsOpenAtATime) {
  StartWithMenu();
  BOOL second = -1;
  DWORD error = 0;
  log.extra = [&](HWND h, UINT m, WPARAM) {
    if (m != WM_USER + 2) return;
    HMENU other = CreatePopupMenu();
    AppendMenuW(other, MF_STRING, 5, u"Other");
    second = TrackPopupMenuEx(other, 0, 0, 0, h, nullptr);
    error = GetLastError();
    DestroyMenu(other);
  };
  PostMessageW(owner, WM_USER + 2, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_EQ(second, FALSE);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
}

TEST_F(PopupMenuTest, EndMenuClosesItFromAHandler) {
  StartWithMenu();
  log.extra = [](HWND, UINT m, WPARAM) {
    if (m == WM_USER + 3) EndMenu();
  };
  PostMessageW(owner, WM_USER + 3, 0, 0);
  desktop.RunUntilIdle();
  EXPECT_TRUE(returned);
  EXPECT_EQ(result, FALSE);
}

TEST_F(PopupMenuTest, EscapeDismissesTheMenu) {
  StartWithMenu();
  SetForegroundWindow(owner);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(returned);
  EXPECT_EQ(result, FALSE);
}

TEST_F(PopupMenuTest, QuitDismissesTheMenuAndStaysForTheThreadsLoop) {
  StartWithMenu();
  PostThreadMessageW(GetWindowThreadProcessId(owner, nullptr), WM_QUIT, 4, 0);
  desktop.RunUntilIdle();
  EXPECT_TRUE(returned);
  EXPECT_EQ(result, FALSE);
  EXPECT_FALSE(desktop.IsProcessRunning(pid));
  EXPECT_EQ(desktop.ProcessExitCode(pid), 4);
}

TEST_F(PopupMenuTest, AMenuOfAProcessThatEndsIsClosedForTheNextOne) {
  StartWithMenu();
  desktop.EndProcess(pid, 1);
  desktop.RunUntilIdle();
  EXPECT_FALSE(sim::OpenPopupMenu());
  EXPECT_EQ(observer.closed.size(), 1u);
}

TEST_F(PopupMenuTest, BadMenusAndWindowsFail) {
  DWORD menu_error = 0, window_error = 0;
  BOOL bad_menu = -1, bad_window = -1;
  StartApp([&] {
    HWND h = dialog_test::CreateOwnerWindow(MenuOwnerProc);
    bad_menu = TrackPopupMenu(reinterpret_cast<HMENU>(0x4444), 0, 0, 0, 0, h, nullptr);
    menu_error = GetLastError();
    HMENU m = CreatePopupMenu();
    bad_window = TrackPopupMenu(m, 0, 0, 0, 0, reinterpret_cast<HWND>(0x4444), nullptr);
    window_error = GetLastError();
    return 0;
  });
  EXPECT_EQ(bad_menu, FALSE);
  EXPECT_EQ(menu_error, static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  EXPECT_EQ(bad_window, FALSE);
  EXPECT_EQ(window_error, static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

}  // namespace
