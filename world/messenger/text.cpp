#include "world/messenger/text.h"

#include "world/common/utf8.h"

namespace world::messenger {

namespace {

WCHAR FoldAscii(WCHAR c) { return c >= 'A' && c <= 'Z' ? static_cast<WCHAR>(c + ('a' - 'A')) : c; }

}  // namespace

bool SameSigninName(const Text& a, const Text& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

std::string ToUtf8(const Text& text) { return Utf8Of(text); }

Text FromUtf8(const std::string& text) { return WideFromUtf8(text); }

}  // namespace world::messenger
