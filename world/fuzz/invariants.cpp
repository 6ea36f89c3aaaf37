#include "world/fuzz/invariants.h"

#include <sim/controls.h>
#include <sim/desktop.h>
#include <sim/handles.h>
#include <sim/icons.h>
#include <sim/tray.h>

#include <algorithm>

#include <framework/wnd.h>

#include "app/paths.h"
#include "phone/model_code.h"
#include "ui/tellbud_dlg.h"
#include "world/common/com_object.h"
#include "world/core/exe_folder.h"
#include "world/core/ini_edit.h"
#include "world/core/text.h"
#include "world/handset/stand_in.h"
#include "world/messenger/language.h"
#include "world/messenger/stand_in.h"

namespace fuzz {

namespace {

using world::messenger::VoiceState;

// Bounds on what the program holds; generous, so that only growth without end breaks them.
constexpr size_t kMaxIcons = 16;
constexpr size_t kMaxWindows = 100;
constexpr size_t kMaxHandles = 64;
constexpr long kMaxComObjects = 3000;

const char kSectionOfHandEdits[] = "UserNotes";

CTellbudDlg* MainDialog(world::World& w) {
  auto hwnd = w.TellbudMainWindow();
  return hwnd ? dynamic_cast<CTellbudDlg*>(CWnd::FromHandlePermanent(*hwnd)) : nullptr;
}

std::string Seconds(int64_t ms) {
  return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string Trim(const std::string& s) {
  size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SignedIn(LONG status) { return status >= 2 && status <= 66; }

// The language the user told Tellbud Messenger runs in: Tellbud.ini's [LanguageType] 0=, a
// prefix of the language's name (English when missing or unknown), as Tellbud reads it.
world::messenger::Language TellbudLanguage(world::World& w) {
  using world::messenger::Language;
  // A running Tellbud reads the language file it chose at start or in Select language: deleting
  // or editing Tellbud.ini meanwhile does not change it.
  if (MainDialog(w) && g_szLanguagePath[0]) {
    std::string file = Lower(world::Utf8(std::u16string(g_szLanguagePath)));
    if (file.ends_with("\\german.ini")) return Language::kGerman;
    if (file.ends_with("\\french.ini")) return Language::kFrench;
    if (file.ends_with("\\english.ini")) return Language::kEnglish;
  }
  auto path = world::FileBesideExe(w.exe_folder(), "Tellbud.ini");
  std::vector<std::string> lines;
  std::string why, section, value;
  if (!path || !std::filesystem::exists(*path) || !world::ReadTextLines(*path, &lines, &why))
    return Language::kEnglish;
  for (const std::string& raw : lines) {
    std::string line = Trim(raw);
    if (!line.empty() && line[0] == '[') section = Lower(Trim(line.substr(1, line.size() - 2)));
    size_t eq = line.find('=');
    if (section == "languagetype" && eq != std::string::npos && Trim(line.substr(0, eq)) == "0")
      value = Lower(Trim(line.substr(eq + 1)));
  }
  if (value.empty()) return Language::kEnglish;
  if (std::string("german").starts_with(value)) return Language::kGerman;
  if (std::string("french").starts_with(value)) return Language::kFrench;
  return Language::kEnglish;
}

// Tellbud reads Messenger's conversations through the language file the user chose for it;
// while Messenger writes in another language, it cannot follow calls at all.
bool FollowsCalls(world::World& w) { return w.messenger().language() == TellbudLanguage(w); }

// Where the newest status line of `language` in `history` starts (its longest fixed part, found
// last), or npos.
size_t NewestStatusLine(const std::string& history, world::messenger::Language language) {
  using world::messenger::StatusLine;
  const world::messenger::Phrasebook& book = world::messenger::PhrasebookFor(language);
  size_t newest = std::string::npos;
  for (int line = 0; line < static_cast<int>(StatusLine::kCount); ++line) {
    std::string text = world::messenger::ToUtf8(book.lines[line]);
    std::string fixed;
    for (size_t at = 0; at <= text.size();) {
      size_t mark = text.find("%1", at);
      std::string part = text.substr(at, mark == std::string::npos ? std::string::npos : mark - at);
      if (part.size() > fixed.size()) fixed = part;
      if (mark == std::string::npos) break;
      at = mark + 2;
    }
    size_t found = history.rfind(fixed);
    if (found != std::string::npos && (newest == std::string::npos || found > newest)) newest = found;
  }
  return newest;
}

// Tellbud reads a conversation's calls through the phrases of its own language file: a status
// line Messenger wrote while it ran in another language says nothing to it, so while the newest
// status line of a conversation is one of those, the call state it shows is beyond what Tellbud
// can read, until Messenger writes a line in Tellbud's language.
bool NewestStatusLineForeign(const world::messenger::ConversationView& c, world::messenger::Language own) {
  using world::messenger::Language;
  size_t readable = NewestStatusLine(c.history, own);
  for (Language other : {Language::kEnglish, Language::kGerman, Language::kFrench}) {
    if (other == own) continue;
    size_t foreign = NewestStatusLine(c.history, other);
    if (foreign != std::string::npos && (readable == std::string::npos || foreign > readable)) return true;
  }
  return false;
}

bool AnyConversationReadAmiss(world::World& w) {
  if (!w.messenger().IsRunning()) return false;
  for (const auto& c : w.messenger().Conversations())
    if (NewestStatusLineForeign(c, TellbudLanguage(w))) return true;
  return false;
}

bool AnyConversation(world::World& w, std::initializer_list<VoiceState> states) {
  if (!w.messenger().IsRunning()) return false;
  for (const auto& c : w.messenger().Conversations())
    if (std::find(states.begin(), states.end(), c.voice) != states.end()) return true;
  return false;
}

// ---- The checks ----------------------------------------------------------------------------------------

std::optional<std::string> OneTrayIcon(Checker&, world::World& w) {
  size_t icons = sim::TrayIcons().size();
  bool runs = !w.RunningTellbuds().empty();
  if (runs && icons != 1) return std::to_string(icons) + " tray icons while Tellbud runs";
  if (!runs && icons != 0) return std::to_string(icons) + " tray icons after Tellbud ended";
  return std::nullopt;
}

std::optional<std::string> OneInstance(Checker& c, world::World& w) {
  size_t running = w.RunningTellbuds().size();
  int64_t since = c.HeldSince("one-instance", running > 1, w.Now());
  if (running > 1 && w.Now() - since > kCatchUpMs)
    return std::to_string(running) + " Tellbud processes for " + Seconds(w.Now() - since);
  return std::nullopt;
}

std::optional<std::string> OnlineRows(Checker&, world::World& w) {
  CTellbudDlg* dlg = MainDialog(w);
  auto list = w.TellbudContactList();
  auto view = list ? sim::InspectListView(*list) : std::nullopt;
  if (!dlg || !view) return std::nullopt;
  size_t online = 0;
  std::vector<size_t> separators;
  for (size_t i = 0; i < view->rows.size(); ++i) {
    if (view->rows[i].image == 0) ++online;
    if (view->rows[i].image < 0) separators.push_back(i);
  }
  if (online != dlg->m_nOnlineCount)
    return "the online count is " + std::to_string(dlg->m_nOnlineCount) + " but " + std::to_string(online) +
           " rows are online";
  if (dlg->m_bMSNConnected && separators.size() != 1)
    return std::to_string(separators.size()) + " separator rows while connected";
  if (!dlg->m_bMSNConnected && !separators.empty()) return "a separator row while not connected";
  if (!separators.empty() && separators.front() != online)
    return "the separator is row " + std::to_string(separators.front() + 1) + " after " +
           std::to_string(online) + " online rows";
  return std::nullopt;
}

// Messenger's interface tells a call's state only through the conversation's history: while
// get_History fails until healed, a ringing call that ended cannot be told from one that still
// rings. Once Messenger heals, the usual grace applies.
std::optional<std::string> RingsOnlyWithCall(Checker& c, world::World& w) {
  bool bad = FollowsCalls(w) && w.handset().State().ringing &&
             !AnyConversation(w, {VoiceState::kIncomingPending}) && !AnyConversationReadAmiss(w) &&
             !w.messenger().FailsUntilHealed("get_History");
  int64_t since = c.HeldSince("ring-only-with-call", bad, w.Now());
  if (bad && w.Now() - since > kCatchUpMs)
    return "the handset has rung for " + Seconds(w.Now() - since) + " with no call ringing";
  return std::nullopt;
}

// Tellbud learns of a call only by reading Messenger: the connection (Create, get_MyStatus,
// get_MyContacts, FindConnectionPoint, Advise, get_Window, Show, get_HWND), the windows open before
// it connected (recognised by their titles among the contact list's names, which takes get_Count,
// Item, get_SigninName, get_FriendlyName and get_Status; then InstantMessage, get_HWND) and the
// histories (get_History, get_Contacts, Item, get_SigninName). While one of them fails until
// healed, a call Tellbud did not already hold cannot be seen by it (after a restart, say); once
// Messenger heals, the usual grace applies again.
bool BlindToNewCalls(world::World& w) {
  for (const char* op : {"Create", "get_MyStatus", "get_MyContacts", "FindConnectionPoint", "Advise",
                         "get_Window", "Show", "get_HWND", "InstantMessage", "get_History", "get_Contacts",
                         "Item", "get_Count", "get_SigninName", "get_FriendlyName", "get_Status"})
    if (w.messenger().FailsUntilHealed(op)) return true;
  return false;
}

// A conversation window open before Tellbud connected (after a restart, say) is known to Tellbud
// only by its title: Messenger's interface gives a conversation's object only for a contact
// (InstantMessage), and lists no windows. When the title names neither the participant's sign-in
// name nor the name a listed contact with that sign-in name goes by (the contact was removed, or
// the title still names someone who left), Tellbud cannot tell whose window it is.
bool TitleNamesParticipant(world::World& w, const world::messenger::ConversationView& c) {
  std::string suffix =
      world::messenger::ToUtf8(world::messenger::PhrasebookFor(w.messenger().language()).window_suffix);
  std::string name = c.title.size() >= suffix.size() && c.title.ends_with(suffix)
                         ? c.title.substr(0, c.title.size() - suffix.size())
                         : c.title;
  const std::string& participant = c.participants.front();
  if (Lower(name) == Lower(participant)) return true;
  for (const auto& contact : w.messenger().Contacts())
    if (Lower(contact.signin) == Lower(participant) && contact.friendly == name) return true;
  return false;
}

// Messenger gives one conversation for a contact (InstantMessage): the first one-to-one
// conversation with them. A contact can be alone in two (one was a group conversation the others
// left); the window Messenger does not give cannot be reached through its interface, so a Tellbud
// that started after it opened cannot follow its call.
bool GivenForParticipant(world::World& w, const world::messenger::ConversationView& c) {
  for (const auto& other : w.messenger().Conversations())
    if (other.participants.size() == 1 && Lower(other.participants.front()) == Lower(c.participants.front()))
      return other.id == c.id;
  return false;
}

// While an adaptor's handset is lifted on the telephone line, or the line was active moments ago,
// the handset is the telephone's: Tellbud pauses the scan by design and the handset cannot end a
// Messenger call then (putting it down ends the telephone call). Once the line is left, the usual
// grace applies.
bool LineHoldsHandset(const CTellbudDlg& dlg) {
  return IsAdaptor(dlg.m_nPhoneModel) &&
         ((dlg.m_nChannel == CHANNEL_PSTN && dlg.m_bOffHook) || dlg.m_bMonitorPaused);
}

// A call in a conversation with one contact, which Tellbud follows, can be ended from the handset:
// Tellbud shows it ringing or talking, or holds it as the call the handset answered. Conversations
// with several contacts are followed only while they hold the handset's call.
std::optional<std::string> HandsetEndsCall(Checker& c, world::World& w) {
  CTellbudDlg* dlg = MainDialog(w);
  auto handset = w.handset().State();
  bool followed_call = false;
  if (w.messenger().IsRunning())
    for (const auto& conv : w.messenger().Conversations())
      if ((conv.voice == VoiceState::kTalking || conv.voice == VoiceState::kOutgoingPending) &&
          conv.participants.size() == 1 && !NewestStatusLineForeign(conv, TellbudLanguage(w)) &&
          TitleNamesParticipant(w, conv) && (GivenForParticipant(w, conv) || !c.OpenBeforeTellbud(conv.id)))
        followed_call = true;
  bool holds_call = dlg && (dlg->m_nCallState == CALL_TALKING || dlg->m_nCallState == CALL_RINGING ||
                            (dlg->m_bHandsetCall && dlg->m_pCurConversation));
  bool bad = dlg && FollowsCalls(w) && handset.plugged && handset.open && followed_call && !holds_call &&
             !LineHoldsHandset(*dlg) && !BlindToNewCalls(w);
  int64_t since = c.HeldSince("handset-ends-call", bad, w.Now());
  if (bad && w.Now() - since > kCatchUpMs)
    return "a call has run in Messenger for " + Seconds(w.Now() - since) + " while the call state is " +
           std::to_string(dlg->m_nCallState);
  return std::nullopt;
}

// Whether a line of an INI file is one the profile functions understand.
bool IniLine(const std::string& raw) {
  std::string line = Trim(raw);
  return line.empty() || line[0] == ';' || (line[0] == '[' && line.back() == ']') ||
         line.find('=') != std::string::npos;
}

std::optional<std::string> IniIntact(Checker& c, world::World& w) {
  std::map<std::string, std::vector<std::string>> files;
  for (const char* name : {"Tellbud.ini", "Custom.ini"}) {
    auto path = world::FileBesideExe(w.exe_folder(), name);
    if (!path || !std::filesystem::exists(*path)) continue;
    std::string why;
    if (!world::ReadTextLines(*path, &files[name], &why))
      return std::string(name) + " cannot be read: " + why;
    const auto& lines = files[name];
    for (size_t i = 0; i < lines.size(); ++i)
      if (!IniLine(lines[i]))
        return std::string(name) + " line " + std::to_string(i + 1) + " is not INI: " + lines[i];
  }
  for (const auto& [where, value] : c.hand_edits()) {
    const std::vector<std::string>& lines = files[where[0]];
    std::string section;
    std::optional<std::string> found;
    for (const std::string& raw : lines) {
      std::string line = Trim(raw);
      if (!line.empty() && line[0] == '[') {
        section = Lower(Trim(line.substr(1, line.size() - 2)));
        continue;
      }
      size_t eq = line.find('=');
      if (found || eq == std::string::npos || section != Lower(where[1])) continue;
      if (Lower(Trim(line.substr(0, eq))) == Lower(where[2])) found = Trim(line.substr(eq + 1));
    }
    if (!found) return where[0] + " lost [" + where[1] + "] " + where[2] + "=" + value;
    if (*found != Trim(value))
      return where[0] + " [" + where[1] + "] " + where[2] + " is '" + *found + "', not '" + value + "'";
  }
  return std::nullopt;
}

size_t WindowsOf(DWORD pid) {
  size_t count = 0;
  std::vector<HWND> pending;
  for (HWND top : sim::TopLevelWindows()) {
    auto info = sim::InspectWindow(top);
    if (info && info->process_id == pid) pending.push_back(top);
  }
  while (!pending.empty()) {
    HWND hwnd = pending.back();
    pending.pop_back();
    ++count;
    for (HWND child : sim::ChildWindows(hwnd)) pending.push_back(child);
  }
  return count;
}

std::optional<std::string> Bounded(Checker&, world::World& w) {
  for (DWORD pid : w.RunningTellbuds()) {
    if (size_t icons = sim::LiveIconCount(pid); icons > kMaxIcons)
      return "Tellbud holds " + std::to_string(icons) + " icons";
    if (size_t handles = sim::OpenHandleCount(pid); handles > kMaxHandles)
      return "Tellbud holds " + std::to_string(handles) + " kernel handles";
    if (size_t windows = WindowsOf(pid); windows > kMaxWindows)
      return "Tellbud has " + std::to_string(windows) + " windows";
  }
  if (long objects = world::LiveComObjects(); objects > kMaxComObjects)
    return std::to_string(objects) + " COM objects of the stand-ins are alive";
  return std::nullopt;
}

// ---- Liveness: once the world is quiet, the program shows the truth -------------------------------------

std::optional<std::string> TrayTellsTruth(Checker&, world::World& w) {
  auto icon = world::TellbudTrayIcon(w);
  if (!icon || w.RunningTellbuds().empty()) return std::nullopt;
  std::string tip = world::Utf8(icon->tip);
  bool plugged = w.handset().State().plugged;
  bool messenger = w.messenger().IsRunning();
  bool signed_in = messenger && SignedIn(w.messenger().MyStatus());
  std::vector<std::string> expected;
  if (!plugged) {
    expected.push_back("Can't find USB Phone");
    if (!signed_in) expected.push_back("Can't find Messenger");
  } else if (!messenger) {
    expected.push_back("Can't find Messenger");
  } else if (signed_in) {
    expected.push_back("Online");
  } else {
    return std::nullopt;  // signed out: the tray keeps what it showed
  }
  if (std::find(expected.begin(), expected.end(), tip) != expected.end()) return std::nullopt;
  return "the tray says '" + tip + "' but should say '" + expected.front() + "'";
}

std::optional<std::string> CallStateReady(Checker&, world::World& w) {
  CTellbudDlg* dlg = MainDialog(w);
  // A call Messenger ended in another language is still running as far as Tellbud can read.
  if (!dlg || !FollowsCalls(w) || AnyConversationReadAmiss(w)) return std::nullopt;
  bool plugged = w.handset().State().plugged;
  if (dlg->m_nCallState == CALL_READY || (!plugged && dlg->m_nCallState == CALL_NO_HANDSET))
    return std::nullopt;
  return "the call state is " + std::to_string(dlg->m_nCallState) + " in a quiet world";
}

std::optional<std::string> RowsTellTruth(Checker&, world::World& w) {
  CTellbudDlg* dlg = MainDialog(w);
  auto list = w.TellbudContactList();
  auto view = list ? sim::InspectListView(*list) : std::nullopt;
  if (!dlg || !view || !dlg->m_bMSNConnected || !w.messenger().IsRunning() ||
      !SignedIn(w.messenger().MyStatus()))
    return std::nullopt;
  // Contacts told apart only by letter case are one row: their state is ambiguous, skip them.
  std::map<std::string, int> names;
  for (const auto& contact : w.messenger().Contacts()) ++names[Lower(contact.signin)];
  std::set<std::string> shown;
  for (const auto& row : view->rows)
    if (row.image == 0 && row.texts.size() > 2) shown.insert(Lower(world::Utf8(row.texts[2])));
  for (const auto& contact : w.messenger().Contacts()) {
    std::string name = Lower(contact.signin);
    if (names[name] > 1 || (contact.status != 1 && contact.status != 2)) continue;
    bool online = contact.status == 2;
    if (online != shown.contains(name))
      return "contact '" + contact.signin + "' is " + (online ? "online" : "offline") +
             " but its row says otherwise";
  }
  return std::nullopt;
}

}  // namespace

std::vector<Invariant> StandardInvariants() {
  return {
      {"one-tray-icon", OneTrayIcon},
      {"one-instance", OneInstance},
      {"online-rows", OnlineRows},
      {"ring-only-with-call", RingsOnlyWithCall},
      {"handset-ends-call", HandsetEndsCall},
      {"ini-intact", IniIntact},
      {"bounded", Bounded},
      {"tray-tells-truth", TrayTellsTruth, true},
      {"call-state-ready", CallStateReady, true},
      {"rows-tell-truth", RowsTellTruth, true},
  };
}

Checker::Checker(std::vector<Invariant> invariants, std::set<std::string> skip)
    : invariants_(std::move(invariants)), skip_(std::move(skip)) {}

void Checker::NoteCommand(const Words& words, bool succeeded) {
  if (succeeded && words.size() == 3 && words[0] == "file" && words[1] == "delete") {
    std::erase_if(hand_edits_, [&](const auto& edit) { return edit.first[0] == words[2]; });
    return;
  }
  if (!succeeded || words.size() != 5 || words[0] != "ini" || words[2] != kSectionOfHandEdits) return;
  hand_edits_[{words[1], words[2], words[3]}] = words[4];
}

int64_t Checker::HeldSince(const std::string& condition, bool holds, int64_t now) {
  if (!holds) {
    held_since_.erase(condition);
    return now;
  }
  return held_since_.try_emplace(condition, now).first->second;
}

void Checker::NoteTellbud(world::World& w) {
  std::vector<DWORD> running = w.RunningTellbuds();
  DWORD now = running.empty() ? 0 : running.front();
  if (now == tellbud_) return;
  tellbud_ = now;
  open_before_tellbud_.clear();
  if (now && w.messenger().IsRunning())
    for (const auto& conv : w.messenger().Conversations()) open_before_tellbud_.insert(conv.id);
}

std::optional<Violation> Checker::Check(world::World& w, bool quiet) {
  NoteTellbud(w);
  for (const Invariant& invariant : invariants_) {
    if (skip_.contains(invariant.name) || (invariant.after_quiet_only && !quiet)) continue;
    if (auto broken = invariant.check(*this, w)) return Violation{invariant.name, *broken};
  }
  return std::nullopt;
}

}  // namespace fuzz
