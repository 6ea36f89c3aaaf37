// Messenger and its contacts as the world plays them.
#include <winerror.h>

#include <cstdlib>

#include "world/console/console.h"
#include "world/console/messenger_values.h"
#include "world/console/numbers.h"
#include "world/messenger/stand_in.h"

namespace console {

namespace {

using world::messenger::MessengerStandIn;

MessengerStandIn& Messenger(Console& c) { return c.world().messenger(); }

// A stand-in command's outcome: false means Messenger is not running or the action does not
// apply to the world as it is.
Result Done(Console& c, bool ok, const std::string& what) {
  if (ok) return Result::Ok();
  if (!Messenger(c).IsRunning()) return Result::Failed("Messenger is not running");
  return Result::Failed(what);
}

Result BadStatus(const std::string& text) {
  return Result::Bad("not a status: '" + text + "' (online, offline, busy, away, ... or a number)");
}

Result Start(Console& c, const Call&) {
  if (Messenger(c).IsRunning()) return Result::Failed("Messenger is already running");
  return Done(c, Messenger(c).Start(), "Messenger did not start");
}

Result Quit(Console& c, const Call&) { return Done(c, Messenger(c).Quit(), "Messenger did not quit"); }
Result SignIn(Console& c, const Call&) { return Done(c, Messenger(c).SignIn(), "already signed in"); }
Result SignOut(Console& c, const Call&) { return Done(c, Messenger(c).SignOut(), "already signed out"); }

Result Status(Console& c, const Call& call) {
  auto status = ParseMessengerStatus(call.args[0]);
  if (!status) return BadStatus(call.args[0]);
  return Done(c, Messenger(c).SetStatus(*status), "the status cannot be set");
}

Result Language(Console& c, const Call& call) {
  using world::messenger::Language;
  const std::string& name = call.args[0];
  if (name == "English") {
    Messenger(c).SetLanguage(Language::kEnglish);
  } else if (name == "German") {
    Messenger(c).SetLanguage(Language::kGerman);
  } else if (name == "French") {
    Messenger(c).SetLanguage(Language::kFrench);
  } else {
    return Result::Bad("not a language: '" + name + "' (English, German, French)");
  }
  return Result::Ok();
}

Result Fail(Console& c, const Call& call) {
  auto hr = ParseHresult(call.args[1]);
  if (!hr || SUCCEEDED(*hr)) return Result::Bad("not a failure HRESULT: '" + call.args[1] + "'");
  int count = world::messenger::FaultPlan::kUntilHealed;
  if (call.args.size() > 2) {
    auto n = ParseNumber(call.args[2]);
    if (!n || *n == 0 || *n > 1000000) return Result::Bad("not a count: '" + call.args[2] + "'");
    count = static_cast<int>(*n);
  }
  if (!Messenger(c).Fail(call.args[0], *hr, count))
    return Result::Bad("not an operation: '" + call.args[0] + "'");
  return Result::Ok();
}

Result Heal(Console& c, const Call&) {
  Messenger(c).Heal();
  return Result::Ok();
}

Result Vanish(Console& c, const Call& call) {
  if (!Messenger(c).VanishDuring(call.args[0]))
    return Result::Bad("not an operation: '" + call.args[0] + "'");
  return Result::Ok();
}

Result ContactAdd(Console& c, const Call& call) {
  LONG status = world::messenger::kStatusOffline;
  if (call.args.size() > 2) {
    auto parsed = ParseMessengerStatus(call.args[2]);
    if (!parsed) return BadStatus(call.args[2]);
    status = *parsed;
  }
  return Done(c, Messenger(c).AddContact(call.args[0], call.args[1], status), "the contact cannot be added");
}

Result ContactRemove(Console& c, const Call& call) {
  return Done(c, Messenger(c).RemoveContact(call.args[0]), "no contact " + call.args[0]);
}

Result ContactStatus(Console& c, const Call& call) {
  auto status = ParseMessengerStatus(call.args[1]);
  if (!status) return BadStatus(call.args[1]);
  return Done(c, Messenger(c).SetContactStatus(call.args[0], *status), "no contact " + call.args[0]);
}

// A command of one contact: `action` on the stand-in, with a message when it does not apply.
Command ContactAction(const char* name, const char* help,
                      bool (MessengerStandIn::*action)(const std::string&), const char* refusal) {
  return {
      name, "", 1, 1, std::string(name) + " SIGNIN", help, [action, refusal](Console& c, const Call& call) {
        return Done(c, (Messenger(c).*action)(call.args[0]), std::string(refusal) + " " + call.args[0]);
      }};
}

Result Chat(Console& c, const Call& call) {
  std::string text = call.args.size() > 1 ? call.args[1] : "Hello";
  return Done(c, Messenger(c).Chat(call.args[0], text), "cannot chat with " + call.args[0]);
}

Result Join(Console& c, const Call& call) {
  return Done(c, Messenger(c).Join(call.args[0], call.args[1]),
              call.args[1] + " cannot join the conversation with " + call.args[0]);
}

Result Leave(Console& c, const Call& call) {
  return Done(c, Messenger(c).Leave(call.args[0], call.args[1]),
              call.args[1] + " is not in the conversation with " + call.args[0]);
}

}  // namespace

void AddMessengerCommands(Console& c) {
  c.Add({"messenger", "start", 0, 0, "messenger start", "start Messenger", Start});
  c.Add({"messenger", "quit", 0, 0, "messenger quit", "quit Messenger", Quit});
  c.Add({"messenger", "signin", 0, 0, "messenger signin", "sign in to the service", SignIn});
  c.Add({"messenger", "signout", 0, 0, "messenger signout", "sign out", SignOut});
  c.Add({"messenger", "status", 1, 1, "messenger status N", "set the user's status (a number or a name)",
         Status});
  c.Add({"messenger", "language", 1, 1, "messenger language NAME", "English, German or French", Language});
  c.Add({"messenger", "fail", 2, 3, "messenger fail OPERATION HRESULT [N]",
         "make an automation operation fail (N times; default until healed)", Fail});
  c.Add({"messenger", "heal", 0, 0, "messenger heal", "end every injected failure", Heal});
  c.Add({"messenger", "vanish", 1, 1, "messenger vanish OPERATION", "Messenger quits while serving that call",
         Vanish});
  c.Add({"contact", "add", 2, 3, "contact add SIGNIN \"FRIENDLY NAME\" [online|offline|STATUS]",
         "add a contact to Messenger's list", ContactAdd});
  c.Add({"contact", "remove", 1, 1, "contact remove SIGNIN", "remove a contact", ContactRemove});
  c.Add({"contact", "status", 2, 2, "contact status SIGNIN online|offline|STATUS",
         "change a contact's status", ContactStatus});
  c.Add(ContactAction("call", "the contact invites the user to a voice conversation",
                      &MessengerStandIn::IncomingCall, "cannot call from"));
  c.Add(ContactAction("answer", "the contact accepts the user's invitation", &MessengerStandIn::RemoteAnswer,
                      "no invitation to answer for"));
  c.Add(ContactAction("reject", "the contact declines the user's invitation", &MessengerStandIn::RemoteReject,
                      "no invitation to reject for"));
  c.Add(ContactAction("hangup", "the contact hangs up or withdraws", &MessengerStandIn::RemoteHangup,
                      "no call to hang up with"));
  c.Add({"chat", "", 1, 2, "chat SIGNIN [\"TEXT\"]", "the contact writes in the conversation", Chat});
  c.Add({"join", "", 2, 2, "join SIGNIN OTHER", "OTHER joins the conversation with SIGNIN", Join});
  c.Add({"leave", "", 2, 2, "leave SIGNIN OTHER", "OTHER leaves the conversation with SIGNIN", Leave});
  c.Add(ContactAction("close", "the user closes the conversation window", &MessengerStandIn::UserCloses,
                      "no conversation with"));
}

}  // namespace console
