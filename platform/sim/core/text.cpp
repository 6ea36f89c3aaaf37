// UTF-16 <-> UTF-8 conversion for the desktop's own messages and the world's transcripts.
#include <unicode/ustring.h>

#include "core/core.h"

namespace sim {

std::string ToUtf8(const std::u16string& s) {
  if (s.empty()) return {};
  int32_t needed = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(nullptr, 0, &needed, s.data(), static_cast<int32_t>(s.size()), 0xFFFD, nullptr, &status);
  std::string out(static_cast<size_t>(needed), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), needed, &needed, s.data(), static_cast<int32_t>(s.size()), 0xFFFD, nullptr,
                     &status);
  return out;
}

std::u16string FromUtf8(const std::string& s) {
  if (s.empty()) return {};
  int32_t needed = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(nullptr, 0, &needed, s.data(), static_cast<int32_t>(s.size()), 0xFFFD, nullptr,
                       &status);
  std::u16string out(static_cast<size_t>(needed), u'\0');
  status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), needed, &needed, s.data(), static_cast<int32_t>(s.size()), 0xFFFD, nullptr,
                       &status);
  return out;
}

}  // namespace sim
