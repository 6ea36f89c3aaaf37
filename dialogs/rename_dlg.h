// CRenameDlg: gives the selected contact a custom name, shown in its row instead of Messenger's
// friendly name; an empty name brings the friendly name back.
#pragma once

#include "dialogs/contact_dialog.h"

class CRenameDlg : public CContactDialog {
 public:
  explicit CRenameDlg(CTellbudDlg* pOwner);

  CString m_strName;

 protected:
  CString& Value() override { return m_strName; }
  void OnOK() override;

 private:
  void RestoreFriendlyName();
};
