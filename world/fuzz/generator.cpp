#include "world/fuzz/generator.h"

#include <sim/dialogs.h>
#include <sim/menus.h>

#include "world/core/menu_text.h"
#include "world/core/text.h"
#include "world/handset/stand_in.h"
#include "world/messenger/faults.h"
#include "world/messenger/stand_in.h"

namespace fuzz {

namespace {

std::vector<DialogActor>& DialogActors() {
  static std::vector<DialogActor> actors;
  return actors;
}

const std::vector<std::string> kModels = {"",     "0200", "0100", "0500", "0510", "058F",
                                          "0590", "0AB0", "0AFF", "0B00", "0",    "7FFFFFFF"};
const std::vector<std::string> kHandsetKeys = {"0",    "1",   "2",    "5",   "9",       "*",   "#",    "prev",
                                               "next", "del", "call", "end", "speaker", "200", "32767"};
const std::vector<std::string> kStatuses = {"online", "offline",   "busy",       "away",      "brb",
                                            "idle",   "invisible", "onthephone", "outtolunch"};
const std::vector<std::string> kFailures = {"E_FAIL", "E_ACCESSDENIED", "RPC_S_SERVER_UNAVAILABLE",
                                            "RPC_E_DISCONNECTED", "0x80070005"};
const std::vector<std::string> kTexts = {
    "Hello", "", "  ", "calling you now", "Grüße aus Köln", std::string(300, 'x')};

std::vector<std::string> OddNames() {
  return {"ann@example.com",
          "Ann@Example.com",
          "bob@example.com",
          "BOB@EXAMPLE.COM",
          "carl@example.com",
          "zoë@exämple.com",
          "",
          " ",
          "d" + std::string(200, 'o') + "@example.com",
          "eve"};
}

std::vector<std::string> FriendlyNames() {
  return {"Ann", "", "   ", "Bob Smith", "Zoë Ünal", "李雷", std::string(260, 'F'), "ann", "\"quoted\"", "-"};
}

std::string Duration(int64_t ms) {
  if (ms % 60000 == 0) return std::to_string(ms / 60000) + "m";
  if (ms % 1000 == 0) return std::to_string(ms / 1000) + "s";
  return std::to_string(ms) + "ms";
}

bool TellbudRuns(world::World& w) { return !w.RunningTellbuds().empty(); }

// The sign-in names of conversations that Messenger has open.
std::vector<std::string> ConversationContacts(world::World& w) {
  std::vector<std::string> out;
  for (const auto& c : w.messenger().Conversations())
    for (const std::string& p : c.participants) out.push_back(p);
  return out;
}

// What the user does with the controls of the program's dialogs besides their buttons: a ring
// style or line chosen, a slider moved, a language chosen, a name or number typed.
std::vector<Words> ControlActions(const sim::DialogInfo& dialog) {
  std::string title = world::Utf8(dialog.title);
  if (title == "Ring style")
    return {{"choose", title, "1000", "3"},    {"choose", title, "1000", "0"},
            {"choose", title, "1000", "9"},    {"choose", title, "1001", "USB"},
            {"choose", title, "1001", "PSTN"}, {"slide", title, "1002", "50"},
            {"slide", title, "1003", "1"}};
  if (title == "Select language")
    return {{"choose", title, "1005", "German"},
            {"choose", title, "1005", "English"},
            {"choose", title, "1005", "French"}};
  if (title == "Rename") return {{"type", title, "1004", "Bobby"}, {"type", title, "1004", ""}};
  if (title == "Set speed dial number") return {{"type", title, "1004", "7"}, {"type", title, "1004", "123"}};
  return {};
}

}  // namespace

const std::vector<std::string>& ContactPool() {
  static const std::vector<std::string> pool = OddNames();
  return pool;
}

void AddDialogActor(DialogActor actor) { DialogActors().push_back(std::move(actor)); }

bool CallsInMessenger(world::World& w) {
  for (const auto& c : w.messenger().Conversations())
    if (c.voice != world::messenger::VoiceState::kNone && !c.participants.empty()) return true;
  return false;
}

std::vector<Words> QuietCommands(world::World& w) {
  std::vector<Words> out;
  if (sim::OpenPopupMenu()) out.push_back({"menu", "none"});
  out.push_back({"messenger", "heal"});
  for (const auto& c : w.messenger().Conversations())
    if (c.voice != world::messenger::VoiceState::kNone && !c.participants.empty())
      out.push_back({"hangup", c.participants.front()});
  if (w.handset().State().plugged && w.handset().State().hook_lifted) out.push_back({"handset", "down"});
  out.push_back({"wait", "30s"});
  return out;
}

std::string Generator::Signin() { return rng_.Pick(ContactPool()); }

Words Generator::Next(world::World& w) {
  // A program that is not running is started most of the time.
  if (!TellbudRuns(w) && rng_.Percent(60)) return {"start"};
  if (sim::OpenPopupMenu() && rng_.Percent(80)) return User(w);
  if (rng_.Percent(1)) return {kQuietStep};
  // While a call rings or runs: restarts, and the dialogs, at every moment of it.
  if (!ConversationContacts(w).empty() && rng_.Percent(8)) return DuringCall(w);
  switch (rng_.Below(22)) {
    case 0:
    case 1:
    case 2:
      return Handset(w);
    case 3:
    case 4:
      return Messenger(w);
    case 5:
    case 6:
      return Contact(w);
    case 7:
    case 8:
    case 9:
      return CallAction(w);
    case 10:
    case 11:
    case 12:
      return User(w);
    case 13:
      return IniEdit();
    case 14:
      return Files();
    case 15:
      return SoundDevices();
    default:
      return Wait();
  }
}

Words Generator::Handset(world::World& w) {
  auto state = w.handset().State();
  if (!state.plugged) {
    std::string model = rng_.Pick(kModels);
    return model.empty() ? Words{"handset", "plug"} : Words{"handset", "plug", model};
  }
  switch (rng_.Below(9)) {
    case 0:
      return {"handset", "unplug"};
    case 1:
    case 2:
      return {"handset", state.hook_lifted ? "down" : "lift"};
    case 3:
    case 4:
      return {"handset", "key", rng_.Pick(kHandsetKeys)};
    case 5:
      return {"handset", "dial", std::to_string(rng_.Below(100)) + (rng_.Percent(50) ? "#" : "")};
    case 6:
      return {"handset", "line"};
    case 7:
      return {"handset", "level"};
    default:
      return {"handset", "setlevel", std::to_string(rng_.Below(80))};
  }
}

Words Generator::Messenger(world::World& w) {
  if (!w.messenger().IsRunning() && rng_.Percent(70)) return {"messenger", "start"};
  switch (rng_.Below(10)) {
    case 0:
      return {"messenger", "quit"};
    case 1:
    case 2:
      return {"messenger", "signin"};
    case 3:
      return {"messenger", "signout"};
    case 4:
      return {"messenger", "status", rng_.Pick(kStatuses)};
    case 5:
      return {"messenger", "language", rng_.Pick(std::vector<std::string>{"English", "German", "French"})};
    case 6: {
      Words fail = {"messenger", "fail", rng_.Pick(world::messenger::FaultPlan::KnownOperations()),
                    rng_.Pick(kFailures)};
      if (rng_.Percent(70)) fail.push_back(std::to_string(rng_.Between(1, 5)));
      return fail;
    }
    case 7:
      return {"messenger", "vanish", rng_.Pick(world::messenger::FaultPlan::KnownOperations())};
    default:
      return {"messenger", "heal"};
  }
}

Words Generator::Contact(world::World& w) {
  auto contacts = w.messenger().Contacts();
  if (contacts.empty() || rng_.Percent(35)) {
    Words add = {"contact", "add", Signin(), rng_.Pick(FriendlyNames())};
    if (rng_.Percent(70)) add.push_back(rng_.Pick(kStatuses));
    return add;
  }
  std::string who = rng_.Percent(85) ? rng_.Pick(contacts).signin : Signin();
  if (rng_.Percent(15)) return {"contact", "remove", who};
  return {"contact", "status", who, rng_.Pick(kStatuses)};
}

Words Generator::CallAction(world::World& w) {
  std::vector<std::string> talking = ConversationContacts(w);
  auto contacts = w.messenger().Contacts();
  std::string who = !talking.empty() && rng_.Percent(60)    ? rng_.Pick(talking)
                    : !contacts.empty() && rng_.Percent(80) ? rng_.Pick(contacts).signin
                                                            : Signin();
  std::string other = contacts.empty() ? Signin() : rng_.Pick(contacts).signin;
  switch (rng_.Below(12)) {
    case 0:
    case 1:
    case 2:
      return {"call", who};
    case 3:
      return {"answer", who};
    case 4:
      return {"reject", who};
    case 5:
    case 6:
      return {"hangup", who};
    case 7:
      return {"chat", who, rng_.Pick(kTexts)};
    case 8:
      return {"join", who, other};
    case 9:
      return {"leave", who, other};
    case 10:
      return {"window", rng_.Percent(50) ? "minimize" : "restore", who};
    default:
      return {"close", who};
  }
}

Words Generator::User(world::World& w) {
  if (auto menu = sim::OpenPopupMenu()) {
    std::vector<std::string> labels;
    for (const sim::MenuItemInfo& item : menu->items)
      if (!item.separator && !item.grayed && !item.submenu)
        labels.push_back(world::Utf8(world::MenuItemLabel(item.text)));
    if (labels.empty() || rng_.Percent(15)) return {"menu", "none"};
    Words choice = {"menu"};
    std::string label = rng_.Pick(labels);
    // `menu` takes the label as its words, joined by blanks.
    size_t start = 0;
    while (start <= label.size()) {
      size_t blank = label.find(' ', start);
      choice.push_back(label.substr(start, blank == std::string::npos ? std::string::npos : blank - start));
      if (blank == std::string::npos) break;
      start = blank + 1;
    }
    return choice;
  }
  for (DialogActor& actor : DialogActors()) {
    std::vector<Words> actions = actor(w, rng_);
    if (!actions.empty()) return rng_.Pick(actions);
  }
  if (!sim::OpenDialogs().empty() && rng_.Percent(40)) {
    std::vector<Words> actions = ControlActions(rng_.Pick(sim::OpenDialogs()));
    if (!actions.empty()) return rng_.Pick(actions);
  }
  if (!sim::OpenDialogs().empty() && rng_.Percent(50)) {
    const sim::DialogInfo dialog = rng_.Pick(sim::OpenDialogs());
    if (!dialog.buttons.empty())
      return {"button", world::Utf8(dialog.title), world::Utf8(rng_.Pick(dialog.buttons).text)};
  }
  switch (rng_.Below(12)) {
    case 0:
      return {"start"};
    case 1:
      return {"start", "*exit*"};
    case 2:
    case 3:
      return {"tray", "dblclick"};
    case 4:
    case 5:
      return {"tray", "rclick"};
    case 6:
      return {"tray", "click"};
    case 7:
    case 8: {
      const char* actions[] = {"click", "dblclick", "rclick"};
      return {"list", actions[rng_.Below(3)], std::to_string(rng_.Between(1, 8))};
    }
    case 9:
      return {"key", rng_.Percent(50) ? "enter" : "escape"};
    default:
      return {"window", "close"};
  }
}

Words Generator::DuringCall(world::World& w) {
  switch (rng_.Below(6)) {
    case 0:
      return {"start", "*exit*"};
    case 1:
      return TellbudRuns(w) ? Words{"tray", "rclick"} : Words{"start"};
    case 2:
      return {"start"};
    default:
      return User(w);
  }
}

// The INI files made read-only, writable again, or deleted under the program.
Words Generator::Files() {
  const char* files[] = {"Tellbud.ini", "Custom.ini"};
  std::string file = files[rng_.Below(2)];
  switch (rng_.Below(5)) {
    case 0:
    case 1:
      return {"file", "readonly", file};
    case 2:
    case 3:
      return {"file", "writable", file};
    default:
      return {"file", "delete", file};
  }
}

// Sound devices coming and going, often while a dialog is open.
Words Generator::SoundDevices() {
  const std::vector<std::string> names = {"USB Audio Device", "USB Camera", "Realtek High Definition Audio"};
  std::string name = rng_.Pick(names);
  switch (rng_.Below(4)) {
    case 0:
      return {"mixer", "add", name};
    case 1:
      return {"mixer", "remove", name};
    case 2:
      return {"mixer", "fail", name};
    default:
      return {"mixer", "heal", name};
  }
}

Words Generator::IniEdit() {
  switch (rng_.Below(6)) {
    case 0: {
      const std::vector<std::string> values = {"0", "3", "9", "10", "-1", "", "abc", "2147483647"};
      return {"ini", "Tellbud.ini", "OPTION", "RingType", rng_.Pick(values)};
    }
    case 1: {
      const std::vector<std::string> values = {"0", "1", "2", "-1", "65537", ""};
      return {"ini", "Tellbud.ini", "OPTION", "ChannelType", rng_.Pick(values)};
    }
    case 2: {
      const std::vector<std::string> values = {"Alt+C", "Alt+A", "Alt+", "", "Ctrl+C", "Alt+Ö"};
      return {"ini", "Tellbud.ini", "SHORTCUT_KEY", rng_.Percent(50) ? "Accept" : "Decline",
              rng_.Pick(values)};
    }
    case 3:
      return {"ini", "Custom.ini", "CustomName", Signin(), rng_.Pick(FriendlyNames())};
    case 4:
      return {"ini", "Custom.ini", "SpeedDialNumber", Signin(), std::to_string(rng_.Below(30))};
    default: {
      // Keys of the user's own that the program must keep when it writes the file.
      const char* files[] = {"Tellbud.ini", "Custom.ini"};
      const std::vector<std::string> values = {"kept", "", "  spaced  ", "ünïcödé", "a=b", "; not a comment"};
      return {"ini", files[rng_.Below(2)], "UserNotes", "note" + std::to_string(hand_edits_++ % 6),
              rng_.Pick(values)};
    }
  }
}

// Mostly short waits, where the program's timers and the world's actions interleave; now and
// then minutes, rarely hours, where it must stay right on its own.
Words Generator::Wait() {
  uint64_t kind = rng_.Below(100);
  int64_t ms = kind < 30   ? rng_.Between(1, 999)
               : kind < 60 ? rng_.Between(1, 10) * 1000
               : kind < 85 ? rng_.Between(10, 120) * 1000
               : kind < 97 ? rng_.Between(2, 15) * 60000
               : kind < 99 ? rng_.Between(15, 60) * 60000
                           : rng_.Between(60, 180) * 60000;
  return {"wait", Duration(ms)};
}

}  // namespace fuzz
