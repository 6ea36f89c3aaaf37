// The monitor: the main window's timers. Every two seconds it looks for the handset until it has
// found it, follows Messenger's process, connects to Messenger once it runs and hands the open
// conversations to the conversation scan; it keeps the tray icon in step with what it finds.
#include "ui/tellbud_dlg.h"

#include <tlhelp32.h>
#include <shlwapi.h>
#include <strsafe.h>

#include "app/paths.h"
#include "config/profile.h"
#include "phone/model_code.h"
#include "phone/option_settings.h"

namespace {

const WCHAR kMessengerImage[] = TEXT("msnmsgr.exe");
const WCHAR kConversationClass[] = TEXT("IMWindowClass");
const WCHAR kOkIcon[] = TEXT("\\ok.ico");
const WCHAR kNoDeviceIcon[] = TEXT("\\nodevice.ico");
const WCHAR kNoMessengerIcon[] = TEXT("\\nophone.ico");
const WCHAR kOnlineTip[] = TEXT("Online");
const WCHAR kNoDeviceTip[] = TEXT("Can't find USB Phone");
const WCHAR kNoMessengerTip[] = TEXT("Can't find Messenger");
const size_t kProcessLineLength = 256;

}  // namespace

void CTellbudDlg::OnPhoneSearchTick() {
  SetTimer(TIMER_PHONE_SEARCH, PHONE_SEARCH_MS);
  if (m_bPhoneFound) return;
  if (!m_phone.OpenDevice(0)) {
    ShowTrayState(kNoDeviceIcon, kNoDeviceTip);
    return;
  }
  KillTimer(TIMER_PHONE_SEARCH);
  m_bPhoneFound = TRUE;
  m_nPhoneModel = static_cast<DWORD>(m_phone.GetModelCode());
  if (IsAdaptor(m_nPhoneModel)) {
    m_nChannel = ReadChannelType();
    if (IsChannelGroup1(m_nPhoneModel)) {
      m_phone.SetDefaultChannel(m_nChannel);
    } else if (IsChannelGroup2(m_nPhoneModel)) {
      m_phone.SetDefaultChannel2(m_nChannel);
    }
  } else {
    m_nRingType = ReadRingType();
    m_phone.SetRing(FALSE, static_cast<short>(m_nRingType));
  }
  // A call that rang or ran while the handset was away stays current and is shown again, so
  // that the handset can still answer or end it; otherwise the handset starts ready.
  if (m_pCurConversation &&
      (m_nCallState == CALL_RINGING || m_nCallState == CALL_TALKING || m_bHandsetCall)) {
    ShowCurrentCallAgain();
  } else {
    m_phone.SetIdle();
    m_nCallState = CALL_READY;
  }
  if (m_bMSNConnected) ShowTrayState(kOkIcon, kOnlineTip);
}

// Walks the process list, writing each image name for the debugger, until Messenger's.
BOOL CTellbudDlg::IsMessengerRunning(DWORD& processId) {
  processId = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return FALSE;
  PROCESSENTRY32W entry;
  ZeroMemory(&entry, sizeof entry);
  entry.dwSize = sizeof entry;
  BOOL found = FALSE;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    WCHAR line[kProcessLineLength];
    StringCchPrintfW(line, kProcessLineLength, TEXT("%s\n"), entry.szExeFile);
    OutputDebugStringW(line);
    if (StrCmpIW(entry.szExeFile, kMessengerImage) == 0) {
      found = TRUE;
      processId = entry.th32ProcessID;
      break;
    }
  }
  CloseHandle(snapshot);
  return found;
}

void CTellbudDlg::DropLostMessenger() {
  m_bSignedIn = FALSE;
  DisconnectMessenger();
  // Messenger's conversations are gone with it: a call that rang or ran is over.
  ForgetLostMessenger();
}

void CTellbudDlg::OnMessengerWatchTick() {
  DWORD processId = 0;
  if (!IsMessengerRunning(processId)) {
    OutputDebugStringW(TEXT("m_bMSNRuning = FALSE\n"));
    m_bMSNRuning = FALSE;
    m_dwMessengerProcessId = 0;
    DropLostMessenger();
    ShowTrayState(kNoMessengerIcon, kNoMessengerTip);
    return;
  }
  OutputDebugStringW(TEXT("m_bMSNRuning = TRUE\n"));
  m_bMSNRuning = TRUE;
  // Messenger quit and started again between two ticks: the objects held are of a process
  // that is gone, and every call on them would fail for good.
  if (m_dwMessengerProcessId != 0 && processId != m_dwMessengerProcessId) DropLostMessenger();
  m_dwMessengerProcessId = processId;

  // A Messenger call that fails ends the tick here, and only the tick: a connection once made
  // stands, and the next tick scans.
  RunMessengerStep(TEXT("the Messenger watch"), [&] {
    if (!m_bMSNConnected) {
      try {
        m_bMSNConnected = ConnectMessenger() ? TRUE : FALSE;
      } catch (const _com_error&) {
        ShowTrayState(kNoMessengerIcon, kNoMessengerTip);
        throw;
      }
      if (m_bMSNConnected) {
        m_bTakeInPending = TRUE;
        try {
          OnMessengerConnected();
        } catch (const _com_error&) {
          if (m_bPhoneFound) ShowTrayState(kOkIcon, kOnlineTip);
          throw;
        }
        if (m_bPhoneFound) ShowTrayState(kOkIcon, kOnlineTip);
      } else {
        ShowTrayState(kNoMessengerIcon, kNoMessengerTip);
      }
    } else {
      if (m_bPhoneFound) ShowTrayState(kOkIcon, kOnlineTip);
      // The list or the open windows were taken in only in part: the next ticks try again, and
      // a failure there does not keep the scan from running.
      if (m_bTakeInPending) RunMessengerStep(TEXT("the Messenger watch"), [&] { OnMessengerConnected(); });
    }
    // An adaptor's lifted handset on the telephone line, or recent line activity, pause the scan;
    // a ringing call that ends meanwhile still stops ringing.
    if (IsAdaptor(m_nPhoneModel)) {
      RefreshChannel();
      if ((m_nChannel == CHANNEL_PSTN && m_bOffHook) || m_bMonitorPaused) {
        if (m_pCurConversation && m_nCallState == CALL_RINGING) ScanCurrentConversation(TRUE);
        return;
      }
    }
    ScanConversations();
  });
}

// Right after connecting: the contact list from Messenger, the conversation windows that were
// already open, then the custom names.
void CTellbudDlg::OnMessengerConnected() {
  if (m_pContacts) RebuildContactList();
  std::vector<HWND> windows;
  for (HWND w = FindWindowExW(nullptr, nullptr, kConversationClass, nullptr); w;
       w = FindWindowExW(nullptr, w, kConversationClass, nullptr))
    windows.push_back(w);
  // Every open conversation window is adopted, however many there are.
  for (HWND w : windows) AdoptConversationWindow(w, windows);
  if (m_bMSNConnected && m_pContacts) ApplyCustomNames();
  m_bTakeInPending = FALSE;
}

void CTellbudDlg::OnPauseEnd() {
  m_bMonitorPaused = FALSE;
  KillTimer(TIMER_PAUSE_END);
}

// The refresh ends once the list was read whole; a failure leaves the timer to try again.
void CTellbudDlg::OnContactRefreshTick() {
  RunMessengerStep(TEXT("the contact list refresh"), [&] {
    if (m_pMessenger) {
      CComRef<IDispatch> contacts;
      CheckComResult(m_pMessenger->get_MyContacts(contacts.Receive()), IID_IMessenger);
      m_pContacts.QueryFrom(contacts.Get());
    }
    RebuildContactList();
    ApplyCustomNames();
    KillTimer(TIMER_CONTACT_REFRESH);
  });
}

void CTellbudDlg::RefreshChannel() {
  if (IsChannelGroup1(m_nPhoneModel)) {
    m_nChannel = m_phone.GetChannel();
  } else if (IsChannelGroup2(m_nPhoneModel)) {
    m_nChannel = m_phone.GetChannel2();
  }
}
