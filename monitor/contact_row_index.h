// What a rebuild of the contact list knows of the rows it has made so far. Adding a contact
// walks the rows twice, once for an older row of the same sign-in name and once for the place
// of the new row, which makes a rebuild grow with the square of the list. The index answers both
// questions without reading the rows: the place by walking the groups of neighbouring rows that
// share a first character (each group gives one answer for all of its rows), the older row by a
// lookup. Every answer is the one the walks over the rows would give; where that cannot be told
// cheaply the index says so and the caller walks the rows after all.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_set>
#include <vector>

class CListCtrl;

class CContactRowIndex {
 public:
  typedef std::basic_string<WCHAR> CText;

  // Learns the list's rows as they are; the separator row stands at `onlineCount`.
  void Reset(CListCtrl& list, DWORD onlineCount);

  // False when certainly no row's sign-in name equals `signin` ignoring case.
  bool MayHaveRow(LPCWSTR signin) const;

  // Where a contact shown as `friendly` goes: in the online part before the first row whose
  // first character `friendly` does not compare greater than (StrCmpIW), else just above the
  // separator; in the offline part likewise, else at the end.
  struct CPlace {
    int row = 0;
    bool online = false;
    size_t group = 0;  // the group of rows the new row goes in front of (or the number of groups)
  };
  CPlace Place(bool online, LPCWSTR friendly, DWORD onlineCount, int rowCount) const;
  // The row was inserted at `place`, showing `friendly`, for `signin`.
  void Inserted(const CPlace& place, LPCWSTR friendly, LPCWSTR signin);

 private:
  // Neighbouring rows of one part whose display names start with the same character.
  struct CGroup {
    CText first;
    int rows = 0;
  };
  static CText FirstCharacter(LPCWSTR name);
  // Sign-in names made only of the characters of ordinary mail addresses compare equal ignoring
  // case exactly when their ASCII lower-case forms are equal; others are kept aside and compared
  // one by one.
  static bool IsPlain(LPCWSTR signin);
  static CText PlainKey(LPCWSTR signin);
  void AddSignin(LPCWSTR signin);

  std::vector<CGroup> m_online;
  std::vector<CGroup> m_offline;
  std::unordered_set<CText> m_plainSignins;
  std::vector<CText> m_otherSignins;
};
