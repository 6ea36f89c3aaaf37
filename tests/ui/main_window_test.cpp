// The main window: what it opens with, how it hides and comes back, its system menu and About
// box, its painting and sizing, and how it ends the program.
#include "ui_fixture.h"

#include <commctrl.h>

#include <sim/controls.h>
#include <sim/dialogs.h>
#include <sim/icons.h>
#include <sim/paint.h>

#include "res/resource.h"

namespace {

class MainWindowTest : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    Run("start");
    ASSERT_NE(MainWindow(), nullptr);
  }
  HWND List() { return *world.TellbudContactList(); }
  static WORD IconResourceId(HICON icon) {
    auto description = sim::DescribeIcon(icon);
    return description && description->origin == sim::IconDescription::Origin::kResource
               ? description->resource_id
               : 0;
  }
  static RECT ClientRect(HWND hwnd) {
    RECT rect{};
    GetClientRect(hwnd, &rect);
    return rect;
  }
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(MainWindowTest, OpensVisibleWithItsFrameIconsAndAnEmptyListOfThreeColumns) {
  auto window = sim::InspectWindow(MainWindow());
  ASSERT_TRUE(window);
  EXPECT_EQ(window->title, u"Tellbud<1.0>");
  EXPECT_TRUE(window->visible);
  const DWORD frame = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
  EXPECT_EQ(window->style & frame, frame);
  EXPECT_EQ(window->style & WS_MINIMIZEBOX, 0u);
  EXPECT_TRUE(window->ex_style & WS_EX_APPWINDOW);
  EXPECT_EQ(IconResourceId(reinterpret_cast<HICON>(SendMessageW(MainWindow(), WM_GETICON, ICON_BIG, 0))),
            IDR_MAINFRAME);
  EXPECT_EQ(IconResourceId(reinterpret_cast<HICON>(SendMessageW(MainWindow(), WM_GETICON, ICON_SMALL, 0))),
            IDR_MAINFRAME);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(MainWindow(), WM_QUERYDRAGICON, 0, 0)), Dialog()->m_hIcon);

  auto list = sim::InspectListView(List());
  ASSERT_TRUE(list);
  ASSERT_EQ(list->columns.size(), 3u);
  const std::pair<std::u16string, int> columns[] = {
      {u"FriendlyName", 240}, {u"SpeedNumber", 120}, {u"SigninName", 200}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(list->columns[i].title, columns[i].first);
    EXPECT_EQ(list->columns[i].width, columns[i].second);
  }
  EXPECT_TRUE(list->rows.empty());
  EXPECT_EQ(list->extended_style & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
            static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
  auto images = sim::ImageListIcons(list->small_images);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(IconResourceId(images[0]), IDI_ONLINE);
  EXPECT_EQ(IconResourceId(images[1]), IDI_OFFLINE);

  for (int button : {IDOK, IDCANCEL}) {
    auto info = sim::InspectWindow(sim::FindControl(MainWindow(), button));
    ASSERT_TRUE(info);
    EXPECT_FALSE(info->visible) << "button " << button << " exists only as a key";
  }
}

TEST_F(MainWindowTest, ClosingEnterAndEscapeOnlyHideTheWindowWhileTheProgramGoesOn) {
  for (const char* hide : {"window close", "key enter", "key escape"}) {
    SCOPED_TRACE(hide);
    Run(hide);
    EXPECT_FALSE(MainWindowVisible());
    EXPECT_TRUE(TrayIcon().has_value());
    Forget();
    Run("wait 2s");
    EXPECT_PRINTED("handset OpenDevice(0)") << "the monitor runs on while hidden";
    Run("tray dblclick");
    EXPECT_TRUE(MainWindowVisible());
    EXPECT_EQ(GetForegroundWindow(), MainWindow());
  }
  // The system menu's Close does the same.
  ASSERT_TRUE(sim::ChooseSystemMenuItem(MainWindow(), SC_CLOSE));
  world.Settle();
  EXPECT_FALSE(MainWindowVisible());
  EXPECT_EQ(world.RunningTellbuds().size(), 1u);
}

TEST_F(MainWindowTest, TrayRightClickShowsTheHiddenWindowBeforeTheMenuOpens) {
  Run("window close");
  Forget();
  Run("tray rclick");
  EXPECT_TRUE(MainWindowVisible());
  EXPECT_EQ(GetForegroundWindow(), MainWindow());
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
  EXPECT_PRINTED(
      "menu open \"AutoRun\", \"SelectLanguage\", \"SetAudio\", \"Option\", \"About\", -, \"Exit\"");
  auto menu = sim::OpenPopupMenu();
  ASSERT_TRUE(menu);
  EXPECT_EQ(menu->owner, MainWindow());
  Run("menu none");
  EXPECT_TRUE(MainWindowVisible());
}

TEST_F(MainWindowTest, TrayMessagesOfAnotherIconOrOtherMouseMessagesDoNothing) {
  Run("window close");
  EXPECT_EQ(SendMessageW(MainWindow(), WM_TRAYNOTIFY, IDR_MAINFRAME + 1, WM_RBUTTONDOWN), -1);
  EXPECT_EQ(SendMessageW(MainWindow(), WM_TRAYNOTIFY, IDR_MAINFRAME + 1, WM_LBUTTONDBLCLK), -1);
  for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE, WM_CONTEXTMENU})
    EXPECT_EQ(SendMessageW(MainWindow(), WM_TRAYNOTIFY, IDR_MAINFRAME, mouse), 1);
  world.Settle();
  EXPECT_FALSE(MainWindowVisible());
  EXPECT_FALSE(sim::OpenPopupMenu());
}

TEST_F(MainWindowTest, SystemMenuEndsWithAboutWhichOpensTheAboutBoxWhileTimersRunOn) {
  auto items = sim::SystemMenuItems(MainWindow());
  ASSERT_GE(items.size(), 2u);
  EXPECT_TRUE(items[items.size() - 2].separator);
  EXPECT_EQ(items.back().text, u"About Tellbud...");
  EXPECT_EQ(items.back().id, static_cast<UINT>(IDM_ABOUTBOX));

  ASSERT_TRUE(sim::ChooseSystemMenuItem(MainWindow(), u"About Tellbud..."));
  world.Settle();
  auto about = sim::FindDialog(u"About Tellbud");
  ASSERT_TRUE(about);
  EXPECT_EQ(about->owner, MainWindow());
  EXPECT_NE(
      std::find(about->static_texts.begin(), about->static_texts.end(), u"Tellbud Version 1.0.0.2 beta"),
      about->static_texts.end());
  auto icon = sim::InspectControl(sim::FindControl(about->hwnd, IDC_STATIC_ICON));
  ASSERT_TRUE(icon);

  Forget();
  Run("wait 2s");
  EXPECT_PRINTED("handset OpenDevice(0)");
  Run("button \"About Tellbud\" OK");
  EXPECT_FALSE(sim::FindDialog(u"About Tellbud"));
  EXPECT_EQ(world.RunningTellbuds().size(), 1u);
}

TEST_F(MainWindowTest, TrayMenuAboutOpensTheSameAboutBox) {
  RunAll({"tray rclick", "menu About"});
  ASSERT_TRUE(sim::FindDialog(u"About Tellbud"));
  Run("button \"About Tellbud\" OK");
  EXPECT_FALSE(sim::FindDialog(u"About Tellbud"));
}

// A second dialog of a kind would write its stale choice back when its OK came last.
TEST_F(MainWindowTest, ATrayMenuDialogThatIsOpenIsBroughtForwardInsteadOfOpeningTwice) {
  auto count = [](const std::u16string& title) {
    int n = 0;
    for (const sim::DialogInfo& dialog : sim::OpenDialogs()) n += dialog.title == title;
    return n;
  };
  RunAll({"tray rclick", "menu SelectLanguage", "tray rclick", "menu About", "tray rclick",
          "menu SelectLanguage", "tray rclick", "menu About"});
  EXPECT_EQ(count(u"Select language"), 1) << Transcript();
  EXPECT_EQ(count(u"About Tellbud"), 1) << Transcript();
  RunAll({"tray rclick", "menu SelectLanguage"});
  auto language = sim::FindDialog(u"Select language");
  ASSERT_TRUE(language);
  EXPECT_EQ(GetForegroundWindow(), language->hwnd);
  RunAll({"button \"About Tellbud\" OK", "button \"Select language\" Cancel", "tray rclick", "menu About"});
  EXPECT_EQ(count(u"About Tellbud"), 1) << "a dialog closed can be opened again";
}

TEST_F(MainWindowTest, OtherSystemCommandsKeepTheirUsualMeaning) {
  ASSERT_TRUE(sim::ChooseSystemMenuItem(MainWindow(), SC_MAXIMIZE));
  world.Settle();
  EXPECT_TRUE(IsZoomed(MainWindow()));
  EXPECT_TRUE(SameRect(sim::InspectWindow(List())->rect, ClientRect(MainWindow())));
}

TEST_F(MainWindowTest, ExitFromTheTrayMenuEndsTheProgramThroughItsTearDown) {
  RunAll({"handset plug", "wait 1s"});
  const DWORD pid = world.RunningTellbuds().at(0);
  RunAll({"tray rclick", "menu Exit"});
  EXPECT_PRINTED("handset CloseDevice()");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" destroyed");
  EXPECT_PRINTED("tray remove");
  EXPECT_PRINTED("process Tellbud.exe ended (exit code 0)");
  EXPECT_FALSE(world.desktop().IsProcessRunning(pid));
  EXPECT_TRUE(sim::TrayIcons().empty());
}

TEST_F(MainWindowTest, ProgramEndsCleanlyWhileTheAboutBoxIsOpen) {
  for (const char* end : {"menu Exit", "start *exit*"}) {
    SCOPED_TRACE(end);
    RunAll({"tray rclick", "menu About"});
    ASSERT_TRUE(sim::FindDialog(u"About Tellbud"));
    if (std::string(end) == "menu Exit") Run("tray rclick");
    Run(end);
    EXPECT_PRINTED("window \"About Tellbud\" destroyed");
    EXPECT_PRINTED("tray remove");
    EXPECT_PRINTED("process Tellbud.exe ended (exit code 0)");
    EXPECT_TRUE(world.RunningTellbuds().empty());
    Run("start");
  }
}

TEST_F(MainWindowTest, MinimisedWindowPaintsOnlyTheCentredProgramIcon) {
  ShowWindow(MainWindow(), SW_MINIMIZE);
  world.Settle();
  ASSERT_TRUE(IsIconic(MainWindow()));
  InvalidateRect(MainWindow(), nullptr, TRUE);
  UpdateWindow(MainWindow());
  world.Settle();

  auto paint = sim::LastPaint(MainWindow());
  ASSERT_EQ(paint.size(), 1u);
  EXPECT_EQ(paint[0].kind, sim::PaintOp::kIcon);
  EXPECT_EQ(paint[0].icon, Dialog()->m_hIcon);
  const RECT client = ClientRect(MainWindow());
  EXPECT_EQ(paint[0].x, (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2);
  EXPECT_EQ(paint[0].y, (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2);

  ShowWindow(MainWindow(), SW_RESTORE);
  world.Settle();
  InvalidateRect(MainWindow(), nullptr, TRUE);
  UpdateWindow(MainWindow());
  world.Settle();
  for (const sim::PaintOp& op : sim::LastPaint(MainWindow())) EXPECT_NE(op.kind, sim::PaintOp::kIcon);
  EXPECT_TRUE(SameRect(sim::InspectWindow(List())->rect, ClientRect(MainWindow())));
}

TEST_F(MainWindowTest, AfterAnyResizeTheListCoversTheClientAreaAboveTheHandsetControl) {
  for (SIZE size : {SIZE{500, 400}, SIZE{120, 90}, SIZE{900, 700}}) {
    SetWindowPos(MainWindow(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    world.Settle();
    auto list = sim::InspectWindow(List());
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->visible);
    EXPECT_TRUE(SameRect(list->rect, ClientRect(MainWindow()))) << size.cx << "x" << size.cy;
  }
  // The handset control lies under the list, so it is never seen.
  auto children = sim::ChildWindows(MainWindow());
  auto list = std::find(children.begin(), children.end(), List());
  auto phone = std::find(children.begin(), children.end(), sim::FindControl(MainWindow(), IDC_USBPHONE));
  ASSERT_NE(phone, children.end());
  EXPECT_LT(list, phone);
}

}  // namespace
