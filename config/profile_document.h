// A profile (INI) file held in memory: its lines as they were read, the lookups of the
// profile functions and the edits of a write. Lines that an edit does not touch keep their
// original bytes, so serialising gives back the file byte for byte apart from the edit.
//
// Names: sections and keys are matched with StrCmpIW (case-insensitive, also for non-ASCII
// letters) after removing the spaces and tabs around them; the first matching section and the
// first matching key in it win.
#pragma once

#include "config/profile_line.h"
#include "config/text_encoding.h"

#include <optional>
#include <vector>

namespace config {

class ProfileDocument {
 public:
  // An empty new file: UTF-8 without byte order mark.
  ProfileDocument() = default;
  // Reads a file's bytes. Lines end in LF or CR LF; the last one may have no ending.
  static ProfileDocument Parse(const Bytes& bytes);

  TextEncoding encoding() const { return encoding_; }
  Bytes Serialize() const;

  // The value of `key` in `section`, without the blanks around it and with one pair of
  // enclosing double quotes removed; nothing when the section or the key is missing.
  std::optional<Text> FindValue(const Text& section, const Text& key) const;
  // Section names in file order, and the keys of a section; a name repeated later (in any
  // letter case) is listed once.
  std::vector<Text> SectionNames() const;
  std::vector<Text> KeyNames(const Text& section) const;

  // Edits return ERROR_SUCCESS or a Windows error code; on error the document is unchanged.
  //
  // SetValue replaces the key's value, or adds the key after the last key of its section, or
  // adds the section at the end of the file. A value that would not read back as written (blanks
  // around it, or enclosing quotes) is written in double quotes. ERROR_INVALID_PARAMETER for
  // names or values that cannot be stored in a line: line breaks, a "]" in a section name, an
  // empty key, a key with "=" or starting with ";" or "[". A value that a Windows-1252 file
  // cannot hold turns the file into UTF-8 with a byte order mark; an unpaired surrogate that
  // UTF-8 cannot hold gives ERROR_NO_UNICODE_TRANSLATION.
  DWORD SetValue(const Text& section, const Text& key, const Text& value);
  // Removes the key's line; a missing key is not an error.
  DWORD DeleteKey(const Text& section, const Text& key);
  // Removes the section's header and every line up to the next section; a missing section is
  // not an error.
  DWORD DeleteSection(const Text& section);

 private:
  struct Line {
    Text content;            // without the line ending
    Text ending;             // TEXT("\r\n"), TEXT("\n") or empty for a last line without one
    Bytes raw;               // the bytes read from the file (content and ending)
    bool rewritten = false;  // made or changed by an edit: serialised from the text
  };

  std::optional<size_t> FindSection(const Text& name) const;
  size_t SectionEnd(size_t header) const;
  std::optional<size_t> FindKey(size_t header, const Text& key) const;
  std::vector<Text> DistinctNames(size_t begin, size_t end, LineKind kind) const;

  Text NewLineEnding() const;
  void EndLine(size_t index);
  void InsertLine(size_t index, const Text& content);
  DWORD MakeRepresentable(const Text& text);
  void KeepEncodingRecognisable();
  void ConvertTo(TextEncoding encoding);

  TextEncoding encoding_ = TextEncoding::kUtf8;
  std::vector<Line> lines_;
};

}  // namespace config
