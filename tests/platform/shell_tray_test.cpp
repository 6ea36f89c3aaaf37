// The notification area: structure versions, errors, notifications and the user's mouse.
#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>

#include <sim/desktop.h>
#include <sim/tray.h>

#include <cstring>
#include <memory>
#include <vector>

#include "kernel_test_support.h"

namespace {

constexpr UINT kCallback = WM_APP + 1;

struct Posted {
  WPARAM wparam;
  LPARAM lparam;
};
std::vector<Posted>* g_posted = nullptr;

LRESULT CALLBACK TrayOwnerProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kCallback) g_posted->push_back({wparam, lparam});
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

class Recorder : public sim::Observer {
 public:
  std::vector<std::string> events;
  void OnTrayIconAdded(HWND, UINT id, HICON, const std::u16string& tip) override {
    events.push_back("added " + std::to_string(id) + " " + std::string(tip.begin(), tip.end()));
  }
  void OnTrayIconChanged(HWND, UINT id, UINT flags, HICON, const std::u16string&) override {
    events.push_back("changed " + std::to_string(id) + " flags " + std::to_string(flags));
  }
  void OnTrayIconRemoved(HWND, UINT id) override { events.push_back("removed " + std::to_string(id)); }
};

class TrayTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  std::vector<Posted> posted;
  Recorder recorder;
  HWND owner = nullptr;
  DWORD pid = 0;

  void SetUp() override {
    g_posted = &posted;
    desktop.AddObserver(&recorder);
    pid = kernel_test::RunProcess(desktop, u"tray.exe", [this] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = TrayOwnerProc;
      wc.lpszClassName = u"TrayOwner";
      RegisterClassW(&wc);
      owner = CreateWindowExW(0, u"TrayOwner", u"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      return 0;
    });
  }
  void TearDown() override { desktop.RemoveObserver(&recorder); }

  NOTIFYICONDATAW Data(UINT id, UINT flags, const std::u16string& tip = u"") {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = flags;
    data.uCallbackMessage = kCallback;
    data.hIcon = reinterpret_cast<HICON>(0x10100);
    std::copy(tip.begin(), tip.end(), data.szTip);
    return data;
  }
};

TEST_F(TrayTest, OnlyKnownStructureSizesAreAccepted) {
  EXPECT_EQ(NOTIFYICONDATAW_V2_SIZE, offsetof(NOTIFYICONDATAW, guidItem));
  EXPECT_EQ(NOTIFYICONDATAW_V3_SIZE, offsetof(NOTIFYICONDATAW, hBalloonIcon));
  EXPECT_EQ(NOTIFYICONDATAW_V1_SIZE, offsetof(NOTIFYICONDATAW, szTip) + 128);
  UINT id = 1;
  for (DWORD size :
       {static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE), static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE),
        static_cast<DWORD>(NOTIFYICONDATAW_V3_SIZE), static_cast<DWORD>(sizeof(NOTIFYICONDATAW))}) {
    auto data = Data(id++, NIF_MESSAGE);
    data.cbSize = size;
    EXPECT_TRUE(Shell_NotifyIconW(NIM_ADD, &data)) << size;
  }
  auto data = Data(9, NIF_MESSAGE);
  data.cbSize = sizeof data - 4;
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, nullptr));
  EXPECT_EQ(sim::TrayIcons().size(), 4u);
}

TEST_F(TrayTest, OldStructureIsReadNoFurtherThanItsSize) {
  // A version-1 caller's structure ends after a 64-character tip; an unterminated tip is cut.
  auto buffer = std::make_unique<BYTE[]>(NOTIFYICONDATAW_V1_SIZE);
  auto full = Data(1, NIF_TIP | NIF_MESSAGE, std::u16string(64, u'v'));
  full.cbSize = NOTIFYICONDATAW_V1_SIZE;
  std::memcpy(buffer.get(), &full, NOTIFYICONDATAW_V1_SIZE);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, reinterpret_cast<PNOTIFYICONDATAW>(buffer.get())));
  EXPECT_EQ(sim::FindTrayIcon(owner, 1)->tip, std::u16string(63, u'v'));
}

TEST_F(TrayTest, TipIsCutToTheSpaceOfTheCurrentStructure) {
  auto data = Data(1, NIF_TIP, std::u16string(128, u'x'));
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  EXPECT_EQ(sim::FindTrayIcon(owner, 1)->tip, std::u16string(127, u'x'));
}

TEST_F(TrayTest, AddModifyDeleteErrorsAndNotifications) {
  auto data = Data(7, NIF_ICON | NIF_TIP | NIF_MESSAGE, u"Idle");
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data));  // (owner, id) already there
  data.uFlags = NIF_TIP;
  std::memcpy(data.szTip, u"Ringing", 16);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &data));
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &data));  // no change, no notification
  auto missing = Data(8, NIF_TIP);
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &missing));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &missing));
  EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  EXPECT_TRUE(sim::TrayIcons().empty());
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"added 7 Idle", "changed 7 flags 4", "removed 7"}));
}

TEST_F(TrayTest, AddNeedsALiveOwnerWindow) {
  auto data = Data(1, NIF_MESSAGE);
  data.hWnd = reinterpret_cast<HWND>(0x4242);
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data));
}

TEST_F(TrayTest, DoubleClickPostsTheShellsMouseSequence) {
  auto data = Data(3, NIF_MESSAGE | NIF_ICON);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  ASSERT_TRUE(sim::DoubleClickTrayIcon(owner, 3));
  desktop.RunUntilIdle();
  ASSERT_EQ(posted.size(), 4u);
  LPARAM expected[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(posted[i].wparam, 3u);
    EXPECT_EQ(posted[i].lparam, expected[i]);
  }
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, sim::FindTrayIcon(owner, 3)->position.x);
}

TEST_F(TrayTest, RightClickPostsButtonDownAndUp) {
  auto data = Data(3, NIF_MESSAGE);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  ASSERT_TRUE(sim::RightClickTrayIcon(owner, 3));
  desktop.RunUntilIdle();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].lparam, WM_RBUTTONDOWN);
  EXPECT_EQ(posted[1].lparam, WM_RBUTTONUP);
  EXPECT_FALSE(sim::RightClickTrayIcon(owner, 4));
}

TEST_F(TrayTest, VersionFourPacksTheMessageAndIdIntoLParam) {
  auto data = Data(3, NIF_MESSAGE);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  data.uVersion = NOTIFYICON_VERSION_4;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_SETVERSION, &data));
  sim::RightClickTrayIcon(owner, 3);
  desktop.RunUntilIdle();
  ASSERT_EQ(posted.size(), 3u);
  EXPECT_EQ(LOWORD(posted[1].lparam), WM_RBUTTONUP);
  EXPECT_EQ(HIWORD(posted[1].lparam), 3);
  EXPECT_EQ(LOWORD(posted[2].lparam), WM_CONTEXTMENU);
}

TEST_F(TrayTest, IconOfAnEndedProcessStaysUntilTheWorldSweeps) {
  auto data = Data(5, NIF_MESSAGE);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  desktop.EndProcess(pid);
  desktop.RunUntilIdle();
  EXPECT_EQ(sim::TrayIcons().size(), 1u);
  EXPECT_EQ(sim::RemoveDeadTrayIcons(), 1u);
  EXPECT_TRUE(sim::TrayIcons().empty());
  EXPECT_EQ(recorder.events.back(), "removed 5");
}

}  // namespace
