// What the user does at the PC: Tellbud's main window, the tray icon, pop-up menus, other
// programs' windows.
#include <sim/controls.h>
#include <sim/dialogs.h>
#include <sim/menus.h>
#include <sim/tray.h>

#include <algorithm>

#include "world/console/console.h"
#include "world/console/numbers.h"
#include "world/core/menu_text.h"
#include "world/core/text.h"
#include "world/messenger/stand_in.h"

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

// The window of Tellbud's that takes the keyboard now: its topmost dialog a person can use (a
// message box or dialog over the main window, which is disabled meanwhile), else the main window.
std::optional<HWND> ActiveTellbudWindow(Console& c, std::string* why) {
  std::vector<DWORD> tellbuds = c.world().RunningTellbuds();
  for (const sim::DialogInfo& d : sim::OpenDialogs()) {
    bool ours = std::find(tellbuds.begin(), tellbuds.end(), d.process_id) != tellbuds.end();
    if (ours && d.enabled) return d.hwnd;
  }
  return VisibleMainWindow(c, why);
}

// A key pressed on Tellbud's active dialog: the person brings it to the front and presses the
// key; the keyboard delivers it to the focused control of the window's thread.
Result Key(Console& c, const Call& call) {
  const std::string& name = call.args[0];
  BYTE vk = name == "enter" ? VK_RETURN : name == "escape" ? VK_ESCAPE : 0;
  if (!vk) return Result::Bad("usage: key enter | key escape");
  std::string why;
  auto target = ActiveTellbudWindow(c, &why);
  if (!target) return Result::Failed(why);
  SetForegroundWindow(*target);
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

// The person's choice in the open pop-up menu, by the item's text (the rest of the line).
Result Menu(Console& c, const Call& call) {
  std::string item;
  for (const std::string& a : call.args) item += (item.empty() ? "" : " ") + a;
  auto open = sim::OpenPopupMenu();
  if (!open) return Result::Failed("no pop-up menu is open");
  bool chosen = item == "none" ? sim::DismissPopupMenu() : sim::ChoosePopupMenuItem(world::Utf16(item));
  if (!chosen)
    return Result::Failed("the menu has no enabled item '" + item + "' (it has " +
                          world::DescribeMenuItems(open->items) + ")");
  c.world().Settle();
  return Result::Ok();
}

// The mouse on a row of Tellbud's contact list (rows counted from 1, as `show` prints them).
Result List(Console& c, const Call& call) {
  const std::string& action = call.args[0];
  auto row = ParseNumber(call.args[1]);
  if (!row || *row == 0 || *row > 100000)
    return Result::Bad("not a row: '" + call.args[1] + "' (1 is the first)");
  auto list = c.world().TellbudContactList();
  if (!list) return Result::Failed("Tellbud has no contact list");
  int index = static_cast<int>(*row) - 1;
  bool done = false;
  if (action == "click") {
    done = sim::ClickListViewRow(*list, index);
  } else if (action == "dblclick") {
    done = sim::DoubleClickListViewRow(*list, index);
  } else if (action == "rclick") {
    done = sim::RightClickListViewRow(*list, index);
  } else {
    return Result::Bad("usage: list click|dblclick|rclick ROW");
  }
  if (!done) return Result::Failed("the contact list does not take the mouse now (hidden or disabled)");
  c.world().Settle();
  return Result::Ok();
}

// A button of an open dialog (a message box, the About box), clicked by its text.
Result Button(Console& c, const Call& call) {
  auto dialog = sim::FindDialog(world::Utf16(call.args[0]));
  if (!dialog) return Result::Failed("no open dialog titled '" + call.args[0] + "'");
  if (!sim::ClickDialogButton(dialog->hwnd, world::Utf16(call.args[1])))
    return Result::Failed("the dialog has no enabled button '" + call.args[1] + "'");
  c.world().Settle();
  return Result::Ok();
}

// Messenger's conversation window with a contact, minimised or restored by the person.
Result ConversationWindow(Console& c, const Call& call, bool minimize) {
  auto& messenger = c.world().messenger();
  bool ok = minimize ? messenger.MinimizeWindow(call.args[0]) : messenger.RestoreWindow(call.args[0]);
  if (!ok) return Result::Failed("Messenger has no conversation window with " + call.args[0]);
  return Result::Ok();
}

// Another dialog of Messenger, with this title and these child window classes in order.
Result Dialog(Console& c, const Call& call) {
  std::vector<std::string> classes;
  size_t start = 0;
  const std::string& list = call.args[1];
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (name.empty()) return Result::Bad("usage: dialog \"TITLE\" CLASS,CLASS,...");
    classes.push_back(name);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (!c.world().messenger().ShowOtherDialog(call.args[0], classes))
    return Result::Failed("Messenger is not running");
  return Result::Ok();
}

}  // namespace

void AddDesktopCommands(Console& c) {
  c.Add({"menu", "", 1, -1, "menu ITEM | menu none", "choose an item of the open pop-up menu, or dismiss it",
         Menu});
  c.Add({"list", "", 2, 2, "list click|dblclick|rclick ROW", "the mouse on a row of Tellbud's contact list",
         List});
  c.Add({"button", "", 2, 2, "button \"DIALOG TITLE\" \"TEXT\"", "click a button of an open dialog", Button});
  c.Add({"window", "minimize", 1, 1, "window minimize SIGNIN", "minimise Messenger's conversation window",
         [](Console& c, const Call& call) { return ConversationWindow(c, call, true); }});
  c.Add({"window", "restore", 1, 1, "window restore SIGNIN", "restore Messenger's conversation window",
         [](Console& c, const Call& call) { return ConversationWindow(c, call, false); }});
  c.Add({"dialog", "", 2, 2, "dialog \"TITLE\" CLASS,CLASS,...", "show another Messenger dialog", Dialog});
  c.Add({"tray", "", 1, 1, "tray dblclick | tray rclick", "double-click or right-click Tellbud's tray icon",
         Tray});
  c.Add({"window", "close", 0, 0, "window close", "close Tellbud's main window with its caption button",
         WindowClose});
  c.Add({"key", "", 1, 1, "key enter | key escape", "press a key on Tellbud's active dialog (or main window)",
         Key});
}

}  // namespace console
