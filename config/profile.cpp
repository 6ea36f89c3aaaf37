#include "config/profile.h"

#include "config/profile_document.h"
#include "config/profile_file.h"

#include <algorithm>
#include <memory>
#include <vector>
#include <climits>
#include <optional>

using config::Bytes;
using config::ProfileDocument;
using config::Text;

namespace {

using DocumentRef = std::shared_ptr<const ProfileDocument>;

// The file is read at every use, so a hand edit counts at once; parsing it again is spared while
// its bytes are the same as at the last read of that path (the contact list reads the custom
// file twice per contact).
DocumentRef LoadProfile(LPCWSTR path) {
  struct Parsed {
    Text path;
    Bytes bytes;
    DocumentRef document;
  };
  static std::vector<Parsed> recent;  // most recent first
  const size_t kRemembered = 4;
  Bytes bytes;
  if (path == nullptr || !config::ReadWholeFile(path, bytes)) return nullptr;
  for (auto it = recent.begin(); it != recent.end(); ++it) {
    if (it->path == path && it->bytes == bytes) {
      DocumentRef document = it->document;
      std::rotate(recent.begin(), it, std::next(it));
      return document;
    }
  }
  auto document = std::make_shared<const ProfileDocument>(ProfileDocument::Parse(bytes));
  recent.insert(recent.begin(), Parsed{path, std::move(bytes), document});
  if (recent.size() > kRemembered) recent.pop_back();
  return document;
}

std::optional<Text> FindValue(const DocumentRef& document, LPCWSTR section, LPCWSTR key) {
  if (!document) return std::nullopt;
  return document->FindValue(section, key);
}

// Copies as much of `text` as fits with its terminator; returns the characters copied.
DWORD CopyCut(const Text& text, LPWSTR buffer, DWORD length) {
  const size_t count = std::min<size_t>(text.size(), length - 1);
  std::copy_n(text.begin(), count, buffer);
  buffer[count] = 0;
  return static_cast<DWORD>(count);
}

// Copies names as a list of terminated strings that ends in a second terminator.
DWORD CopyNameList(const std::vector<Text>& names, LPWSTR buffer, DWORD length) {
  Text list;
  for (const Text& name : names) {
    list += name;
    list.push_back(0);
  }
  if (list.size() + 1 <= length) {
    std::copy(list.begin(), list.end(), buffer);
    buffer[list.size()] = 0;
    return static_cast<DWORD>(list.size());
  }
  if (length < 2) {
    buffer[0] = 0;
    return 0;
  }
  std::copy_n(list.begin(), length - 2, buffer);
  buffer[length - 2] = 0;
  buffer[length - 1] = 0;
  return length - 2;
}

// The leading "[+-]digits" of `text`, held within the range of INT.
INT LeadingNumber(const Text& text) {
  size_t i = 0;
  const bool negative = i < text.size() && text[i] == TEXT('-');
  if (i < text.size() && (text[i] == TEXT('-') || text[i] == TEXT('+'))) ++i;
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long magnitude = 0;
  for (; i < text.size() && text[i] >= TEXT('0') && text[i] <= TEXT('9'); ++i) {
    magnitude = std::min(limit, magnitude * 10 + (text[i] - TEXT('0')));
  }
  return static_cast<INT>(negative ? -magnitude : magnitude);
}

Text DecimalText(unsigned number) {
  Text digits;
  do {
    digits.insert(digits.begin(), static_cast<WCHAR>(TEXT('0') + number % 10));
    number /= 10;
  } while (number != 0);
  return digits;
}

}  // namespace

DWORD ReadProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD bufferLength,
                        LPCWSTR filePath) {
  if (buffer == nullptr || bufferLength == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const DocumentRef document = LoadProfile(filePath);
  if (section == nullptr || key == nullptr) {
    std::vector<Text> names;
    if (document) names = section == nullptr ? document->SectionNames() : document->KeyNames(section);
    return CopyNameList(names, buffer, bufferLength);
  }
  if (const std::optional<Text> value = FindValue(document, section, key)) {
    SetLastError(ERROR_SUCCESS);
    return CopyCut(*value, buffer, bufferLength);
  }
  Text fallback = defaultValue != nullptr ? defaultValue : TEXT("");
  fallback.erase(fallback.find_last_not_of(TEXT(' ')) + 1);
  SetLastError(ERROR_FILE_NOT_FOUND);
  return CopyCut(fallback, buffer, bufferLength);
}

UINT ReadProfileInt(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR filePath) {
  if (section == nullptr || key == nullptr) return static_cast<UINT>(defaultValue);
  const std::optional<Text> value = FindValue(LoadProfile(filePath), section, key);
  return static_cast<UINT>(value ? LeadingNumber(*value) : defaultValue);
}

BOOL WriteProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR filePath) {
  if (section == nullptr || filePath == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ProfileDocument document;
  Bytes original;
  if (config::ReadWholeFile(filePath, original)) {
    document = ProfileDocument::Parse(original);
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    return FALSE;  // a file that exists but cannot be read must not be overwritten
  }
  const Bytes before = document.Serialize();
  const DWORD error = key == nullptr     ? document.DeleteSection(section)
                      : value == nullptr ? document.DeleteKey(section, key)
                                         : document.SetValue(section, key, value);
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  const Bytes after = document.Serialize();
  if (after == before) {
    SetLastError(ERROR_SUCCESS);
    return TRUE;  // nothing changes; a removal from a missing file creates none
  }
  return config::ReplaceWholeFile(filePath, after) ? TRUE : FALSE;
}

std::vector<std::basic_string<WCHAR>> ReadProfileList(LPCWSTR section, DWORD maxValueLength,
                                                      LPCWSTR filePath) {
  std::vector<Text> items;
  const DocumentRef document = LoadProfile(filePath);
  if (!document || section == nullptr) return items;
  for (unsigned number = 1;; ++number) {
    std::optional<Text> value = document->FindValue(section, DecimalText(number));
    if (!value || value->empty()) break;
    if (value->size() > maxValueLength) value->resize(maxValueLength);
    items.push_back(std::move(*value));
  }
  return items;
}
