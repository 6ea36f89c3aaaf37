// The contact list: the list view's rows are the program's contact table. Online contacts stand
// above a blank separator row, offline ones below it; each row shows the display name, the
// speed-dial number and the sign-in name, its key.
#include "ui/tellbud_dlg.h"

#include <shlwapi.h>

#include "app/paths.h"
#include "config/profile.h"
#include "monitor/contact_row_index.h"

namespace {

const int kSigninBuffer = 256;     // sign-in names are compared on their first 255 characters
const DWORD kSpeedDialBuffer = 4;  // a speed-dial number has at most three digits
const DWORD kCustomNameBuffer = 260;
const int kOnlineImage = 0;
const int kOfflineImage = 1;
const int kSeparatorImage = -1;

bool IsOnlineStatus(LONG status) { return status > 1; }

}  // namespace

void CTellbudDlg::RebuildContactList() {
  if (!m_bMSNConnected || !m_pContacts) return;
  m_list.DeleteAllItems();
  m_list.InsertItem(0, TEXT(" "), kSeparatorImage);
  m_nOnlineCount = 0;
  LONG count = 0;
  CheckComResult(m_pContacts->get_Count(&count), IID_IMessengerContacts);
  m_nContactCount = count > 0 ? static_cast<DWORD>(count) : 0;
  CContactRowIndex index;
  index.Reset(m_list, m_nOnlineCount);
  for (LONG i = 0; i < count; ++i) {
    CComRef<IDispatch> item;
    CheckComResult(m_pContacts->Item(i, item.Receive()), IID_IMessengerContacts);
    CComRef<IMessengerContact> contact;
    contact.QueryFrom(item.Get());
    AddOrReplaceContact(contact, FALSE, &index);
  }
}

void CTellbudDlg::AddOrReplaceContact(CComRef<IMessengerContact> contact, BOOL bApplyCustomName) {
  AddOrReplaceContact(std::move(contact), bApplyCustomName, nullptr);
}

// Places the contact by status: among its part of the list after every row whose display name
// starts with a character that its friendly name compares greater than (or equal to, for a
// longer name), before the first row whose first character compares greater.
void CTellbudDlg::AddOrReplaceContact(CComRef<IMessengerContact> contact, BOOL bApplyCustomName,
                                      CContactRowIndex* index) {
  CBstrResult signinName, friendlyName;
  CheckComResult(contact->get_SigninName(signinName.Receive()), IID_IMessengerContact);
  CheckComResult(contact->get_FriendlyName(friendlyName.Receive()), IID_IMessengerContact);
  LPCWSTR signin = signinName.Text();
  LPCWSTR friendly = friendlyName.Text();

  WCHAR speedDial[kSpeedDialBuffer] = {0};
  ReadProfileString(TEXT("SpeedDialNumber"), signin, TEXT(""), speedDial, kSpeedDialBuffer, g_szCustomPath);
  WCHAR customName[kCustomNameBuffer] = {0};
  ReadProfileString(TEXT("CustomName"), signin, TEXT(""), customName, kCustomNameBuffer, g_szCustomPath);

  // Every detail is read before a row changes: a failing read leaves the list as it was.
  LONG status = 0;
  CheckComResult(contact->get_Status(&status), IID_IMessengerContact);

  int existing = !index || index->MayHaveRow(signin) ? FindContactRow(signin) : -1;
  if (existing >= 0) DeleteContactRow(existing);

  auto comesBefore = [&](int row) {
    WCHAR first[2] = {0};
    m_list.GetItemText(row, 0, first, 2);
    return StrCmpIW(friendly, first) <= 0;
  };
  int row;
  int image = IsOnlineStatus(status) ? kOnlineImage : kOfflineImage;
  CContactRowIndex::CPlace place;
  if (index) {
    // A row gone changes the groups; rare enough to learn the list anew.
    if (existing >= 0) index->Reset(m_list, m_nOnlineCount);
    place = index->Place(image == kOnlineImage, friendly, m_nOnlineCount, m_list.GetItemCount());
    row = place.row;
  } else if (image == kOnlineImage) {
    row = static_cast<int>(m_nOnlineCount);
    for (int i = 0; i < static_cast<int>(m_nOnlineCount); ++i) {
      if (comesBefore(i)) {
        row = i;
        break;
      }
    }
  } else {
    row = m_list.GetItemCount();
    for (int i = static_cast<int>(m_nOnlineCount) + 1; i < m_list.GetItemCount(); ++i) {
      if (comesBefore(i)) {
        row = i;
        break;
      }
    }
  }
  int inserted = m_list.InsertItem(row, friendly, image);
  if (inserted < 0) return;
  if (image == kOnlineImage) ++m_nOnlineCount;
  m_list.SetItemText(inserted, 0, friendly);
  m_list.SetItemText(inserted, 1, speedDial);
  m_list.SetItemText(inserted, 2, signin);
  bool custom = bApplyCustomName && customName[0];
  if (custom) m_list.SetItemText(inserted, 0, customName);
  if (index) {
    if (inserted == row) {
      index->Inserted(place, custom ? customName : friendly, signin);
    } else {
      index->Reset(m_list, m_nOnlineCount);
    }
  }
}

void CTellbudDlg::ApplyCustomNames() {
  if (!m_bMSNConnected || !m_pContacts) return;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    WCHAR signin[kSigninBuffer] = {0};
    m_list.GetItemText(row, 2, signin, kSigninBuffer);
    if (!signin[0]) continue;
    WCHAR customName[kCustomNameBuffer] = {0};
    ReadProfileString(TEXT("CustomName"), signin, TEXT(""), customName, kCustomNameBuffer, g_szCustomPath);
    if (customName[0]) m_list.SetItemText(row, 0, customName);
  }
}

// An empty name matches nothing: the separator row's sign-in column is empty too.
int CTellbudDlg::FindContactRow(LPCWSTR signin) {
  if (!signin || !signin[0]) return -1;
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    WCHAR text[kSigninBuffer] = {0};
    m_list.GetItemText(row, 2, text, kSigninBuffer);
    if (StrCmpIW(text, signin) == 0) return row;
  }
  return -1;
}

void CTellbudDlg::DeleteContactRow(int row) {
  m_list.DeleteItem(row);
  if (row >= 0 && static_cast<DWORD>(row) < m_nOnlineCount) --m_nOnlineCount;
}
