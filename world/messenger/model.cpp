#include "world/messenger/model.h"

#include <algorithm>

namespace world::messenger {

bool IsSignedInStatus(LONG status) { return status != 0 && status != kStatusOffline && status < 0x100; }

// ---- The user ----------------------------------------------------------------------------------

void Model::SetStatus(LONG status) {
  bool was_signed_in = SignedIn();
  status_ = status;
  if (SignedIn() == was_signed_in) return;
  if (SignedIn()) {
    listener().OnSignedIn();
    return;
  }
  for (size_t i = 0; i < conversations_.size(); ++i) ContactHangsUp(conversations_[i].id);
  listener().OnSignedOut();
}

// ---- Contacts ------------------------------------------------------------------------------------

bool Model::AddContact(const Text& signin, const Text& friendly, LONG status) {
  if (signin.empty() || FindContact(signin)) return false;
  contacts_.push_back(Contact{signin, friendly.empty() ? signin : friendly, status});
  listener().OnContactAdded(signin);
  return true;
}

bool Model::RemoveContact(const Text& signin) {
  auto it = std::find_if(contacts_.begin(), contacts_.end(),
                         [&](const Contact& c) { return SameSigninName(c.signin, signin); });
  if (it == contacts_.end()) return false;
  Text name = it->signin;
  contacts_.erase(it);
  listener().OnContactRemoved(name);
  return true;
}

bool Model::SetContactStatus(const Text& signin, LONG status) {
  auto it = std::find_if(contacts_.begin(), contacts_.end(),
                         [&](const Contact& c) { return SameSigninName(c.signin, signin); });
  if (it == contacts_.end()) return false;
  if (it->status == status) return true;
  it->status = status;
  listener().OnContactStatusChanged(it->signin, status);
  return true;
}

const Contact* Model::FindContact(const Text& signin) const {
  for (const Contact& c : contacts_)
    if (SameSigninName(c.signin, signin)) return &c;
  return nullptr;
}

Text Model::DisplayName(const Text& signin) const {
  const Contact* c = FindContact(signin);
  return c ? c->friendly : signin;
}

// ---- Conversations ---------------------------------------------------------------------------------

Conversation* Model::Find(int id) {
  for (Conversation& c : conversations_)
    if (c.id == id) return &c;
  return nullptr;
}

const Conversation* Model::FindConversation(int id) const { return const_cast<Model*>(this)->Find(id); }

const Conversation* Model::FindOneToOne(const Text& signin) const {
  for (const Conversation& c : conversations_)
    if (c.participants.size() == 1 && SameSigninName(c.participants[0], signin)) return &c;
  return nullptr;
}

const Conversation* Model::FindConversationOf(const Text& signin) const {
  if (const Conversation* c = FindOneToOne(signin)) return c;
  for (const Conversation& c : conversations_)
    if (!c.participants.empty() && SameSigninName(c.participants[0], signin)) return &c;
  return nullptr;
}

const Conversation* Model::FindCallOf(const Text& signin) const {
  auto with_call = [&](bool one_to_one) -> const Conversation* {
    for (const Conversation& c : conversations_)
      if (c.voice != VoiceState::kNone && (!one_to_one || c.participants.size() == 1) &&
          std::any_of(c.participants.begin(), c.participants.end(),
                      [&](const Text& p) { return SameSigninName(p, signin); }))
        return &c;
    return nullptr;
  };
  if (const Conversation* c = with_call(true)) return c;
  if (const Conversation* c = with_call(false)) return c;
  return FindConversationOf(signin);
}

int Model::OpenOneToOne(const Text& signin) {
  if (signin.empty()) return 0;
  if (const Conversation* existing = FindOneToOne(signin)) return existing->id;
  // A listed contact is named as the contact list spells it.
  const Contact* contact = FindContact(signin);
  Conversation c;
  c.id = next_id_++;
  c.participants.push_back(contact ? contact->signin : signin);
  c.title = WindowTitle(language_, DisplayName(signin));
  conversations_.push_back(c);
  listener().OnConversationOpened(conversations_.back());
  return c.id;
}

bool Model::CloseConversation(int id) {
  Conversation* c = Find(id);
  if (!c) return false;
  listener().OnConversationClosed(*c);
  // The listener may have changed the list; look the conversation up again.
  auto it = std::find_if(conversations_.begin(), conversations_.end(),
                         [&](const Conversation& x) { return x.id == id; });
  if (it != conversations_.end()) conversations_.erase(it);
  return true;
}

bool Model::Join(int id, const Text& signin) {
  Conversation* c = Find(id);
  if (!c || signin.empty()) return false;
  for (const Text& p : c->participants)
    if (SameSigninName(p, signin)) return false;
  const Contact* contact = FindContact(signin);
  c->participants.push_back(contact ? contact->signin : signin);
  listener().OnParticipantJoined(*c, c->participants.back());
  return true;
}

bool Model::Leave(int id, const Text& signin) {
  Conversation* c = Find(id);
  if (!c) return false;
  auto matches = [&](const Text& p) { return SameSigninName(p, signin); };
  auto it = std::find_if(c->participants.begin(), c->participants.end(), matches);
  if (it == c->participants.end()) return false;
  // The last other participant leaving ends the voice conversation with them, as their hanging
  // up would: a running call ends, an invitation either way is withdrawn.
  if (c->participants.size() == 1 && c->voice != VoiceState::kNone) {
    ContactHangsUp(id);
    c = Find(id);
    if (!c) return true;
    it = std::find_if(c->participants.begin(), c->participants.end(), matches);
    if (it == c->participants.end()) return true;
  }
  Text name = *it;
  c->participants.erase(it);
  listener().OnParticipantLeft(*c, name);
  return true;
}

bool Model::Chat(int id, const Text& signin, const Text& message) {
  Conversation* c = Find(id);
  if (!c) return false;
  Append(*c, ChatLineText(language_, DisplayName(signin), message));
  return true;
}

void Model::Append(Conversation& conversation, const Text& line) {
  if (!conversation.history.empty()) conversation.history += TEXT("\r\n");
  conversation.history += line;
  listener().OnHistoryLine(conversation, line);
}

void Model::Write(Conversation& conversation, StatusLine line) {
  Text name = conversation.participants.empty() ? Text() : DisplayName(conversation.participants[0]);
  Append(conversation, StatusLineText(language_, line, name));
}

// ---- Voice conversations -------------------------------------------------------------------------

bool Model::Step(int id, VoiceState from, VoiceState to, std::initializer_list<StatusLine> lines) {
  Conversation* c = Find(id);
  if (!c || c->voice != from) return false;
  c->voice = to;
  for (StatusLine line : lines) {
    // A listener may close the conversation while a line is being told.
    c = Find(id);
    if (!c) break;
    Write(*c, line);
  }
  return true;
}

bool Model::ContactInvites(int id) {
  return Step(id, VoiceState::kNone, VoiceState::kIncomingPending, {StatusLine::kIncomingInvitation});
}

bool Model::UserInvites(int id) {
  return Step(id, VoiceState::kNone, VoiceState::kOutgoingPending, {StatusLine::kOutgoingInvitation});
}

bool Model::UserAccepts(int id) {
  return Step(id, VoiceState::kIncomingPending, VoiceState::kTalking, {StatusLine::kCallStarted});
}

bool Model::UserDeclines(int id) {
  return Step(id, VoiceState::kIncomingPending, VoiceState::kNone, {StatusLine::kUserDeclined});
}

bool Model::UserHangsUp(int id) {
  return Step(id, VoiceState::kTalking, VoiceState::kNone, {StatusLine::kCallEnded});
}

bool Model::ContactAccepts(int id) {
  return Step(id, VoiceState::kOutgoingPending, VoiceState::kTalking,
              {StatusLine::kContactAccepted, StatusLine::kCallStarted});
}

bool Model::ContactDeclines(int id) {
  return Step(id, VoiceState::kOutgoingPending, VoiceState::kNone, {StatusLine::kContactDeclined});
}

bool Model::ContactHangsUp(int id) {
  const Conversation* c = FindConversation(id);
  if (!c) return false;
  switch (c->voice) {
    case VoiceState::kTalking:
      return UserHangsUp(id);
    case VoiceState::kIncomingPending:
      return Step(id, VoiceState::kIncomingPending, VoiceState::kNone, {StatusLine::kContactCancelled});
    case VoiceState::kOutgoingPending:
      return ContactDeclines(id);
    case VoiceState::kNone:
      break;
  }
  return false;
}

}  // namespace world::messenger
