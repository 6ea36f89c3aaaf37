// The languages Messenger runs in and the status lines it writes into a conversation's history
// in each of them, in one table. The lines carry the phrases listed in the program's language
// files (res/data/Language/*.ini), which is how the program follows a voice conversation.
#pragma once

#include "world/messenger/text.h"

namespace world::messenger {

enum class Language { kEnglish, kGerman, kFrench };

// The status lines Messenger writes while a voice conversation goes through its steps.
enum class StatusLine {
  kIncomingInvitation,  // the contact invites the user
  kOutgoingInvitation,  // the user invites the contact
  kContactAccepted,     // the contact accepted the user's invitation
  kCallStarted,         // the call is running
  kCallEnded,           // either side ended a running call
  kUserDeclined,        // the user declined the contact's invitation
  kContactDeclined,     // the contact declined the user's invitation
  kContactCancelled,    // the contact withdrew their own invitation
  kCount
};

struct Phrasebook {
  const WCHAR* name;           // "English", as the language file is named
  const WCHAR* window_suffix;  // appended to a conversation window's title
  WCHAR accept_key;            // the letter of the Accept shortcut (Alt+letter), a virtual key
  WCHAR decline_key;           // the letter of the Decline shortcut
  // Templates: "%1" stands for the contact's friendly name, and in the chat line "%2" for the
  // text the contact typed.
  const WCHAR* lines[static_cast<int>(StatusLine::kCount)];
  const WCHAR* chat;
  // The end-of-call confirmation: its question and its two buttons (end the call, keep it).
  const WCHAR* confirm_question;
  const WCHAR* confirm_end;
  const WCHAR* confirm_keep;
};

const Phrasebook& PhrasebookFor(Language language);

// The status line with the contact's name filled in. Only the template's own placeholders are
// replaced, so a name that contains "%1" or "%2" is written as it is.
Text StatusLineText(Language language, StatusLine line, const Text& name);
Text ChatLineText(Language language, const Text& name, const Text& message);
// The title of a conversation window whose first other participant shows as `display_name`.
Text WindowTitle(Language language, const Text& display_name);

}  // namespace world::messenger
