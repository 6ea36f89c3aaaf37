// CLanguageDlg: the language Messenger runs in, which decides the language file whose phrases
// the conversation scan looks for. The choice takes effect at once, without a restart.
#pragma once

#include <framework/controls.h>
#include <framework/dialog.h>

class CTellbudDlg;

class CLanguageDlg : public CDialog {
 public:
  explicit CLanguageDlg(CTellbudDlg* pOwner);

  CComboBox m_cbLanguage;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  CTellbudDlg* m_pOwner;
};
