// The system menu: made on the first GetSystemMenu call with the standard commands, reverted
// with bRevert, extended by the program, and chosen by the world as WM_SYSCOMMAND.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/menus.h>

#include "dialog_test_support.h"

namespace {

using dialog_test::DesktopTest;

std::vector<std::pair<UINT, WPARAM>>* g_commands = nullptr;

LRESULT CALLBACK SysOwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_SYSCOMMAND && g_commands) g_commands->emplace_back(m, w);
  return DefWindowProcW(h, m, w, l);
}

class SystemMenuTest : public DesktopTest {
 protected:
  std::vector<std::pair<UINT, WPARAM>> commands;
  HWND window = nullptr;

  void SetUp() override {
    DesktopTest::SetUp();
    g_commands = &commands;
  }
  void TearDown() override {
    g_commands = nullptr;
    DesktopTest::TearDown();
  }
  void StartWindow(DWORD style, std::function<void(HWND)> setup = {}) {
    StartApp([this, style, setup] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = SysOwnerProc;
      wc.lpszClassName = u"SysOwner";
      RegisterClassW(&wc);
      window = CreateWindowExW(0, u"SysOwner", u"Main", style | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                               nullptr, nullptr);
      if (setup) setup(window);
      return dialog_test::RunMessageLoop();
    });
  }
  std::vector<UINT> Ids(const std::vector<sim::MenuItemInfo>& items) {
    std::vector<UINT> out;
    for (auto& i : items) out.push_back(i.id);
    return out;
  }
};

TEST_F(SystemMenuTest, TheSystemMenuHasTheStandardCommandsInOrder) {
  HMENU menu = nullptr;
  StartWindow(WS_OVERLAPPEDWINDOW, [&](HWND h) { menu = GetSystemMenu(h, FALSE); });
  ASSERT_TRUE(IsMenu(menu));
  EXPECT_EQ(GetMenuItemCount(menu), 7);
  auto items = sim::InspectMenu(menu);
  EXPECT_EQ(Ids(items),
            (std::vector<UINT>{SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE}));
  EXPECT_TRUE(items[5].separator);
  EXPECT_TRUE(items[6].is_default);
  EXPECT_EQ(items[6].text, u"&Close\tAlt+F4");
  EXPECT_TRUE(items[0].grayed);   // Restore: the window is neither minimised nor maximised
  EXPECT_FALSE(items[3].grayed);  // Minimize
}

TEST_F(SystemMenuTest, TheSameMenuIsReturnedUntilItIsReverted) {
  HMENU first = nullptr, second = nullptr, reverted = reinterpret_cast<HMENU>(1), again = nullptr;
  StartWindow(WS_OVERLAPPEDWINDOW, [&](HWND h) {
    first = GetSystemMenu(h, FALSE);
    second = GetSystemMenu(h, FALSE);
    AppendMenuW(first, MF_STRING, 0x10, u"&About...");
    reverted = GetSystemMenu(h, TRUE);
    again = GetSystemMenu(h, FALSE);
  });
  EXPECT_EQ(first, second);
  EXPECT_EQ(reverted, nullptr);
  EXPECT_FALSE(IsMenu(first));
  EXPECT_EQ(GetMenuItemCount(again), 7);
}

TEST_F(SystemMenuTest, TheWorldChoosesAProgramsItemAsASysCommand) {
  StartWindow(WS_OVERLAPPEDWINDOW, [](HWND h) {
    HMENU menu = GetSystemMenu(h, FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 0x10, u"&About Tellbud...");
  });
  auto items = sim::SystemMenuItems(window);
  ASSERT_EQ(items.size(), 9u);
  EXPECT_EQ(items.back().id, 0x10u);
  ASSERT_TRUE(sim::ChooseSystemMenuItem(window, u"About Tellbud..."));
  desktop.RunUntilIdle();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].second, 0x10u);
}

TEST_F(SystemMenuTest, ChoosingCloseClosesTheWindow) {
  StartWindow(WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(sim::SystemMenuItems(window).size(), 7u);  // the standard menu, without a copy
  ASSERT_TRUE(sim::ChooseSystemMenuItem(window, SC_CLOSE));
  desktop.RunUntilIdle();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(SystemMenuTest, CommandsTheWindowCannotDoAreGrayedAndRefused) {
  StartWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU);
  auto items = sim::SystemMenuItems(window);
  EXPECT_TRUE(items[2].grayed);  // Size: no thick frame
  EXPECT_TRUE(items[4].grayed);  // Maximize: no maximize box
  EXPECT_FALSE(items[1].grayed);
  EXPECT_FALSE(sim::ChooseSystemMenuItem(window, SC_MAXIMIZE));
  EXPECT_TRUE(commands.empty());
}

TEST_F(SystemMenuTest, AWindowWithoutWsSysMenuHasNone) {
  StartWindow(WS_POPUP);
  EXPECT_TRUE(sim::SystemMenuItems(window).empty());
  EXPECT_FALSE(sim::ChooseSystemMenuItem(window, SC_CLOSE));
}

TEST_F(SystemMenuTest, AMenuBarIsSetAndReadBack) {
  HMENU bar = nullptr, read = nullptr;
  BOOL bad = TRUE;
  StartWindow(WS_OVERLAPPEDWINDOW, [&](HWND h) {
    bar = CreateMenu();
    SetMenu(h, bar);
    read = GetMenu(h);
    bad = SetMenu(h, reinterpret_cast<HMENU>(0x4444));
  });
  EXPECT_EQ(read, bar);
  EXPECT_FALSE(bad);
}

}  // namespace
