// ICU-based case folding and collation behind text_fold.h.
#include "controls/text_fold.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <memory>

namespace sim::controls {

namespace {

std::u16string Fold(std::u16string_view s) {
  if (s.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed =
      u_strFoldCase(nullptr, 0, s.data(), static_cast<int32_t>(s.size()), U_FOLD_CASE_DEFAULT, &status);
  std::u16string out(static_cast<size_t>(needed), u'\0');
  status = U_ZERO_ERROR;
  u_strFoldCase(out.data(), needed, s.data(), static_cast<int32_t>(s.size()), U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) return std::u16string(s);
  return out;
}

// One collator for the root locale, so results never depend on the machine's environment. ICU
// collators may be shared between threads for comparisons.
const UCollator* RootCollator() {
  struct Closer {
    void operator()(UCollator* c) const { ucol_close(c); }
  };
  static const std::unique_ptr<UCollator, Closer> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = ucol_open("", &status);
    if (U_FAILURE(status)) return std::unique_ptr<UCollator, Closer>();
    ucol_setStrength(c, UCOL_TERTIARY);
    return std::unique_ptr<UCollator, Closer>(c);
  }();
  return collator.get();
}

}  // namespace

int CompareIgnoreCase(std::u16string_view a, std::u16string_view b) {
  std::u16string fa = Fold(a), fb = Fold(b);
  if (const UCollator* c = RootCollator()) {
    UCollationResult r = ucol_strcoll(c, fa.data(), static_cast<int32_t>(fa.size()), fb.data(),
                                      static_cast<int32_t>(fb.size()));
    if (r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
  }
  // Equal for the collator (or no collator): fall back to code units so the order is total.
  return fa < fb ? -1 : (fa == fb ? 0 : 1);
}

bool EqualsIgnoreCase(std::u16string_view text, std::u16string_view other) {
  return Fold(text) == Fold(other);
}

bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
  std::u16string ft = Fold(text), fp = Fold(prefix);
  return ft.compare(0, fp.size(), fp) == 0 && ft.size() >= fp.size();
}

}  // namespace sim::controls
