#include "monitor/contact_row_index.h"

#include <shlwapi.h>

#include <framework/controls.h>

namespace {

const int kSigninBuffer = 256;  // as the rows are compared: the first 255 characters

size_t StrNLen(LPCWSTR text, size_t limit) {
  size_t n = 0;
  while (n < limit && text[n]) ++n;
  return n;
}

}  // namespace

CContactRowIndex::CText CContactRowIndex::FirstCharacter(LPCWSTR name) {
  // What the list gives for column 0 read with room for one character.
  return name && name[0] ? CText(1, name[0]) : CText();
}

bool CContactRowIndex::IsPlain(LPCWSTR signin) {
  for (LPCWSTR p = signin; *p; ++p) {
    WCHAR c = *p;
    bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letterOrDigit && c != '@' && c != '.' && c != '_' && c != '-' && c != '+') return false;
  }
  return true;
}

CContactRowIndex::CText CContactRowIndex::PlainKey(LPCWSTR signin) {
  CText key(signin);
  for (WCHAR& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<WCHAR>(c - 'A' + 'a');
  return key;
}

void CContactRowIndex::AddSignin(LPCWSTR signin) {
  if (!signin || !signin[0]) return;  // the separator: matched by no name
  // Kept as a row is read back for the comparison.
  CText name(signin, StrNLen(signin, kSigninBuffer - 1));
  if (IsPlain(name.c_str())) {
    m_plainSignins.insert(PlainKey(name.c_str()));
  } else {
    m_otherSignins.push_back(name);
  }
}

void CContactRowIndex::Reset(CListCtrl& list, DWORD onlineCount) {
  m_online.clear();
  m_offline.clear();
  m_plainSignins.clear();
  m_otherSignins.clear();
  int count = list.GetItemCount();
  for (int row = 0; row < count; ++row) {
    WCHAR signin[kSigninBuffer] = {0};
    list.GetItemText(row, 2, signin, kSigninBuffer);
    AddSignin(signin);
    if (static_cast<DWORD>(row) == onlineCount) continue;  // the separator
    WCHAR first[2] = {0};
    list.GetItemText(row, 0, first, 2);
    std::vector<CGroup>& groups = static_cast<DWORD>(row) < onlineCount ? m_online : m_offline;
    if (groups.empty() || groups.back().first != first) {
      groups.push_back(CGroup{first, 0});
    }
    ++groups.back().rows;
  }
}

bool CContactRowIndex::MayHaveRow(LPCWSTR signin) const {
  if (!signin || !signin[0]) return false;
  if (!IsPlain(signin)) return true;
  if (m_plainSignins.count(PlainKey(signin))) return true;
  for (const CText& other : m_otherSignins)
    if (StrCmpIW(other.c_str(), signin) == 0) return true;
  return false;
}

CContactRowIndex::CPlace CContactRowIndex::Place(bool online, LPCWSTR friendly, DWORD onlineCount,
                                                 int rowCount) const {
  const std::vector<CGroup>& groups = online ? m_online : m_offline;
  CPlace place;
  place.online = online;
  place.row = online ? 0 : static_cast<int>(onlineCount) + 1;
  for (place.group = 0; place.group < groups.size(); ++place.group) {
    if (StrCmpIW(friendly, groups[place.group].first.c_str()) <= 0) return place;
    place.row += groups[place.group].rows;
  }
  place.row = online ? static_cast<int>(onlineCount) : rowCount;
  return place;
}

void CContactRowIndex::Inserted(const CPlace& place, LPCWSTR friendly, LPCWSTR signin) {
  AddSignin(signin);
  std::vector<CGroup>& groups = place.online ? m_online : m_offline;
  CText first = FirstCharacter(friendly);
  // The new row ends the group before its place or starts the group at it, when it shares their
  // first character; otherwise it is a group of its own.
  if (place.group < groups.size() && groups[place.group].first == first) {
    ++groups[place.group].rows;
  } else if (place.group > 0 && groups[place.group - 1].first == first) {
    ++groups[place.group - 1].rows;
  } else {
    groups.insert(groups.begin() + static_cast<std::ptrdiff_t>(place.group), CGroup{first, 1});
  }
}
