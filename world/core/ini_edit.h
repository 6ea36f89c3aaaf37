// Editing an INI file by hand, as a person does with a text editor: one key's line changes
// (or is added), every other line stays exactly as it was.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace world {

// Sets KEY=VALUE in [SECTION] of the UTF-8 text. Section and key names are found without regard
// to ASCII letter case, ignoring spaces around them; the first match wins. An existing key keeps
// its spelling and gets the new value; a missing key is added after the last key line of the
// section (before its trailing blank lines); a missing section is added at the end. New lines
// use the text's own line ending (CRLF when it has any, for a new text too).
std::string SetIniValue(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& value);

// Edits the file in place, keeping its encoding and byte order mark; a missing file is created
// (UTF-8 without a byte order mark). False, with a reason, when it cannot be read or written or
// when the value cannot be written in the file's encoding.
bool EditIniFile(const std::filesystem::path& file, const std::string& section, const std::string& key,
                 const std::string& value, std::string* why_not = nullptr);

// The file's text for display: decoded to UTF-8, without byte order mark, one entry per line
// without line ends. False when it cannot be read.
bool ReadTextLines(const std::filesystem::path& file, std::vector<std::string>* lines,
                   std::string* why_not = nullptr);

}  // namespace world
