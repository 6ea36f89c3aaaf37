// Case-insensitive text comparison for the controls (combo box sorting and searching, list view
// searching). Windows compares such text linguistically and ignoring case for every script, so
// this folds case with ICU rather than comparing ASCII letters only.
#pragma once

#include <string>
#include <string_view>

namespace sim::controls {

// Orders two strings as a sorted list shows them: case folded, then collated. Returns <0, 0, >0.
int CompareIgnoreCase(std::u16string_view a, std::u16string_view b);
// Whether `text` and `other` are equal once case is folded.
bool EqualsIgnoreCase(std::u16string_view text, std::u16string_view other);
// Whether `text` begins with `prefix` once case is folded in both.
bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix);

}  // namespace sim::controls
