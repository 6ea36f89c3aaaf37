#include "dialogs/speed_dial_dlg.h"

#include "res/resource.h"
#include "ui/tellbud_dlg.h"

namespace {

const int kNumberChars = 3;
const int kShownNumberChars = 4;

}  // namespace

CSpeedDialDlg::CSpeedDialDlg(CTellbudDlg* pOwner)
    : CContactDialog(IDD_SPEEDDIAL, pOwner, 1, kShownNumberChars, kNumberChars) {}

void CSpeedDialDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (!m_strNumber.IsEmpty() && IsNumberTaken(m_strNumber)) {
    AfxMessageBox(TEXT("The speed number is already used!"), MB_OK, m_hWnd);
    return;
  }
  if (m_bHasContact) {
    if (!StoreValue(TEXT("SpeedDialNumber"), m_strNumber)) return;
    int row = ContactRow();
    if (row >= 0) m_pOwner->m_list.SetItemText(row, 1, m_strNumber);
  }
  // Without a contact there is nothing to store; OK still closes.
  EndDialog(IDOK);
}

BOOL CSpeedDialDlg::IsNumberTaken(const CString& number) const {
  int own = ContactRow();
  const CListCtrl& list = m_pOwner->m_list;
  for (int row = 0; row < list.GetItemCount(); ++row) {
    WCHAR shown[kShownNumberChars + 1] = {0};
    list.GetItemText(row, 1, shown, kShownNumberChars + 1);
    // Character for character, as the keypad compares what is typed.
    if (row != own && number == shown) return TRUE;
  }
  return FALSE;
}
