// What the user does at the PC: Tellbud's main window, the tray icon, pop-up menus, other
// programs' windows.
#include <sim/tray.h>

#include "world/console/console.h"

namespace console {

namespace {

std::optional<HWND> VisibleMainWindow(Console& c, std::string* why) {
  auto main = c.world().TellbudMainWindow();
  if (!main) {
    *why = "Tellbud has no main window";
    return std::nullopt;
  }
  auto info = sim::InspectWindow(*main);
  if (!info || !info->visible) {
    *why = "Tellbud's main window is not visible";
    return std::nullopt;
  }
  return main;
}

// The caption's close button: Windows turns the click into WM_SYSCOMMAND SC_CLOSE.
Result WindowClose(Console& c, const Call&) {
  std::string why;
  auto main = VisibleMainWindow(c, &why);
  if (!main) return Result::Failed(why);
  PostMessageW(*main, WM_SYSCOMMAND, SC_CLOSE, 0);
  c.world().Settle();
  return Result::Ok();
}

// A key pressed on the main window: the person brings it to the front and presses the key;
// the keyboard delivers it to the focused control of the window's thread.
Result Key(Console& c, const Call& call) {
  const std::string& name = call.args[0];
  BYTE vk = name == "enter" ? VK_RETURN : name == "escape" ? VK_ESCAPE : 0;
  if (!vk) return Result::Bad("usage: key enter | key escape");
  std::string why;
  auto main = VisibleMainWindow(c, &why);
  if (!main) return Result::Failed(why);
  SetForegroundWindow(*main);
  c.world().Settle();
  world::DesktopReporter& reporter = c.world().desktop_reporter();
  reporter.set_world_typing(true);
  keybd_event(vk, 0, 0, 0);
  keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
  reporter.set_world_typing(false);
  c.world().Settle();
  return Result::Ok();
}

// The mouse on Tellbud's tray icon (the oldest running Tellbud's, or else the first icon).
Result Tray(Console& c, const Call& call) {
  const std::string& action = call.args.empty() ? "" : call.args[0];
  auto icon = world::TellbudTrayIcon(c.world());
  if (!icon) return Result::Failed("there is no icon in the notification area");
  bool posted = false;
  if (action == "dblclick") {
    posted = sim::DoubleClickTrayIcon(icon->owner, icon->id);
  } else if (action == "rclick") {
    posted = sim::RightClickTrayIcon(icon->owner, icon->id);
  } else if (action == "click") {
    posted = sim::ClickTrayIcon(icon->owner, icon->id);
  } else {
    return Result::Bad("usage: tray dblclick | tray rclick | tray click");
  }
  if (!posted) return Result::Failed("the tray icon does not answer the mouse");
  c.world().Settle();
  return Result::Ok();
}

}  // namespace

void AddDesktopCommands(Console& c) {
  c.Add({"tray", "", 1, 1, "tray dblclick | tray rclick", "double-click or right-click Tellbud's tray icon",
         Tray});
  c.Add({"window", "close", 0, 0, "window close", "close Tellbud's main window with its caption button",
         WindowClose});
  c.Add({"key", "", 1, 1, "key enter | key escape", "press a key on Tellbud's main window", Key});
}

}  // namespace console
