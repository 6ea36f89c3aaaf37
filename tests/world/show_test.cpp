// What `show` prints about Tellbud's main window: its title and visibility, and the contact
// list's rows with their online or offline pictures.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "res/resource.h"
#include "world/console/show.h"
#include "world/core/exe_folder.h"

namespace {

class ShowTest : public ::testing::Test {
 protected:
  world::TemporaryFolder folder;
  world::World world{folder.path()};
  HWND main = nullptr;

  // A process that plays Tellbud: an unowned dialog window holding a contact list with two rows
  // (online Bob, selected and marked; offline Eve) and a program icon set as the row pictures.
  void StartFakeTellbud(bool visible) {
    sim::ProcessInfo info{0, u"Tellbud.exe", world.ModulePath(), u"\"" + world.ModulePath() + u"\""};
    world.desktop().StartProcess(info, [this, visible] {
      main = CreateWindowExW(0, u"#32770", u"Tellbud", WS_POPUP | WS_CAPTION | (visible ? WS_VISIBLE : 0), 0,
                             0, 300, 200, nullptr, nullptr, nullptr, nullptr);
      HWND list = CreateWindowExW(0, WC_LISTVIEWW, u"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 200, 100,
                                  main, nullptr, nullptr, nullptr);
      HIMAGELIST images = ImageList_Create(16, 16, ILC_COLORDDB | ILC_MASK, 2, 1);
      ImageList_AddIcon(images, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ONLINE)));
      ImageList_AddIcon(images, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_OFFLINE)));
      SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
      for (int col = 0; col < 3; ++col) {
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        column.cx = 100;
        SendMessageW(list, LVM_INSERTCOLUMNW, col, reinterpret_cast<LPARAM>(&column));
      }
      const char16_t* rows[2][3] = {{u"Bob", u"12", u"bob@example.com"}, {u"Eve", u"", u"eve@example.com"}};
      for (int r = 0; r < 2; ++r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = r;
        item.iImage = r;
        item.pszText = const_cast<LPWSTR>(rows[r][0]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (int col = 1; col < 3; ++col) {
          LVITEMW sub{};
          sub.iSubItem = col;
          sub.pszText = const_cast<LPWSTR>(rows[r][col]);
          SendMessageW(list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&sub));
        }
      }
      LVITEMW state{};
      state.stateMask = state.state = LVIS_SELECTED;
      SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
      SendMessageW(list, LVM_SETSELECTIONMARK, 0, 0);
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
      return 0;
    });
    world.Settle();
  }
};

TEST_F(ShowTest, MainWindowRowsShowTheirColumnsAndPictures) {
  StartFakeTellbud(true);
  auto lines = console::DescribeWorld(world);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "main window: \"Tellbud\" visible");
  EXPECT_EQ(lines[1], "  row 1: \"Bob\" \"12\" \"bob@example.com\" online selected marked");
  EXPECT_EQ(lines[2], "  row 2: \"Eve\" \"\" \"eve@example.com\" offline");
}

TEST_F(ShowTest, HiddenMainWindowIsToldHidden) {
  StartFakeTellbud(false);
  EXPECT_EQ(console::DescribeWorld(world)[0], "main window: \"Tellbud\" hidden");
  EXPECT_EQ(world.TellbudMainWindow(), main);
}

TEST_F(ShowTest, CallStateIsUnknownUntilTheProgramTellsIt) {
  StartFakeTellbud(true);
  EXPECT_EQ(console::DescribeWorld(world).back(), "call state: unknown");
}

}  // namespace
