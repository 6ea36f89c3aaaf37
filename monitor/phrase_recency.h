// How recently a set of phrases occurs in a text: the basis on which the conversation scan
// decides whether a call rings, runs or is over.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// "No phrase of the set occurs": larger than every real distance.
const DWORD RECENCY_NONE = 0xFFFFFFFF;

typedef std::basic_string<WCHAR> CPhrase;

// The offset of the phrase's last occurrence in the text, found as Messenger's history is
// searched: after each match the search goes on from the match's last character (from the
// character after the match's start for a one-character phrase), so occurrences overlapping
// a match by more than one character are not seen. -1 when the phrase does not occur (or is
// empty). Linear in the text's length.
LONG_PTR FindLastOccurrence(const WCHAR* text, size_t length, const CPhrase& phrase);

// The smallest distance from the start of a phrase's last occurrence to the end of the text,
// over all phrases of the set; RECENCY_NONE when none occurs.
DWORD FindRecency(const WCHAR* text, size_t length, const std::vector<CPhrase>& phrases);
