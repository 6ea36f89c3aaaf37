// Which language file the program reads Messenger's phrases from: the settings file names the
// current language (LanguageType, key "0") and each language's file (LanguageFiles).
#pragma once

#include <windows.h>

// Language names and relative file paths keep at most this many characters.
const DWORD LANGUAGE_VALUE_CHARS = 31;
extern const WCHAR DEFAULT_LANGUAGE[];

// Points g_szLanguagePath at the file of `language` (its LanguageFiles entry, else the English
// file), beside the executable. FALSE, with the path unchanged, when it does not fit.
BOOL SelectLanguageFile(LPCWSTR language);
