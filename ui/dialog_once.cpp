// One dialog of a kind at a time: the tray menu stays usable while a dialog is open, and choosing
// the same entry again brings the open dialog forward.
#include "ui/tellbud_dlg.h"

#include <algorithm>

BOOL CTellbudDlg::RunDialogOnce(CDialog& dialog) {
  for (CDialog* open : m_openDialogs) {
    if (open->GetTemplateID() != dialog.GetTemplateID()) continue;
    HWND hwnd = open->GetSafeHwnd();
    if (hwnd) {
      ::ShowWindow(hwnd, SW_SHOW);
      ::SetForegroundWindow(hwnd);
    }
    return FALSE;
  }
  m_openDialogs.push_back(&dialog);
  dialog.DoModal();
  m_openDialogs.erase(std::find(m_openDialogs.begin(), m_openDialogs.end(), &dialog));
  return TRUE;
}
