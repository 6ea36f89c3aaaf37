#include "dialogs/contact_dialog.h"

#include "app/paths.h"
#include "config/profile.h"
#include "dialogs/save_message.h"
#include "res/resource.h"
#include "ui/tellbud_dlg.h"

namespace {

const int kSigninChars = 259;

}  // namespace

CContactDialog::CContactDialog(UINT nIDTemplate, CTellbudDlg* pOwner, int nColumn, int nShownChars,
                               int nMaxChars)
    : CDialog(nIDTemplate, pOwner),
      m_pOwner(pOwner),
      m_nColumn(nColumn),
      m_nShownChars(nShownChars),
      m_nMaxChars(nMaxChars) {}

void CContactDialog::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_NAME_EDIT, Value());
  DDV_MaxChars(pDX, Value(), m_nMaxChars);
}

BOOL CContactDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(m_pOwner->m_hIcon, TRUE);
  SetIcon(m_pOwner->m_hIcon, FALSE);
  Value().Empty();
  int row = m_pOwner->m_list.GetSelectionMark();
  if (row >= 0 && row < m_pOwner->m_list.GetItemCount()) {
    m_strSignin = m_pOwner->m_list.GetItemText(row, 2).Left(kSigninChars);
    // The separator row is no contact: nothing can be stored for it.
    m_bHasContact = !m_strSignin.IsEmpty();
    Value() = m_pOwner->m_list.GetItemText(row, m_nColumn).Left(m_nShownChars);
  }
  UpdateData(FALSE);
  return TRUE;
}

int CContactDialog::ContactRow() const { return m_bHasContact ? m_pOwner->FindContactRow(m_strSignin) : -1; }

BOOL CContactDialog::StoreValue(LPCWSTR section, const CString& value) {
  CString quoted;
  quoted.Format(TEXT("\"%s\""), static_cast<LPCWSTR>(value));
  if (m_bHasContact && WriteProfileString(section, m_strSignin, quoted, g_szCustomPath)) return TRUE;
  ShowNotSavedMessage(m_hWnd, TEXT("Custom.ini"));
  return FALSE;
}
