// Comparison through ICU: one collator for a fixed locale (root), tertiary strength, so results
// never depend on the machine's environment. Case-insensitivity comes from folding both sides
// first; the collator then still tells accents and width apart.
#include "kernel/text_compare.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace sim {

namespace {

// The collator is immutable after creation and depends on nothing per desktop, so one per OS
// process is enough; the mutex serialises use because ICU collators are not thread-safe.
struct SharedCollator {
  std::mutex mu;
  UCollator* collator = nullptr;

  SharedCollator() {
    UErrorCode status = U_ZERO_ERROR;
    collator = ucol_open("", &status);
    if (U_FAILURE(status) || !collator) {
      std::fprintf(stderr, "simulated desktop: cannot open the ICU root collator: %s\n", u_errorName(status));
      std::abort();
    }
    ucol_setStrength(collator, UCOL_TERTIARY);
  }
  ~SharedCollator() { ucol_close(collator); }
};

SharedCollator& Collator() {
  static SharedCollator shared;
  return shared;
}

int Collate(std::u16string_view a, std::u16string_view b) {
  SharedCollator& c = Collator();
  std::lock_guard lock(c.mu);
  UCollationResult r = ucol_strcoll(c.collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                    static_cast<int32_t>(b.size()));
  return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

}  // namespace

std::u16string FoldCase(std::u16string_view text) {
  if (text.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed =
      u_strFoldCase(nullptr, 0, text.data(), static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, &status);
  std::u16string out(static_cast<size_t>(needed), u'\0');
  status = U_ZERO_ERROR;
  u_strFoldCase(out.data(), needed, text.data(), static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT,
                &status);
  if (U_FAILURE(status)) return std::u16string(text);
  return out;
}

int CompareLinguistic(std::u16string_view a, std::u16string_view b) { return Collate(a, b); }

int CompareIgnoreCase(std::u16string_view a, std::u16string_view b) {
  return Collate(FoldCase(a), FoldCase(b));
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) { return CompareIgnoreCase(a, b) == 0; }

bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
  std::u16string folded_text = FoldCase(text);
  std::u16string folded_prefix = FoldCase(prefix);
  if (folded_prefix.size() > folded_text.size()) return false;
  return Collate(std::u16string_view(folded_text).substr(0, folded_prefix.size()), folded_prefix) == 0;
}

}  // namespace sim
