// What Messenger knows, without windows or COM: the user's status, the contact list, the open
// conversations with their participants and histories, and each conversation's voice
// conversation as a state machine that writes Messenger's status lines. Every change is told to
// a listener, from which the stand-in makes windows, automation events and transcript lines.
#pragma once

#include <windows.h>

#include <vector>

#include "world/messenger/language.h"
#include "world/messenger/text.h"

namespace world::messenger {

// The user's status values (get_MyStatus) the stand-in gives itself; the world may set others.
constexpr LONG kStatusOffline = 1;
constexpr LONG kStatusOnline = 2;

// Whether Messenger is signed in to the service with this status. Offline (1), unknown (0) and
// the local states of signing in or out (0x100 and above) are not.
bool IsSignedInStatus(LONG status);

enum class VoiceState { kNone, kIncomingPending, kOutgoingPending, kTalking };

struct Contact {
  Text signin;    // as first entered
  Text friendly;  // the display name
  LONG status = kStatusOffline;
};

struct Conversation {
  int id = 0;
  Text title;
  std::vector<Text> participants;  // the other participants' sign-in names, in joining order
  Text history;                    // lines separated by "\r\n"; it only grows
  VoiceState voice = VoiceState::kNone;
};

class ModelListener {
 public:
  virtual ~ModelListener() = default;
  virtual void OnSignedIn() {}
  virtual void OnSignedOut() {}
  virtual void OnContactAdded(const Text& /*signin*/) {}
  virtual void OnContactRemoved(const Text& /*signin*/) {}
  virtual void OnContactStatusChanged(const Text& /*signin*/, LONG /*status*/) {}
  virtual void OnConversationOpened(const Conversation&) {}
  // Told while the conversation still exists, just before it goes.
  virtual void OnConversationClosed(const Conversation&) {}
  virtual void OnParticipantJoined(const Conversation&, const Text& /*signin*/) {}
  virtual void OnParticipantLeft(const Conversation&, const Text& /*signin*/) {}
  virtual void OnHistoryLine(const Conversation&, const Text& /*line*/) {}
};

class Model {
 public:
  void SetListener(ModelListener* listener) { listener_ = listener; }

  // ---- The user ------------------------------------------------------------------------------
  LONG MyStatus() const { return status_; }
  bool SignedIn() const { return IsSignedInStatus(status_); }
  void SignIn() { SetStatus(kStatusOnline); }
  void SignOut() { SetStatus(kStatusOffline); }
  // Sets any status value; crossing between signed out and signed in tells the listener, and
  // signing out ends every voice conversation as the contact's hanging up would.
  void SetStatus(LONG status);

  // ---- Contacts (in Messenger's order, which is the order they were added) -------------------
  // False when the name is empty or the contact exists already (names compare without case).
  bool AddContact(const Text& signin, const Text& friendly, LONG status);
  bool RemoveContact(const Text& signin);
  // False for an unknown contact; an unchanged status tells nobody.
  bool SetContactStatus(const Text& signin, LONG status);
  const Contact* FindContact(const Text& signin) const;
  const std::vector<Contact>& Contacts() const { return contacts_; }
  // The friendly name of a listed contact, else the sign-in name itself.
  Text DisplayName(const Text& signin) const;

  // ---- Language (applies to the windows opened and lines written from now on) ------------------
  Language language() const { return language_; }
  void SetLanguage(Language language) { language_ = language; }

  // ---- Conversations --------------------------------------------------------------------------
  const std::vector<Conversation>& Conversations() const { return conversations_; }
  const Conversation* FindConversation(int id) const;
  // The conversation with exactly this one other participant.
  const Conversation* FindOneToOne(const Text& signin) const;
  // The conversation the world means by a contact: the one-to-one one, else the first whose first
  // participant the contact is.
  const Conversation* FindConversationOf(const Text& signin) const;
  // The conversation whose call a contact answers, declines or ends: a one-to-one conversation
  // with them that has a call (a contact can be alone in two, after the others left a group
  // conversation), else a group conversation of theirs with a call, else the conversation the
  // world means by them.
  const Conversation* FindCallOf(const Text& signin) const;
  // Returns the one-to-one conversation with the contact, opening it when there is none; 0 when
  // the name is empty.
  int OpenOneToOne(const Text& signin);
  bool CloseConversation(int id);
  bool Join(int id, const Text& signin);
  bool Leave(int id, const Text& signin);
  bool Chat(int id, const Text& signin, const Text& message);
  // Messenger went away: its conversations are gone, and nobody is told.
  void DropConversations() { conversations_.clear(); }

  // ---- Voice conversations (each returns false and changes nothing when the step does not
  // apply in the conversation's current state) ---------------------------------------------------
  bool ContactInvites(int id);   // none -> incoming invitation
  bool UserInvites(int id);      // none -> outgoing invitation
  bool UserAccepts(int id);      // incoming invitation -> talking
  bool UserDeclines(int id);     // incoming invitation -> none
  bool UserHangsUp(int id);      // talking -> none
  bool ContactAccepts(int id);   // outgoing invitation -> talking
  bool ContactDeclines(int id);  // outgoing invitation -> none
  // The contact leaves whatever is going on: a running call ends, their own invitation is
  // withdrawn, the user's invitation is declined.
  bool ContactHangsUp(int id);

 private:
  Conversation* Find(int id);
  void Write(Conversation& conversation, StatusLine line);
  void Append(Conversation& conversation, const Text& line);
  bool Step(int id, VoiceState from, VoiceState to, std::initializer_list<StatusLine> lines);

  ModelListener* listener_ = nullptr;
  ModelListener null_listener_;
  ModelListener& listener() { return listener_ ? *listener_ : null_listener_; }

  LONG status_ = kStatusOffline;
  std::vector<Contact> contacts_;
  Language language_ = Language::kEnglish;
  std::vector<Conversation> conversations_;
  int next_id_ = 1;
};

}  // namespace world::messenger
