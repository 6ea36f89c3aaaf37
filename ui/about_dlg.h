// CAboutDlg: the program icon, the version text and an OK button.
#pragma once

#include <framework/dialog.h>

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
};
