// Text files as a person's text editor opens and saves them: the encoding is recognised from
// the bytes (UTF-16LE with its byte order mark, UTF-8 with or without one, otherwise the
// Windows ANSI code page, Windows-1252) and kept when the text is saved again.
#pragma once

#include <optional>
#include <string>

namespace world {

enum class TextEncoding { kUtf8, kUtf8Bom, kUtf16LeBom, kAnsi };

struct DecodedText {
  TextEncoding encoding = TextEncoding::kUtf8;
  std::string text;  // UTF-8, without the byte order mark
};

DecodedText DecodeText(const std::string& bytes);
// The text in `encoding`; nothing when a character cannot be written in it (ANSI).
std::optional<std::string> EncodeText(const std::string& utf8, TextEncoding encoding);

bool IsValidUtf8(const std::string& bytes);

}  // namespace world
