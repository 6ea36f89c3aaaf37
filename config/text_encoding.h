// The encodings a profile file may be stored in, and conversion between their bytes and
// UTF-16 text. A file's encoding is recognised from its bytes alone: a byte order mark
// decides; without one, valid UTF-8 is UTF-8 and anything else is Windows-1252.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace config {

using Text = std::basic_string<WCHAR>;
using Bytes = std::vector<BYTE>;

enum class TextEncoding {
  kUtf8,         // no byte order mark (also the encoding of new files)
  kUtf8Bom,      // EF BB BF
  kUtf16Le,      // FF FE
  kUtf16Be,      // FE FF
  kWindows1252,  // no byte order mark, not valid UTF-8
};

TextEncoding DetectEncoding(const BYTE* data, size_t size);
bool IsValidUtf8(const BYTE* data, size_t size);

// The byte order mark that starts a file in `encoding` (empty for kUtf8 and kWindows1252).
Bytes ByteOrderMark(TextEncoding encoding);
// The size of one code unit: 2 for UTF-16, otherwise 1.
size_t CodeUnitSize(TextEncoding encoding);

// Decodes bytes that follow the byte order mark. Malformed UTF-8 becomes U+FFFD one byte at a
// time (never swallowing an ASCII byte); a dangling odd byte of UTF-16 is ignored. Every byte of
// Windows-1252 has a character (the five unassigned ones map to U+0081, U+008D, U+008F, U+0090
// and U+009D), so decoding and encoding it again gives back the same bytes.
Text Decode(TextEncoding encoding, const BYTE* data, size_t size);

// Appends `text` in `encoding` to `out`. Returns false, leaving `out` unchanged, when a
// character has no representation: outside Windows-1252, or an unpaired surrogate for UTF-8.
bool Encode(TextEncoding encoding, const Text& text, Bytes& out);

}  // namespace config
