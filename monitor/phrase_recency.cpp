#include "monitor/phrase_recency.h"

namespace {

// Knuth-Morris-Pratt failure table: for each prefix length, the longest proper border.
std::vector<size_t> BorderTable(const CPhrase& phrase) {
  std::vector<size_t> border(phrase.size() + 1, 0);
  size_t k = 0;
  for (size_t i = 1; i < phrase.size(); ++i) {
    while (k > 0 && phrase[i] != phrase[k]) k = border[k];
    if (phrase[i] == phrase[k]) ++k;
    border[i + 1] = k;
  }
  return border;
}

}  // namespace

LONG_PTR FindLastOccurrence(const WCHAR* text, size_t length, const CPhrase& phrase) {
  if (!text || phrase.empty() || phrase.size() > length) return -1;
  const std::vector<size_t> border = BorderTable(phrase);
  const size_t m = phrase.size();
  LONG_PTR last = -1;
  size_t matched = 0;
  size_t i = 0;
  while (i < length) {
    while (matched > 0 && text[i] != phrase[matched]) matched = border[matched];
    if (text[i] == phrase[matched]) ++matched;
    if (matched == m) {
      size_t start = i + 1 - m;
      last = static_cast<LONG_PTR>(start);
      // The next search starts at the match's last character, with nothing matched yet.
      i = m == 1 ? start + 1 : start + m - 1;
      matched = 0;
      continue;
    }
    ++i;
  }
  return last;
}

DWORD FindRecency(const WCHAR* text, size_t length, const std::vector<CPhrase>& phrases) {
  DWORD best = RECENCY_NONE;
  for (const CPhrase& phrase : phrases) {
    LONG_PTR at = FindLastOccurrence(text, length, phrase);
    if (at < 0) continue;
    DWORD distance = static_cast<DWORD>(length - static_cast<size_t>(at));
    if (distance < best) best = distance;
  }
  return best;
}
