// The Messenger stand-in as the world drives it (the tests and the tellbud-sim console): start
// and quit Messenger, act as the user and the contacts, inject faults and look at what Messenger
// shows. Texts are UTF-8. Commands run on Messenger's thread (posted to it, never waiting on a
// program's thread) and return once the desktop is idle again; they return false when Messenger
// is not running or the command does not apply.
//
// Messenger's stored settings outlive a run: the contact list, the user's status and the
// language stay as they were when Messenger quit and are there again on the next Start; the
// conversations, their windows and every object handed to a program do not.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "world/core/reporter.h"
#include "world/messenger/server.h"

namespace world::messenger {

struct ServerLink;

struct ConversationView {
  int id = 0;
  std::string title;
  HWND hwnd = nullptr;
  std::vector<std::string> participants;  // sign-in names
  std::string history;
  VoiceState voice = VoiceState::kNone;
  bool visible = false;
  bool minimized = false;
};

struct DialogView {
  HWND hwnd = nullptr;
  std::string title;
  bool confirmation = false;  // Messenger's end-of-call confirmation
  std::string conversation;   // the confirmation's window title
  std::vector<std::string> child_classes;
};

struct ContactView {
  std::string signin;
  std::string friendly;
  LONG status = kStatusOffline;
};

class MessengerStandIn {
 public:
  // Registers Messenger's automation class on the current desktop. `reporter` (may be null)
  // receives the transcript lines.
  explicit MessengerStandIn(Reporter* reporter = nullptr);
  ~MessengerStandIn();
  MessengerStandIn(const MessengerStandIn&) = delete;
  MessengerStandIn& operator=(const MessengerStandIn&) = delete;

  // ---- Lifetime ------------------------------------------------------------------------------
  bool Start();
  bool Quit();
  bool IsRunning() const;
  DWORD ProcessId() const { return pid_; }

  // ---- The user -----------------------------------------------------------------------------------
  bool SignIn();
  bool SignOut();
  bool SetStatus(LONG status);
  // Lines written and windows opened from now on use the language (also while not running).
  void SetLanguage(Language language);

  // ---- Faults (also while not running) -----------------------------------------------------
  // `count`: 1 once, N times, FaultPlan::kUntilHealed. False for an unknown operation name.
  bool Fail(const std::string& op, HRESULT hr, int count = 1);
  void Heal();
  // Whether `op` fails until healed.
  bool FailsUntilHealed(const std::string& op) const;
  // Messenger quits while it serves the next call of `op`; that call fails with 0x800706BE
  // (RPC_S_CALL_FAILED) and every later call of its objects with 0x800706BA.
  bool VanishDuring(const std::string& op);
  // The next event with a window argument carries it as `vt` (e.g. VT_I4) instead.
  void CorruptNextWindowArgument(unsigned short vt);

  // ---- Contacts ------------------------------------------------------------------------------------
  bool AddContact(const std::string& signin, const std::string& friendly, LONG status);
  bool RemoveContact(const std::string& signin);
  bool SetContactStatus(const std::string& signin, LONG status);

  // ---- The contacts' actions and chat --------------------------------------------------------------
  // The contact invites the user (opening the conversation window when needed).
  bool IncomingCall(const std::string& signin);
  // The contact accepts / declines the user's pending invitation.
  bool RemoteAnswer(const std::string& signin);
  bool RemoteReject(const std::string& signin);
  // The contact hangs up: a running call ends, the contact's own pending invitation is
  // withdrawn, the user's pending invitation is declined.
  bool RemoteHangup(const std::string& signin);
  bool Chat(const std::string& signin, const std::string& text);
  // `other` joins / leaves the conversation of `signin`.
  bool Join(const std::string& signin, const std::string& other);
  bool Leave(const std::string& signin, const std::string& other);

  // ---- The user's actions on windows -------------------------------------------------------------
  // Closes the conversation as its close box does (asking first when a call runs).
  bool UserCloses(const std::string& signin);
  bool MinimizeWindow(const std::string& signin);
  bool RestoreWindow(const std::string& signin);
  bool HideWindow(const std::string& signin);
  // Another top-level "#32770" dialog of Messenger with this title and these child classes, in
  // order (each child's text is its class name); a click on any of its buttons closes it.
  HWND ShowOtherDialog(const std::string& title, const std::vector<std::string>& child_classes);

  // ---- Inspection ------------------------------------------------------------------------------------
  std::vector<ConversationView> Conversations() const;
  std::optional<ConversationView> ConversationOf(const std::string& signin) const;
  std::vector<DialogView> Dialogs() const;
  std::vector<ContactView> Contacts() const;
  LONG MyStatus() const;
  Language language() const;
  bool WizardOpened() const;
  HWND MainWindow() const;

 private:
  // Runs `command` on Messenger's thread and returns its result once the desktop is idle.
  bool Do(std::function<bool(MessengerServer&)> command);
  // The same for a command on the conversation the world means by a contact.
  // Runs `command` on the conversation the world means by `signin`; with `call`, the one whose
  // call that contact acts on (Model::FindCallOf).
  bool DoOnConversation(const std::string& signin, std::function<bool(MessengerServer&, int)> command,
                        bool call = false);
  MessengerServer* server() const;
  ConversationView View(const Conversation& c) const;

  MessengerState state_;
  std::shared_ptr<ServerLink> link_;
  DWORD pid_ = 0;
};

}  // namespace world::messenger
