// Tellbud's window, tray icon and tray menu as a person meets them.
#pragma once

#include <sim/menus.h>
#include <sim/tray.h>

#include "support/program_fixture.h"

class UiFixture : public ProgramFixture {
 protected:
  HWND MainWindow() {
    auto main = world.TellbudMainWindow();
    return main ? *main : nullptr;
  }
  bool MainWindowVisible() {
    auto info = sim::InspectWindow(MainWindow());
    return info && info->visible;
  }
  std::optional<sim::TrayIconInfo> TrayIcon() { return world::TellbudTrayIcon(world); }

  // Opens the tray menu with a right-click and tells whether "AutoRun" carries the check mark;
  // the menu is dismissed again.
  bool AutoRunChecked() {
    Run("tray rclick");
    auto menu = sim::OpenPopupMenu();
    EXPECT_TRUE(menu.has_value());
    bool checked = false;
    if (menu) {
      for (const sim::MenuItemInfo& item : menu->items)
        if (item.text == u"AutoRun") checked = item.checked;
    }
    Run("menu none");
    return checked;
  }
  void ChooseAutoRun() { RunAll({"tray rclick", "menu AutoRun"}); }
};
