#include "dialogs/rename_dlg.h"

#include <shlwapi.h>

#include "res/resource.h"
#include "ui/tellbud_dlg.h"

namespace {

const int kNameChars = 256;
const int kShownNameChars = 259;

}  // namespace

CRenameDlg::CRenameDlg(CTellbudDlg* pOwner)
    : CContactDialog(IDD_RENAME, pOwner, 0, kShownNameChars, kNameChars) {}

// The name is stored first: whatever Messenger does afterwards, the user's change is kept.
void CRenameDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  if (!m_bHasContact) return;  // no contact to rename: the dialog stays until cancelled
  if (!StoreValue(TEXT("CustomName"), m_strName)) return;
  if (m_strName.IsEmpty()) {
    RestoreFriendlyName();
  } else {
    int row = ContactRow();
    if (row >= 0) m_pOwner->m_list.SetItemText(row, 0, m_strName);  // the row keeps its place
  }
  EndDialog(IDOK);
}

// Places the contact again with Messenger's friendly name. A contact Messenger no longer lists
// loses its row. When Messenger cannot tell, the row stays and shows the sign-in name until the
// contact list is rebuilt, which is asked for at once.
void CRenameDlg::RestoreFriendlyName() {
  CTellbudDlg& owner = *m_pOwner;
  try {
    if (!owner.m_pContacts) RaiseComError(E_POINTER, IID_IMessengerContacts);
    for (LONG i = 0;; ++i) {
      LONG count = 0;
      CheckComResult(owner.m_pContacts->get_Count(&count), IID_IMessengerContacts);
      if (i >= count) break;
      CComRef<IDispatch> item;
      CheckComResult(owner.m_pContacts->Item(i, item.Receive()), IID_IMessengerContacts);
      CComRef<IMessengerContact> contact;
      contact.RequireFrom(item.Get());
      CBstrResult signin;
      CheckComResult(contact->get_SigninName(signin.Receive()), IID_IMessengerContact);
      if (StrCmpIW(signin.Text(), m_strSignin) == 0) {
        owner.AddOrReplaceContact(contact, FALSE);
        return;
      }
    }
    int row = ContactRow();
    if (row >= 0) owner.DeleteContactRow(row);
  } catch (const _com_error&) {
    int row = ContactRow();
    if (row >= 0) owner.m_list.SetItemText(row, 0, m_strSignin);
    owner.SetTimer(TIMER_CONTACT_REFRESH, MESSENGER_WATCH_MS);
  }
}
