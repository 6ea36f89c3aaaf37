#include "world/core/ini_edit.h"

#include <fstream>
#include <optional>
#include <iterator>
#include <sstream>
#include <vector>

#include "world/core/text_file.h"

namespace world {

namespace {

struct Line {
  std::string content;  // without the line end
  std::string end;      // "\r\n", "\n" or "" (the last line of a file without a final line end)
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) {
      lines.push_back({text.substr(start), ""});
      break;
    }
    bool crlf = nl > start && text[nl - 1] == '\r';
    lines.push_back({text.substr(start, nl - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
    start = nl + 1;
  }
  return lines;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The section name of a "[name]" line, or nothing.
std::optional<std::string> SectionName(const std::string& line) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing (comments and other lines).
std::optional<std::string> KeyName(const std::string& line) {
  std::string t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return std::nullopt;
  size_t eq = line.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return Trim(line.substr(0, eq));
}

std::string Join(const std::vector<Line>& lines) {
  std::string out;
  for (const Line& l : lines) out += l.content + l.end;
  return out;
}

}  // namespace

std::string SetIniValue(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& value) {
  std::vector<Line> lines = SplitLines(text);
  std::string eol =
      text.find("\r\n") != std::string::npos || text.find('\n') == std::string::npos ? "\r\n" : "\n";

  size_t i = 0;
  while (i < lines.size()) {
    auto name = SectionName(lines[i].content);
    if (name && SameName(*name, section)) break;
    ++i;
  }
  if (i == lines.size()) {
    // A new section at the end, after a final line end for the last line.
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
    lines.push_back({"[" + section + "]", eol});
    lines.push_back({key + "=" + value, eol});
    return Join(lines);
  }

  size_t last_key = i;  // the line after which a new key goes
  for (size_t j = i + 1; j < lines.size(); ++j) {
    if (SectionName(lines[j].content)) break;
    auto k = KeyName(lines[j].content);
    if (!k) continue;
    last_key = j;
    if (SameName(*k, key)) {
      // Keep the key as it was written, with the spaces before '='.
      lines[j].content = lines[j].content.substr(0, lines[j].content.find('=') + 1) + value;
      return Join(lines);
    }
  }
  if (lines[last_key].end.empty()) lines[last_key].end = eol;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last_key) + 1, Line{key + "=" + value, eol});
  return Join(lines);
}

namespace {

bool ReadBytes(const std::filesystem::path& file, std::string* bytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

bool EditIniFile(const std::filesystem::path& file, const std::string& section, const std::string& key,
                 const std::string& value, std::string* why_not) {
  auto fail = [&](const std::string& what) {
    if (why_not) *why_not = what;
    return false;
  };
  std::error_code ec;
  DecodedText decoded;
  if (std::filesystem::exists(file, ec)) {
    std::string bytes;
    if (!ReadBytes(file, &bytes)) return fail("cannot read " + file.string());
    decoded = DecodeText(bytes);
  }
  auto encoded = EncodeText(SetIniValue(decoded.text, section, key, value), decoded.encoding);
  if (!encoded) return fail("the value cannot be written in the encoding of " + file.string());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(encoded->data(), static_cast<std::streamsize>(encoded->size()));
  out.close();
  if (!out) return fail("cannot write " + file.string());
  return true;
}

bool ReadTextLines(const std::filesystem::path& file, std::vector<std::string>* lines, std::string* why_not) {
  std::string bytes;
  if (!ReadBytes(file, &bytes)) {
    if (why_not) *why_not = "cannot read " + file.string();
    return false;
  }
  lines->clear();
  for (Line& l : SplitLines(DecodeText(bytes).text)) lines->push_back(std::move(l.content));
  return true;
}

}  // namespace world
