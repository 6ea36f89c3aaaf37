// Windows-1252 to UTF-16 through ICU's converter, so bytes 0x80-0x9F become the characters Windows
// shows for them (the euro sign, curly quotes) rather than C1 control codes.
#include "kernel/codepage.h"

#include <unicode/ucnv.h>

namespace sim {

std::u16string AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("windows-1252", &status);
  if (U_FAILURE(status)) return std::u16string(text.begin(), text.end());
  std::u16string out(text.size() * 2 + 1, u'\0');
  int32_t length = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()), text.data(),
                                 static_cast<int32_t>(text.size()), &status);
  ucnv_close(converter);
  if (U_FAILURE(status)) return std::u16string(text.begin(), text.end());
  out.resize(static_cast<size_t>(length));
  return out;
}

}  // namespace sim
