// CContactDialog: what the rename and speed-dial dialogs share. Each works on the contact whose
// row is selected when it opens, named by its sign-in name: while the dialog is open Messenger's
// events may move, add or remove rows, so the row is found again by that name when the user
// confirms. Values are stored in the custom file under the sign-in name, in quotes.
#pragma once

#include <windows.h>

#include <framework/cstring.h>
#include <framework/dialog.h>

class CTellbudDlg;

class CContactDialog : public CDialog {
 public:
  // The edit shows column `nColumn` of the contact's row (at most nShownChars characters) and
  // takes at most nMaxChars.
  CContactDialog(UINT nIDTemplate, CTellbudDlg* pOwner, int nColumn, int nShownChars, int nMaxChars);

 protected:
  // The member that the edit exchanges its text with.
  virtual CString& Value() = 0;
  void DoDataExchange(CDataExchange* pDX) override;
  // Gives the dialog the main window's icons, notes the selected contact and fills the edit
  // from its row (empty without a row).
  BOOL OnInitDialog() override;
  // The contact's row now, or -1 when it is no longer listed.
  int ContactRow() const;
  // Writes `value` in quotes under the contact's sign-in name in `section` of the custom file.
  // On failure tells the user in a message box owned by the dialog and returns FALSE: nothing
  // was stored, and the dialog stays open.
  BOOL StoreValue(LPCWSTR section, const CString& value);

  CTellbudDlg* m_pOwner;
  int m_nColumn;
  int m_nShownChars;
  int m_nMaxChars;
  BOOL m_bHasContact = FALSE;  // a contact's row was selected when the dialog opened
  CString m_strSignin;         // that row's sign-in name
};
