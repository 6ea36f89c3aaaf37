// CSpeedDialDlg: gives the selected contact a speed-dial number of up to three digits, typed on
// the handset's keypad to select the contact. A number that another row already shows is
// refused; numbers are compared as text, so "07" and "7" are different numbers.
#pragma once

#include "dialogs/contact_dialog.h"

class CSpeedDialDlg : public CContactDialog {
 public:
  explicit CSpeedDialDlg(CTellbudDlg* pOwner);

  CString m_strNumber;

 protected:
  CString& Value() override { return m_strNumber; }
  void OnOK() override;

 private:
  // Whether a row other than the contact's own shows `number`.
  BOOL IsNumberTaken(const CString& number) const;
};
