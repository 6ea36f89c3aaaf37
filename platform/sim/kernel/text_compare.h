// Linguistic comparison of UTF-16 text, as Windows compares strings for people (CompareString):
// lstrcmp(i), StrCmp(I)W, combo box and list view searches all go through here so that every
// module sorts and matches text the same way.
#pragma once

#include <string_view>

namespace sim {

// Case-sensitive linguistic order ("a" < "B" < "b"): -1, 0 or 1.
int CompareLinguistic(std::u16string_view a, std::u16string_view b);

// Case-insensitive linguistic order for every script (É/é, Σ/σ/ς are equal); accents and
// character width still count. -1, 0 or 1.
int CompareIgnoreCase(std::u16string_view a, std::u16string_view b);

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

// Whether `text` begins with `prefix`, compared as CompareIgnoreCase does.
bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix);

// Full Unicode case folding (default options): the form in which case no longer matters.
std::u16string FoldCase(std::u16string_view text);

}  // namespace sim
