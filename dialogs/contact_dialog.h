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
  CContactDialog(UINT nIDTemplate, CTellbudDlg* pOwner);

 protected:
  // Gives the dialog the main window's icons and notes the selected contact; returns the text
  // of the selected row's column `nColumn` (at most nMaxChars characters), empty without a row.
  CString OpenOnSelectedRow(int nColumn, int nMaxChars);
  // The contact's row now, or -1 when it is no longer listed.
  int ContactRow() const;
  // Writes `value` in quotes under the contact's sign-in name in `section` of the custom file.
  // On failure tells the user in a message box owned by the dialog and returns FALSE: nothing
  // was stored, and the dialog stays open.
  BOOL StoreValue(LPCWSTR section, const CString& value);

  CTellbudDlg* m_pOwner;
  BOOL m_bHasContact = FALSE;  // a contact's row was selected when the dialog opened
  CString m_strSignin;         // that row's sign-in name
};
