#include "world/messenger/language.h"

namespace world::messenger {

namespace {

const Phrasebook kEnglish = {
    TEXT("English"),
    TEXT(" - Dialog"),
    'C',
    'D',
    {
        TEXT("%1 would like to have a voice conversation with you. Do you want to Accept (Alt+C) or ")
            TEXT("Decline (Alt+D) the invitation?"),
        TEXT("You are inviting %1 to start a voice conversation. Please wait for a response or Cancel ")
            TEXT("(Alt+Q) the pending invitation."),
        TEXT("%1 has accepted your invitation to start a voice conversation."),
        TEXT("You are now in a voice conversation with %1."),
        TEXT("The voice conversation has ended."),
        TEXT("You have declined the invitation to a voice conversation."),
        TEXT("%1 has declined your invitation to start a voice conversation."),
        TEXT("%1 has cancelled the invitation to a voice conversation."),
    },
    TEXT("%1 says: %2"),
    TEXT("Closing this window will end your voice conversation. Do you want to close it?"),
    TEXT("Yes"),
    TEXT("No"),
};

const Phrasebook kGerman = {
    TEXT("German"),
    TEXT(" - Unterhaltung"),
    'N',
    'B',
    {
        TEXT("%1 möchte ein Sprachgespräch mit Ihnen führen. Möchten Sie die Einladung annehmen (Alt+N) ")
            TEXT("oder ablehnen (Alt+B)?"),
        TEXT("Sie laden %1 zu einem Sprachgespräch ein. Bitte warten Sie auf eine Antwort, oder brechen ")
            TEXT("Sie die ausstehende Einladung ab (Alt+Q)."),
        TEXT("%1 hat Ihre Einladung zu einem Sprachgespräch angenommen."),
        TEXT("Sie führen jetzt ein Sprachgespräch mit %1."),
        TEXT("Das Sprachgespräch wurde beendet."),
        TEXT("Sie haben die Einladung abgelehnt."),
        TEXT("%1 hat Ihre Einladung abgelehnt."),
        TEXT("%1 hat die Einladung zurückgezogen."),
    },
    TEXT("%1 sagt: %2"),
    TEXT("Wenn Sie dieses Fenster schließen, wird Ihr Sprachgespräch beendet. Möchten Sie es schließen?"),
    TEXT("Ja"),
    TEXT("Nein"),
};

const Phrasebook kFrench = {
    TEXT("French"),
    TEXT(" - Conversation"),
    'A',
    'R',
    {
        TEXT("%1 souhaite avoir une conversation vocale avec vous. Voulez-vous Accepter (Alt+A) ou ")
            TEXT("Refuser (Alt+R) l’invitation ?"),
        TEXT("Vous invitez %1 à démarrer une conversation vocale. Veuillez attendre une réponse ou ")
            TEXT("Annuler (Alt+Q) l’invitation en attente."),
        TEXT("%1 a accepté votre invitation à démarrer une conversation vocale."),
        TEXT("Vous êtes maintenant en conversation vocale avec %1."),
        TEXT("La conversation vocale est terminée."),
        TEXT("Vous avez refusé l’invitation à une conversation vocale."),
        TEXT("%1 a refusé votre invitation à démarrer une conversation vocale."),
        TEXT("%1 a annulé l’invitation à une conversation vocale."),
    },
    TEXT("%1 dit : %2"),
    TEXT("Si vous fermez cette fenêtre, votre conversation vocale prendra fin. Voulez-vous la fermer ?"),
    TEXT("Oui"),
    TEXT("Non"),
};

Text Fill(const WCHAR* tmpl, const Text& first, const Text& second) {
  Text out;
  for (const WCHAR* p = tmpl; *p; ++p) {
    if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
      out += p[1] == '1' ? first : second;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace

const Phrasebook& PhrasebookFor(Language language) {
  switch (language) {
    case Language::kGerman:
      return kGerman;
    case Language::kFrench:
      return kFrench;
    case Language::kEnglish:
      break;
  }
  return kEnglish;
}

Text StatusLineText(Language language, StatusLine line, const Text& name) {
  int index = static_cast<int>(line);
  if (index < 0 || index >= static_cast<int>(StatusLine::kCount)) return {};
  return Fill(PhrasebookFor(language).lines[index], name, {});
}

Text ChatLineText(Language language, const Text& name, const Text& message) {
  return Fill(PhrasebookFor(language).chat, name, message);
}

Text WindowTitle(Language language, const Text& display_name) {
  return display_name + PhrasebookFor(language).window_suffix;
}

}  // namespace world::messenger
