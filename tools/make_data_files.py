#!/usr/bin/env python3
"""Writes the data files installed beside Tellbud.exe: the settings file, the language files
(one per Messenger language, in the encodings the program must read: ASCII, UTF-8 and UTF-16LE)
and the start-with-Windows shortcut."""
import struct
import sys
from pathlib import Path

SETTINGS = """\
; Tellbud settings. The program writes only RingType and ChannelType; the rest is edited by hand.
[LanguageType]
0=English
1=English
2=German
3=French

[LanguageFiles]
English=\\Language\\English.ini
German=\\Language\\German.ini
French=\\Language\\French.ini

[OPTION]
RingType=0
ChannelType=0

; Messenger's keyboard shortcuts for accepting and declining a voice invitation, in the
; language Messenger runs in (see the comment at the top of each language file).
[SHORTCUT_KEY]
Accept=Alt+C
Decline=Alt+D
"""

LANGUAGES = {
    "English": dict(
        encoding="ascii",
        shortcuts=("Alt+C", "Alt+D"),
        callin=["would like to have a voice conversation with you"],
        intalk=["You are now in a voice conversation",
                "to start a voice conversation. Please wait for a response"],
        ready=["The voice conversation has ended", "You have declined the invitation",
               "has declined your invitation", "has cancelled the invitation"],
        suffix=" - Dialog",
    ),
    "German": dict(
        encoding="utf-8",
        shortcuts=("Alt+N", "Alt+B"),
        callin=["möchte ein Sprachgespräch mit Ihnen führen"],
        intalk=["Sie führen jetzt ein Sprachgespräch",
                "zu einem Sprachgespräch ein. Bitte warten Sie auf eine Antwort"],
        ready=["Das Sprachgespräch wurde beendet", "Sie haben die Einladung abgelehnt",
               "hat Ihre Einladung abgelehnt", "hat die Einladung zurückgezogen"],
        suffix=" - Unterhaltung",
    ),
    "French": dict(
        encoding="utf-16",
        shortcuts=("Alt+A", "Alt+R"),
        callin=["souhaite avoir une conversation vocale avec vous"],
        intalk=["Vous êtes maintenant en conversation vocale",
                "à démarrer une conversation vocale. Veuillez attendre une réponse"],
        ready=["La conversation vocale est terminée", "Vous avez refusé l’invitation",
               "a refusé votre invitation", "a annulé l’invitation"],
        suffix=" - Conversation",
    ),
}


def language_file(name, lang):
    accept, decline = lang["shortcuts"]
    lines = [f"; Phrases that Messenger writes in {name} into a conversation's history.",
             f"; Messenger's shortcuts in {name}: Accept={accept}, Decline={decline}",
             f"; (copy them to [SHORTCUT_KEY] in Tellbud.ini when Messenger runs in {name}).",
             "[INFO_CALLIN]"]
    lines += [f"{i}={p}" for i, p in enumerate(lang["callin"], 1)]
    lines += ["", "[INFO_INTALK]"] + [f"{i}={p}" for i, p in enumerate(lang["intalk"], 1)]
    lines += ["", "[INFO_READY]"] + [f"{i}={p}" for i, p in enumerate(lang["ready"], 1)]
    lines += ["", "[INFO_OTHER]", f'IMWndName="{lang["suffix"]}"', ""]
    text = "\r\n".join(lines)
    if lang["encoding"] == "utf-16":
        return b"\xff\xfe" + text.encode("utf-16-le")
    return text.encode(lang["encoding"])


def shortcut():
    """A minimal shell link whose target is Tellbud.exe in the folder the link points from."""
    clsid = bytes.fromhex("0114020000000000c000000000000046")
    has_relative_path, has_working_dir, is_unicode = 0x08, 0x10, 0x80
    header = struct.pack("<I16sIIQQQIiIHHII", 0x4C, clsid, has_relative_path | has_working_dir | is_unicode,
                         0x20, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0)
    def string(s):
        return struct.pack("<H", len(s)) + s.encode("utf-16-le")
    return header + string(".\\Tellbud.exe") + string(".") + struct.pack("<I", 0)


def main(folder):
    folder = Path(folder)
    (folder / "Language").mkdir(parents=True, exist_ok=True)
    (folder / "Tellbud.ini").write_bytes(SETTINGS.replace("\n", "\r\n").encode("ascii"))
    for name, lang in LANGUAGES.items():
        (folder / "Language" / f"{name}.ini").write_bytes(language_file(name, lang))
    (folder / "Tellbud.lnk").write_bytes(shortcut())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/data")
