#include "config/profile_document.h"

#include <shlwapi.h>

#include <algorithm>

namespace config {
namespace {

bool SameName(const Text& a, const Text& b) { return StrCmpIW(a.c_str(), b.c_str()) == 0; }

bool HasLineBreak(const Text& text) { return text.find_first_of(TEXT("\r\n")) != Text::npos; }

bool CanBeSectionName(const Text& name) { return !HasLineBreak(name) && name.find(TEXT(']')) == Text::npos; }

bool CanBeKey(const Text& key) {
  return !key.empty() && key.front() != TEXT(';') && key.front() != TEXT('[') && !HasLineBreak(key) &&
         key.find(TEXT('=')) == Text::npos;
}

bool IsQuoted(const Text& value) {
  return value.size() >= 2 && value.front() == TEXT('"') && value.back() == TEXT('"');
}

// Reading removes the blanks around a value and one pair of enclosing quotes. A value the caller
// has put in quotes is stored as written (that is how callers keep blanks: it reads back without
// the quotes); an unquoted value with blanks at either end is quoted so that it reads back intact.
Text QuoteIfNeeded(const Text& value) {
  if (!value.empty() && !IsQuoted(value) && (IsBlank(value.front()) || IsBlank(value.back()))) {
    return TEXT("\"") + value + TEXT("\"");
  }
  return value;
}

bool IsAscii(const Bytes& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](BYTE b) { return b < 0x80; });
}

unsigned CodeUnitAt(const Bytes& bytes, size_t index, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf16Le:
      return bytes[index] | (bytes[index + 1] << 8);
    case TextEncoding::kUtf16Be:
      return (bytes[index] << 8) | bytes[index + 1];
    default:
      return bytes[index];
  }
}

}  // namespace

ProfileDocument ProfileDocument::Parse(const Bytes& bytes) {
  ProfileDocument document;
  const TextEncoding encoding = DetectEncoding(bytes.data(), bytes.size());
  document.encoding_ = encoding;
  const size_t unit = CodeUnitSize(encoding);
  size_t position = ByteOrderMark(encoding).size();
  // A dangling half of a UTF-16 code unit at the very end is no character; it is dropped.
  const size_t end = position + (bytes.size() - position) / unit * unit;

  while (position < end) {
    size_t line_end = position;
    while (line_end < end && CodeUnitAt(bytes, line_end, encoding) != TEXT('\n')) line_end += unit;
    Line line;
    size_t content_end = line_end;
    if (line_end < end) {
      const bool has_cr =
          content_end > position && CodeUnitAt(bytes, content_end - unit, encoding) == TEXT('\r');
      if (has_cr) content_end -= unit;
      line.ending = has_cr ? TEXT("\r\n") : TEXT("\n");
      line_end += unit;
    }
    line.content = Decode(encoding, bytes.data() + position, content_end - position);
    line.raw.assign(bytes.begin() + static_cast<std::ptrdiff_t>(position),
                    bytes.begin() + static_cast<std::ptrdiff_t>(line_end));
    document.lines_.push_back(std::move(line));
    position = line_end;
  }
  return document;
}

Bytes ProfileDocument::Serialize() const {
  Bytes out = ByteOrderMark(encoding_);
  for (const Line& line : lines_) {
    if (line.rewritten) {
      // Edits check beforehand that their text is representable, so this cannot fail.
      Encode(encoding_, line.content + line.ending, out);
    } else {
      out.insert(out.end(), line.raw.begin(), line.raw.end());
    }
  }
  return out;
}

std::optional<size_t> ProfileDocument::FindSection(const Text& name) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const LineSyntax syntax = ParseLine(lines_[i].content);
    if (syntax.kind == LineKind::kSection && SameName(syntax.name, name)) return i;
  }
  return std::nullopt;
}

size_t ProfileDocument::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && ParseLine(lines_[i].content).kind != LineKind::kSection) ++i;
  return i;
}

std::optional<size_t> ProfileDocument::FindKey(size_t header, const Text& key) const {
  const size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    const LineSyntax syntax = ParseLine(lines_[i].content);
    if (syntax.kind == LineKind::kKey && SameName(syntax.name, key)) return i;
  }
  return std::nullopt;
}

std::optional<Text> ProfileDocument::FindValue(const Text& section, const Text& key) const {
  const auto header = FindSection(TrimBlanks(section));
  if (!header) return std::nullopt;
  const auto index = FindKey(*header, TrimBlanks(key));
  if (!index) return std::nullopt;
  const Text& content = lines_[*index].content;
  const LineSyntax syntax = ParseLine(content);
  Text value = content.substr(syntax.value_begin, syntax.value_end - syntax.value_begin);
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  return value;
}

std::vector<Text> ProfileDocument::DistinctNames(size_t begin, size_t end, LineKind kind) const {
  std::vector<Text> names;
  for (size_t i = begin; i < end; ++i) {
    LineSyntax syntax = ParseLine(lines_[i].content);
    if (syntax.kind != kind) continue;
    const bool seen = std::any_of(names.begin(), names.end(),
                                  [&](const Text& name) { return SameName(name, syntax.name); });
    if (!seen) names.push_back(std::move(syntax.name));
  }
  return names;
}

std::vector<Text> ProfileDocument::SectionNames() const {
  return DistinctNames(0, lines_.size(), LineKind::kSection);
}

std::vector<Text> ProfileDocument::KeyNames(const Text& section) const {
  const auto header = FindSection(TrimBlanks(section));
  if (!header) return {};
  return DistinctNames(*header + 1, SectionEnd(*header), LineKind::kKey);
}

DWORD ProfileDocument::SetValue(const Text& section_name, const Text& key_name, const Text& value) {
  const Text section = TrimBlanks(section_name);
  const Text key = TrimBlanks(key_name);
  if (!CanBeSectionName(section) || !CanBeKey(key) || HasLineBreak(value)) return ERROR_INVALID_PARAMETER;
  const Text stored = QuoteIfNeeded(value);

  ProfileDocument edited = *this;
  if (const DWORD error = edited.MakeRepresentable(section + key + stored)) return error;
  if (const auto header = edited.FindSection(section)) {
    if (const auto index = edited.FindKey(*header, key)) {
      Line& line = edited.lines_[*index];
      const LineSyntax syntax = ParseLine(line.content);
      if (line.content.compare(syntax.value_begin, syntax.value_end - syntax.value_begin, stored) == 0) {
        return ERROR_SUCCESS;  // already so: the file stays as it is
      }
      line.content = line.content.substr(0, syntax.value_begin) + stored;
      line.rewritten = true;
    } else {
      size_t last_key = *header;
      const size_t end = edited.SectionEnd(*header);
      for (size_t i = *header + 1; i < end; ++i) {
        if (ParseLine(edited.lines_[i].content).kind == LineKind::kKey) last_key = i;
      }
      edited.InsertLine(last_key + 1, key + TEXT("=") + stored);
    }
  } else {
    edited.InsertLine(edited.lines_.size(), TEXT("[") + section + TEXT("]"));
    edited.InsertLine(edited.lines_.size(), key + TEXT("=") + stored);
  }
  edited.KeepEncodingRecognisable();
  *this = std::move(edited);
  return ERROR_SUCCESS;
}

DWORD ProfileDocument::DeleteKey(const Text& section, const Text& key) {
  const auto header = FindSection(TrimBlanks(section));
  if (!header) return ERROR_SUCCESS;
  const auto index = FindKey(*header, TrimBlanks(key));
  if (!index) return ERROR_SUCCESS;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
  KeepEncodingRecognisable();
  return ERROR_SUCCESS;
}

DWORD ProfileDocument::DeleteSection(const Text& section) {
  const auto header = FindSection(TrimBlanks(section));
  if (!header) return ERROR_SUCCESS;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*header),
               lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(*header)));
  KeepEncodingRecognisable();
  return ERROR_SUCCESS;
}

// New lines end like the file's first line, or in CR LF as Windows text files do.
Text ProfileDocument::NewLineEnding() const {
  for (const Line& line : lines_) {
    if (!line.ending.empty()) return line.ending;
  }
  return TEXT("\r\n");
}

void ProfileDocument::EndLine(size_t index) {
  Line& line = lines_[index];
  if (!line.ending.empty()) return;
  line.ending = NewLineEnding();
  if (!line.rewritten) Encode(encoding_, line.ending, line.raw);
}

void ProfileDocument::InsertLine(size_t index, const Text& content) {
  if (index > 0) EndLine(index - 1);
  Line line;
  line.content = content;
  line.ending = NewLineEnding();
  line.rewritten = true;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}

DWORD ProfileDocument::MakeRepresentable(const Text& text) {
  Bytes probe;
  if (Encode(encoding_, text, probe)) return ERROR_SUCCESS;
  if (encoding_ == TextEncoding::kWindows1252 && Encode(TextEncoding::kUtf8Bom, text, probe)) {
    ConvertTo(TextEncoding::kUtf8Bom);
    return ERROR_SUCCESS;
  }
  return ERROR_NO_UNICODE_TRANSLATION;
}

// Files without a byte order mark are recognised by their bytes. When an edit changes what a
// reader would take them for (Windows-1252 text that became valid UTF-8, text that now starts
// like a byte order mark), the file gets a UTF-8 byte order mark so it still reads as written.
void ProfileDocument::KeepEncodingRecognisable() {
  if (encoding_ != TextEncoding::kUtf8 && encoding_ != TextEncoding::kWindows1252) return;
  const Bytes bytes = Serialize();
  if (DetectEncoding(bytes.data(), bytes.size()) == encoding_ || IsAscii(bytes)) return;
  ConvertTo(TextEncoding::kUtf8Bom);
}

void ProfileDocument::ConvertTo(TextEncoding encoding) {
  encoding_ = encoding;
  for (Line& line : lines_) line.rewritten = true;
}

}  // namespace config
