// Dialog items by id: lookup, text and numbers, messages, check buttons; dialog units.
#include <windows.h>

#include <string>

#include "user/dialog.h"

namespace sim::user {

namespace {

// Reads a whole number as GetDlgItemInt does: spaces before and after it are allowed, a sign
// only when signed; anything else, or a value out of range, is not translated.
bool ParseDialogInt(const std::u16string& text, bool is_signed, UINT* out) {
  size_t i = 0, n = text.size();
  while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < n && (text[i] == u'-' || text[i] == u'+')) {
    if (text[i] == u'-' && !is_signed) return false;
    negative = text[i] == u'-';
    ++i;
  }
  size_t digits_start = i;
  unsigned long long value = 0;
  for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + static_cast<unsigned>(text[i] - u'0');
    if (value > 0xFFFFFFFFull) return false;
  }
  if (i == digits_start) return false;
  while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
  if (i != n) return false;
  if (is_signed) {
    if (negative ? value > 0x80000000ull : value > 0x7FFFFFFFull) return false;
    *out = static_cast<UINT>(negative ? -static_cast<long long>(value) : static_cast<long long>(value));
  } else {
    *out = static_cast<UINT>(value);
  }
  return true;
}

}  // namespace

}  // namespace sim::user

using namespace sim::user;

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  Window* w = CheckedFromHandle(hDlg);
  if (!w) return nullptr;
  for (HWND c : w->children) {
    Window* cw = FromHandle(c);
    if (cw && static_cast<int>(cw->id) == nIDDlgItem) return c;
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
  if (lpString && cchMax > 0) lpString[0] = 0;
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  if (!item) return 0;
  return static_cast<UINT>(GetWindowTextW(item, lpString, cchMax));
}

BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  if (!item) return FALSE;
  return SendMessageW(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : u"")) != 0;
}

UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned) {
  if (lpTranslated) *lpTranslated = FALSE;
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  if (!item) return 0;
  std::u16string text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  UINT value = 0;
  if (!ParseDialogInt(text, bSigned != FALSE, &value)) return 0;
  if (lpTranslated) *lpTranslated = TRUE;
  return value;
}

BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
  std::string digits = bSigned ? std::to_string(static_cast<INT>(uValue)) : std::to_string(uValue);
  std::u16string text(digits.begin(), digits.end());
  return SetDlgItemTextW(hDlg, nIDDlgItem, text.c_str());
}

LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  return item ? SendMessageW(item, Msg, wParam, lParam) : 0;
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND item = GetDlgItem(hDlg, nIDButton);
  if (!item) return FALSE;
  SendMessageW(item, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  HWND item = GetDlgItem(hDlg, nIDButton);
  return item ? static_cast<UINT>(SendMessageW(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  if (!CheckedFromHandle(hDlg)) return FALSE;
  DialogData* d = FindDialogData(hDlg);
  if (!d || !lpRect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  lpRect->left = lpRect->left * d->base_x / 4;
  lpRect->right = lpRect->right * d->base_x / 4;
  lpRect->top = lpRect->top * d->base_y / 8;
  lpRect->bottom = lpRect->bottom * d->base_y / 8;
  return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void) { return MAKELONG(kBaseUnitX, kBaseUnitY); }
