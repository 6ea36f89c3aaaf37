// Messenger's UI thread: its windows (a hidden call window that serves automation calls and the
// world's commands, the main window, conversation windows, dialogs) and the message loop. It
// listens to the model and turns every change into windows, automation events and transcript
// lines. Everything here runs on Messenger's thread.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "world/core/reporter.h"
#include "world/messenger/call_window.h"
#include "world/messenger/faults.h"
#include "world/messenger/model.h"

namespace world::messenger {

// What the world keeps while Messenger comes and goes: Messenger's stored settings (contact
// list, the user's status, language) and the world's own knobs.
struct MessengerState {
  Model model;
  FaultPlan faults;
  bool wizard_opened = false;
  Reporter* reporter = nullptr;
};

// An automation event's argument, in the event's own parameter order.
struct EventArg {
  enum class Kind { kLong, kContact, kWindow };
  Kind kind = Kind::kLong;
  LONG value = 0;        // kLong
  Text signin;           // kContact
  int conversation = 0;  // kWindow
  HWND hwnd = nullptr;   // kWindow: the window's handle when the event was raised
  static EventArg Long(LONG v) { return EventArg{Kind::kLong, v, {}, 0, nullptr}; }
  static EventArg Contact(const Text& s) { return EventArg{Kind::kContact, 0, s, 0, nullptr}; }
  static EventArg Window(int id, HWND h) { return EventArg{Kind::kWindow, 0, {}, id, h}; }
};

// Messenger's automation events (the automation layer gives them their dispatch ids).
enum class MessengerEvent {
  kSignedIn,
  kSignedOut,
  kContactAdded,
  kContactRemoved,
  kContactStatusChanged,
  kWindowOpened,
  kWindowClosed,
  kParticipantJoined,
  kParticipantLeft,
};

// Where Messenger's automation events go (the advised sinks).
class EventOutlet {
 public:
  virtual ~EventOutlet() = default;
  virtual void Fire(MessengerEvent event, const std::vector<EventArg>& args) = 0;
};

// A dialog Messenger shows: its end-of-call confirmation or one the world asked for.
struct DialogRecord {
  HWND hwnd = nullptr;
  bool confirmation = false;
  int conversation = 0;  // the confirmation's conversation
  Text title;
  std::vector<Text> child_classes;
};

class MessengerServer : public ModelListener {
 public:
  // `vanish` ends Messenger's process at once, from inside a call; it does not return.
  MessengerServer(MessengerState& state, EventOutlet& events, std::function<void()> vanish);
  ~MessengerServer() override;
  MessengerServer(const MessengerServer&) = delete;
  MessengerServer& operator=(const MessengerServer&) = delete;

  // Registers the window classes and creates the call window and the hidden main window.
  bool Create();
  // The message loop, until Quit.
  void Run();
  void Quit();
  CallWindow& calls() { return *calls_; }

  // ---- Serving the program's automation calls -------------------------------------------------
  // Runs `body` for the named operation unless the world made it fail or vanish.
  HRESULT Serve(const char* op, const std::function<HRESULT()>& body);
  HWND main_window() const { return main_; }
  // The conversation's window, or null when it is closed.
  HWND WindowOf(int conversation) const;
  // InstantMessage and StartVoice: the one-to-one conversation, in front; 0 when not possible.
  int OpenForUser(const Text& signin, bool invite);
  void ShowMain();
  bool ShowConversation(int conversation);
  // MediaWizard: Messenger's audio and video setup wizard, opened (or brought to the front when
  // it is open already) and left for the user to finish or cancel.
  HWND ShowWizard();
  // The program's or the user's request to close a conversation window: with a running call
  // Messenger asks first, otherwise it closes at once. False for a closed conversation.
  bool RequestClose(int conversation);
  void Report(const std::string& source, const std::string& text);
  Model& model() { return state_.model; }
  MessengerState& state() { return state_; }

  // ---- The world's commands ----------------------------------------------------------------------
  // The contact's one-to-one conversation, shown without taking the foreground.
  int OpenForContact(const Text& signin);
  HWND ShowOtherDialog(const Text& title, const std::vector<Text>& child_classes);
  const std::vector<DialogRecord>& dialogs() const { return dialogs_; }

  // ---- ModelListener ------------------------------------------------------------------------------
  void OnSignedIn() override;
  void OnSignedOut() override;
  void OnContactAdded(const Text& signin) override;
  void OnContactRemoved(const Text& signin) override;
  void OnContactStatusChanged(const Text& signin, LONG status) override;
  void OnConversationOpened(const Conversation& c) override;
  void OnConversationClosed(const Conversation& c) override;
  void OnParticipantJoined(const Conversation& c, const Text& signin) override;
  void OnParticipantLeft(const Conversation& c, const Text& signin) override;
  void OnHistoryLine(const Conversation& c, const Text& line) override;

 private:
  static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ConversationProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static MessengerServer* From(HWND hwnd);

  int ConversationOf(HWND hwnd) const;
  void OnShortcut(int conversation, WPARAM vk);
  void OnDialogCommand(HWND dialog, WORD id);
  HWND CreateDialogFromItems(const Text& title, HWND owner, const std::vector<struct DialogItem>& items);
  void ForgetDialog(HWND dialog);
  void ShowConfirmation(int conversation);

  MessengerState& state_;
  EventOutlet& events_;
  std::function<void()> vanish_;
  std::unique_ptr<CallWindow> calls_;
  HWND main_ = nullptr;
  std::map<int, HWND> windows_;  // open conversations' windows
  std::vector<DialogRecord> dialogs_;
  int cascade_ = 0;
};

}  // namespace world::messenger
