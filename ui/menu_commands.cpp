// What the tray menu, the contact menu and the contact list's mouse actions do, and the one
// operation behind every outgoing voice call.
#include "ui/tellbud_dlg.h"

#include "app/paths.h"
#include "dialogs/language_dlg.h"
#include "dialogs/rename_dlg.h"
#include "dialogs/speed_dial_dlg.h"
#include "phone/option_dlg.h"
#include "res/resource.h"
#include "ui/about_dlg.h"

BOOL CTellbudDlg::OnCommandId(UINT nID, UINT nCode, HWND hWndCtl) {
  switch (nID) {
    case ID_TRAY_EXIT:
      OnExit();
      return TRUE;
    case ID_TRAY_AUTORUN:
      ToggleAutoRun();
      return TRUE;
    case ID_TRAY_ABOUT:
      OnAbout();
      return TRUE;
    case ID_TRAY_SETAUDIO:
      if (m_bMSNConnected)
        RunMessengerStep(TEXT("the audio wizard"),
                         [&] { CheckComResult(m_pMessenger->MediaWizard(0), IID_IMessenger); });
      return TRUE;
    case ID_CONTACT_STARTVOICE: {
      // As with a double-click or the handset's keys, no call is placed while one rings or runs:
      // the new call would take the handset from the one in progress, which then runs on unseen.
      if (!m_bMSNConnected || m_nCallState != CALL_READY) return TRUE;
      int row = m_list.GetSelectionMark();
      if (row < 0) return TRUE;
      CString signin = m_list.GetItemText(row, 2);
      if (!signin.IsEmpty()) {
        RunMessengerStep(TEXT("starting a voice conversation"), [&] { StartVoiceConversation(signin); });
      }
      return TRUE;
    }
    case ID_CONTACT_STARTCHAT: {
      if (!m_bMSNConnected) return TRUE;
      int row = m_list.GetSelectionMark();
      if (row < 0) return TRUE;
      CString signin = m_list.GetItemText(row, 2);
      RunMessengerStep(TEXT("starting a text conversation"), [&] {
        CContactVariant contact(signin);
        CComRef<IDispatch> window;
        CheckComResult(m_pMessenger->InstantMessage(contact.Get(), window.Receive()), IID_IMessenger);
      });
      return TRUE;
    }
    case ID_TRAY_SELECTLANGUAGE: {
      CLanguageDlg dialog(this);
      CString before = g_szLanguagePath;
      RunDialogOnce(dialog);
      if (before.Compare(g_szLanguagePath) != 0) RereadCurrentCall();
      return TRUE;
    }
    case ID_TRAY_OPTION:
      if (m_bPhoneFound) OnOption();
      return TRUE;
    case ID_CONTACT_RENAME: {
      CRenameDlg dialog(this);
      RunDialogOnce(dialog);
      return TRUE;
    }
    case ID_CONTACT_SPEEDDIAL: {
      CSpeedDialDlg dialog(this);
      RunDialogOnce(dialog);
      return TRUE;
    }
    default:
      return CDialog::OnCommandId(nID, nCode, hWndCtl);
  }
}

// The main window destroys itself; its destruction ends the modal run and so the program.
void CTellbudDlg::OnExit() { DestroyWindow(); }

// A ring-style preview started in the dialog ends with it at the latest.
void CTellbudDlg::OnOption() {
  {
    COptionDlg dialog(this);
    if (!RunDialogOnce(dialog)) return;
  }
  if (GetSafeHwnd()) StopRingPreview();
}

void CTellbudDlg::OnAbout() {
  CAboutDlg about;
  RunDialogOnce(about);
}

// The row a click on the list acts on: the row under the click's point. Neither the selection
// mark (a click on the empty space below the rows leaves it) nor the selection (the list can be
// rebuilt between the press and the release) says which row was clicked.
int CTellbudDlg::ClickedContactRow(POINT ptAction) { return m_list.HitTest(ptAction); }

void CTellbudDlg::OnContactDoubleClick(POINT ptAction) {
  if (!m_bMSNConnected || m_nCallState != CALL_READY) return;
  int row = ClickedContactRow(ptAction);
  if (row < 0) return;
  CString signin = m_list.GetItemText(row, 2);
  if (signin.IsEmpty()) return;
  RunMessengerStep(TEXT("starting a voice conversation"), [&] { StartVoiceConversation(signin); });
}

void CTellbudDlg::OnContactRightClick(POINT ptAction) {
  if (!m_bMSNConnected) return;
  int row = ClickedContactRow(ptAction);
  if (row < 0) return;
  CString signin = m_list.GetItemText(row, 2);
  if (signin.IsEmpty()) return;
  CMenu menu;
  if (!menu.LoadMenu(IDR_CONTACTMENU)) return;
  CMenu* popup = menu.GetSubMenu(0);
  if (!popup) return;
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  UINT command =
      static_cast<UINT>(popup->TrackPopupMenuEx(TPM_RIGHTBUTTON | TPM_RETURNCMD, cursor.x, cursor.y, this));
  // The menu's commands act on the marked row. The list can change while the menu is open (a
  // contact's event, a refresh): the command goes to the contact that was clicked, wherever its
  // row is now, and to no one when it has left the list.
  row = FindContactRow(signin);
  if (!command || row < 0) return;
  m_list.SetSelectionMark(row);
  SendMessage(WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// Starts a Messenger voice conversation with `signin`, makes it the current conversation and
// shows it on the handset. Raises when a Messenger call fails or no conversation window results.
void CTellbudDlg::StartVoiceConversation(LPCWSTR signin) {
  CContactVariant contact(signin);
  CComRef<IDispatch> window;
  CheckComResult(m_pMessenger->StartVoice(contact.Get(), window.Receive()), IID_IMessenger);
  CComRef<IMessengerConversationWnd> conversation;
  if (window) conversation.QueryFrom(window.Get());
  SetCurrentConversation(conversation, 0);
  window.Release();
  if (!m_pCurConversation) RaiseComError(E_POINTER, IID_IMessengerConversationWnd);

  CBstrResult history;
  CheckComResult(m_pCurConversation->get_History(history.Receive()), IID_IMessengerConversationWnd);
  m_nHistoryLen = static_cast<int>(history.Length());
  m_nCallTextStart = m_nHistoryLen;
  m_phone.ShowTalking(signin);
  m_nCallState = CALL_TALKING;

  // The conversation, if watched already, moves to the front with what is scanned now.
  LONG current = CurrentWindowHandle(TRUE);
  for (auto it = m_lstConversations.begin(); it != m_lstConversations.end(); ++it) {
    if (WatchedWindowHandle(*it) == current) {
      it->m_nScanned = static_cast<DWORD>(m_nHistoryLen);
      m_lstConversations.splice(m_lstConversations.begin(), m_lstConversations, it);
      break;
    }
  }
}
