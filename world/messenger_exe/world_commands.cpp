#include "world/messenger_exe/world_commands.h"

#include <vector>

#include "world/console/messenger_values.h"
#include "world/console/numbers.h"
#include "world/console/tokenizer.h"

namespace world::messenger::process {

namespace {

using Args = std::vector<std::string>;

bool SetLanguage(MessengerStandIn& m, const std::string& name) {
  if (name == "English") {
    m.SetLanguage(Language::kEnglish);
  } else if (name == "German") {
    m.SetLanguage(Language::kGerman);
  } else if (name == "French") {
    m.SetLanguage(Language::kFrench);
  } else {
    return false;
  }
  return true;
}

bool Fail(MessengerStandIn& m, const Args& a) {
  auto hr = console::ParseHresult(a[1]);
  if (!hr || SUCCEEDED(*hr)) return false;
  int count = FaultPlan::kUntilHealed;
  if (a.size() > 2) {
    auto n = console::ParseNumber(a[2]);
    if (!n || *n == 0 || *n > 1000000) return false;
    count = static_cast<int>(*n);
  }
  return m.Fail(a[0], *hr, count);
}

bool Messenger(MessengerStandIn& m, const std::string& verb, const Args& a) {
  if (verb == "signin" && a.empty()) return m.SignIn();
  if (verb == "signout" && a.empty()) return m.SignOut();
  if (verb == "quit" && a.empty()) return m.Quit();
  if (verb == "heal" && a.empty()) {
    m.Heal();
    return true;
  }
  if (verb == "status" && a.size() == 1) {
    auto status = console::ParseMessengerStatus(a[0]);
    return status && m.SetStatus(*status);
  }
  if (verb == "language" && a.size() == 1) return SetLanguage(m, a[0]);
  if (verb == "fail" && (a.size() == 2 || a.size() == 3)) return Fail(m, a);
  if (verb == "vanish" && a.size() == 1) return m.VanishDuring(a[0]);
  return false;  // "start" too: this Messenger runs already
}

bool Contact(MessengerStandIn& m, const std::string& verb, const Args& a) {
  if (verb == "add" && (a.size() == 2 || a.size() == 3)) {
    auto status = a.size() == 3 ? console::ParseMessengerStatus(a[2]) : std::optional<LONG>(kStatusOffline);
    return status && m.AddContact(a[0], a[1], *status);
  }
  if (verb == "remove" && a.size() == 1) return m.RemoveContact(a[0]);
  if (verb == "status" && a.size() == 2) {
    auto status = console::ParseMessengerStatus(a[1]);
    return status && m.SetContactStatus(a[0], *status);
  }
  return false;
}

// The commands of one contact ("call SIGNIN").
bool (MessengerStandIn::*ContactAction(const std::string& name))(const std::string&) {
  if (name == "call") return &MessengerStandIn::IncomingCall;
  if (name == "answer") return &MessengerStandIn::RemoteAnswer;
  if (name == "reject") return &MessengerStandIn::RemoteReject;
  if (name == "hangup") return &MessengerStandIn::RemoteHangup;
  if (name == "close") return &MessengerStandIn::UserCloses;
  return nullptr;
}

}  // namespace

bool RunWorldCommand(MessengerStandIn& messenger, const std::string& line) {
  console::Tokenized tokens = console::Tokenize(line);
  if (!tokens.error.empty() || tokens.words.empty()) return false;
  Args words;
  for (const console::Word& w : tokens.words) words.push_back(w.text);
  const std::string& name = words[0];
  Args rest(words.begin() + 1, words.end());
  if (auto action = ContactAction(name)) return rest.size() == 1 && (messenger.*action)(rest[0]);
  if (name == "chat" && (rest.size() == 1 || rest.size() == 2))
    return messenger.Chat(rest[0], rest.size() == 2 ? rest[1] : "Hello");
  if (name == "join" && rest.size() == 2) return messenger.Join(rest[0], rest[1]);
  if (name == "leave" && rest.size() == 2) return messenger.Leave(rest[0], rest[1]);
  if (rest.empty()) return false;
  std::string verb = rest[0];
  Args args(rest.begin() + 1, rest.end());
  if (name == "messenger") return Messenger(messenger, verb, args);
  if (name == "contact") return Contact(messenger, verb, args);
  if (name == "window" && args.size() == 1) {
    if (verb == "minimize") return messenger.MinimizeWindow(args[0]);
    if (verb == "restore") return messenger.RestoreWindow(args[0]);
  }
  return false;
}

}  // namespace world::messenger::process
