#include "world/messenger/stand_in.h"

#include "world/messenger/proxy_base.h"
#include "world/messenger/sim_glue.h"

namespace world::messenger {

namespace {

std::vector<std::string> Utf8All(const std::vector<Text>& texts) {
  std::vector<std::string> out;
  for (const Text& t : texts) out.push_back(ToUtf8(t));
  return out;
}

}  // namespace

MessengerStandIn::MessengerStandIn(Reporter* reporter) {
  state_.reporter = reporter;
  glue::RegisterMessengerClass(
      [this](REFIID riid, void** ppv) { return CreateMessengerInstance(link_, riid, ppv); });
}

MessengerStandIn::~MessengerStandIn() {
  if (IsRunning()) Quit();
  glue::UnregisterMessengerClass();
}

// ---- Lifetime ----------------------------------------------------------------------------------------

bool MessengerStandIn::Start() {
  if (IsRunning()) return false;
  auto link = std::make_shared<ServerLink>();
  link->events = std::make_unique<Connections>(state_.faults);
  link->events->SetLink(link);
  MessengerState* state = &state_;
  DWORD pid = glue::StartMessengerProcess([link, state] {
    MessengerServer server(*state, *link->events, [] { glue::VanishNow(); });
    if (!server.Create()) return;
    link->server = &server;
    // However the thread ends (quit or vanishing), the objects handed out lose their server.
    struct Unlink {
      ServerLink& link;
      ~Unlink() {
        link.server = nullptr;
        link.events->DisconnectAll();
      }
    } unlink{*link};
    server.Run();
  });
  if (!pid) return false;
  pid_ = pid;
  link_ = link;
  glue::RunUntilIdle();
  return IsRunning();
}

bool MessengerStandIn::Quit() {
  return Do([](MessengerServer& s) {
    s.Quit();
    return true;
  });
}

bool MessengerStandIn::IsRunning() const { return server() && glue::IsProcessRunning(pid_); }

MessengerServer* MessengerStandIn::server() const { return link_ ? link_->server : nullptr; }

bool MessengerStandIn::Do(std::function<bool(MessengerServer&)> command) {
  if (!IsRunning()) return false;
  auto result = std::make_shared<bool>(false);
  std::shared_ptr<ServerLink> link = link_;
  bool posted = server()->calls().Post([link, result, command = std::move(command)] {
    if (link->server) *result = command(*link->server);
  });
  if (!posted) return false;
  glue::RunUntilIdle();
  return *result;
}

bool MessengerStandIn::DoOnConversation(const std::string& signin,
                                        std::function<bool(MessengerServer&, int)> command, bool call) {
  Text name = FromUtf8(signin);
  return Do([name, call, command = std::move(command)](MessengerServer& s) {
    const Conversation* c = call ? s.model().FindCallOf(name) : s.model().FindConversationOf(name);
    return c && command(s, c->id);
  });
}

// ---- The user -----------------------------------------------------------------------------------------

bool MessengerStandIn::SignIn() { return SetStatus(kStatusOnline); }

bool MessengerStandIn::SignOut() { return SetStatus(kStatusOffline); }

bool MessengerStandIn::SetStatus(LONG status) {
  return Do([status](MessengerServer& s) {
    s.model().SetStatus(status);
    return true;
  });
}

void MessengerStandIn::SetLanguage(Language language) { state_.model.SetLanguage(language); }

// ---- Faults ----------------------------------------------------------------------------------------------

bool MessengerStandIn::Fail(const std::string& op, HRESULT hr, int count) {
  return state_.faults.Fail(op, hr, count);
}

void MessengerStandIn::Heal() { state_.faults.Heal(); }

bool MessengerStandIn::FailsUntilHealed(const std::string& op) const {
  return state_.faults.FailsUntilHealed(op);
}

bool MessengerStandIn::VanishDuring(const std::string& op) { return state_.faults.VanishDuring(op); }

void MessengerStandIn::CorruptNextWindowArgument(unsigned short vt) {
  state_.faults.CorruptNextWindowArgument(vt);
}

// ---- Contacts
// ----------------------------------------------------------------------------------------------

bool MessengerStandIn::AddContact(const std::string& signin, const std::string& friendly, LONG status) {
  Text s = FromUtf8(signin), f = FromUtf8(friendly);
  return Do([s, f, status](MessengerServer& server) { return server.model().AddContact(s, f, status); });
}

bool MessengerStandIn::RemoveContact(const std::string& signin) {
  Text s = FromUtf8(signin);
  return Do([s](MessengerServer& server) { return server.model().RemoveContact(s); });
}

bool MessengerStandIn::SetContactStatus(const std::string& signin, LONG status) {
  Text s = FromUtf8(signin);
  return Do([s, status](MessengerServer& server) { return server.model().SetContactStatus(s, status); });
}

// ---- The contacts' actions
// ------------------------------------------------------------------------------------

bool MessengerStandIn::IncomingCall(const std::string& signin) {
  Text s = FromUtf8(signin);
  return Do([s](MessengerServer& server) {
    if (!server.model().SignedIn()) return false;
    int id = server.OpenForContact(s);
    return id && server.model().ContactInvites(id);
  });
}

bool MessengerStandIn::RemoteAnswer(const std::string& signin) {
  return DoOnConversation(
      signin, [](MessengerServer& s, int id) { return s.model().ContactAccepts(id); }, true);
}

bool MessengerStandIn::RemoteReject(const std::string& signin) {
  return DoOnConversation(
      signin, [](MessengerServer& s, int id) { return s.model().ContactDeclines(id); }, true);
}

bool MessengerStandIn::RemoteHangup(const std::string& signin) {
  return DoOnConversation(
      signin, [](MessengerServer& s, int id) { return s.model().ContactHangsUp(id); }, true);
}

bool MessengerStandIn::Chat(const std::string& signin, const std::string& text) {
  Text s = FromUtf8(signin), t = FromUtf8(text);
  return Do([s, t](MessengerServer& server) {
    int id = server.OpenForContact(s);
    return id && server.model().Chat(id, s, t);
  });
}

bool MessengerStandIn::Join(const std::string& signin, const std::string& other) {
  Text o = FromUtf8(other);
  return DoOnConversation(signin, [o](MessengerServer& s, int id) { return s.model().Join(id, o); });
}

bool MessengerStandIn::Leave(const std::string& signin, const std::string& other) {
  Text o = FromUtf8(other);
  return DoOnConversation(signin, [o](MessengerServer& s, int id) { return s.model().Leave(id, o); });
}

// ---- The user's actions on windows
// ------------------------------------------------------------------------------

bool MessengerStandIn::UserCloses(const std::string& signin) {
  return DoOnConversation(signin, [](MessengerServer& s, int id) { return s.RequestClose(id); });
}

bool MessengerStandIn::MinimizeWindow(const std::string& signin) {
  return DoOnConversation(signin, [](MessengerServer& s, int id) {
    ShowWindow(s.WindowOf(id), SW_MINIMIZE);
    return true;
  });
}

bool MessengerStandIn::RestoreWindow(const std::string& signin) {
  return DoOnConversation(signin, [](MessengerServer& s, int id) {
    ShowWindow(s.WindowOf(id), SW_RESTORE);
    return true;
  });
}

bool MessengerStandIn::HideWindow(const std::string& signin) {
  return DoOnConversation(signin, [](MessengerServer& s, int id) {
    ShowWindow(s.WindowOf(id), SW_HIDE);
    return true;
  });
}

HWND MessengerStandIn::ShowOtherDialog(const std::string& title,
                                       const std::vector<std::string>& child_classes) {
  Text t = FromUtf8(title);
  std::vector<Text> classes;
  for (const std::string& c : child_classes) classes.push_back(FromUtf8(c));
  HWND shown = nullptr;
  Do([t, classes, &shown](MessengerServer& s) {
    shown = s.ShowOtherDialog(t, classes);
    return shown != nullptr;
  });
  return shown;
}

// ---- Inspection
// --------------------------------------------------------------------------------------------------

ConversationView MessengerStandIn::View(const Conversation& c) const {
  ConversationView v;
  v.id = c.id;
  v.title = ToUtf8(c.title);
  v.hwnd = server() ? server()->WindowOf(c.id) : nullptr;
  v.participants = Utf8All(c.participants);
  v.history = ToUtf8(c.history);
  v.voice = c.voice;
  v.visible = v.hwnd && IsWindowVisible(v.hwnd);
  v.minimized = v.hwnd && IsIconic(v.hwnd);
  return v;
}

std::vector<ConversationView> MessengerStandIn::Conversations() const {
  std::vector<ConversationView> out;
  for (const Conversation& c : state_.model.Conversations()) out.push_back(View(c));
  return out;
}

std::optional<ConversationView> MessengerStandIn::ConversationOf(const std::string& signin) const {
  const Conversation* c = state_.model.FindConversationOf(FromUtf8(signin));
  if (!c) return std::nullopt;
  return View(*c);
}

std::vector<DialogView> MessengerStandIn::Dialogs() const {
  std::vector<DialogView> out;
  if (!server()) return out;
  for (const DialogRecord& d : server()->dialogs()) {
    DialogView v{d.hwnd, ToUtf8(d.title), d.confirmation, {}, Utf8All(d.child_classes)};
    if (const Conversation* c = state_.model.FindConversation(d.conversation))
      v.conversation = ToUtf8(c->title);
    out.push_back(v);
  }
  return out;
}

std::vector<ContactView> MessengerStandIn::Contacts() const {
  std::vector<ContactView> out;
  for (const Contact& c : state_.model.Contacts())
    out.push_back({ToUtf8(c.signin), ToUtf8(c.friendly), c.status});
  return out;
}

LONG MessengerStandIn::MyStatus() const { return state_.model.MyStatus(); }

Language MessengerStandIn::language() const { return state_.model.language(); }

bool MessengerStandIn::WizardOpened() const { return state_.wizard_opened; }

HWND MessengerStandIn::MainWindow() const { return server() ? server()->main_window() : nullptr; }

}  // namespace world::messenger
