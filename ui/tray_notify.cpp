// The tray icon's mouse messages: a double-click brings the main window up, a right-click
// brings it up and opens the tray menu.
#include "ui/tellbud_dlg.h"

#include "res/resource.h"

LRESULT CTellbudDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
  if (wParam != IDR_MAINFRAME) return -1;
  switch (static_cast<UINT>(lParam)) {
    case WM_RBUTTONDOWN: {
      RaiseMainWindow(TRUE);
      CheckMenuItem(m_hTrayMenu, ID_TRAY_AUTORUN, MF_BYCOMMAND | (m_bAutoRun ? MF_CHECKED : MF_UNCHECKED));
      POINT cursor{0, 0};
      GetCursorPos(&cursor);
      TrackPopupMenuEx(m_hTrayMenu, TPM_RIGHTBUTTON, cursor.x, cursor.y, m_hWnd, nullptr);
      // A notification-area menu closes properly the next time only after the owner gets a message.
      PostMessageW(m_hWnd, WM_NULL, 0, 0);
      break;
    }
    case WM_LBUTTONDBLCLK:
      RaiseMainWindow(TRUE);
      break;
    default:
      break;
  }
  return 1;
}
