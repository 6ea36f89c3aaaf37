// The live link to a running, signed-in Messenger: the root object, the user's contacts and the
// event sink advised on Messenger's event interface.
#include "ui/tellbud_dlg.h"

namespace {

const LONG kFirstSignedInStatus = 2;
const LONG kLastSignedInStatus = 66;
const DWORD kMainWindowWaitMs = 500;

bool IsSignedInStatus(LONG status) { return status >= kFirstSignedInStatus && status <= kLastSignedInStatus; }

}  // namespace

// Returns 1 when the connection is complete. Partial state (the root object while the user is
// signed out, the contacts and the sink when a later step fails) is kept and reused by the next
// attempt. Messenger calls without another rule raise.
int CTellbudDlg::ConnectMessenger() {
  if (!m_pMessenger) {
    HRESULT hr = CoCreateInstance(m_clsidMessenger, nullptr, CLSCTX_INPROC_SERVER, m_iidMessenger,
                                  reinterpret_cast<void**>(m_pMessenger.Receive()));
    if (FAILED(hr)) {
      m_pMessenger.Release();
      OutputDebugStringW(TEXT("Create MSN COM instance failed!\n"));
      return 0;
    }
    if (!m_pMessenger) RaiseComError(E_POINTER, IID_IMessenger);
  }

  LONG status = 0;
  CheckComResult(m_pMessenger->get_MyStatus(&status), IID_IMessenger);
  m_bSignedIn = IsSignedInStatus(status) ? TRUE : FALSE;
  if (!m_bSignedIn) return 0;

  if (!m_pContacts) {
    CComRef<IDispatch> contacts;
    CheckComResult(m_pMessenger->get_MyContacts(contacts.Receive()), IID_IMessenger);
    m_pContacts.QueryFrom(contacts.Get());
  }

  if (!m_pEventSink) {
    CComRef<IConnectionPointContainer> container;
    if (FAILED(m_pMessenger->QueryInterface(IID_IConnectionPointContainer,
                                            reinterpret_cast<void**>(container.Receive()))) ||
        !container)
      return 0;
    m_pEventSink.Attach(new CMessengerEventSink(this));
    // Without a working event connection the sink is dropped again, so that the next attempt
    // advises anew instead of running without events.
    if (FAILED(container->FindConnectionPoint(m_iidMessengerEvents, m_pConnectionPoint.Receive())) ||
        !m_pConnectionPoint || FAILED(m_pConnectionPoint->Advise(m_pEventSink.Get(), &m_dwAdviseCookie))) {
      m_pEventSink->Detach();
      m_pEventSink.Release();
      m_pConnectionPoint.Release();
      return 0;
    }
  }

  CComRef<IDispatch> window;
  CheckComResult(m_pMessenger->get_Window(window.Receive()), IID_IMessenger);
  CComRef<IMessengerWindow> mainWindow;
  mainWindow.RequireFrom(window.Get());
  CheckComResult(mainWindow->Show(), IID_IMessengerWindow);
  // Messenger needs a moment to bring its main window up.
  Sleep(kMainWindowWaitMs);
  CheckComResult(mainWindow->get_HWND(&m_hMessengerWnd), IID_IMessengerWindow);
  mainWindow.Release();
  return m_hMessengerWnd != 0 ? 1 : 0;
}

void CTellbudDlg::DisconnectMessenger() {
  m_pMessenger.Release();
  m_pContacts.Release();
  if (m_pConnectionPoint && m_pEventSink) {
    // A Messenger that is gone cannot be told; its answer does not matter.
    m_pConnectionPoint->Unadvise(m_dwAdviseCookie);
  }
  m_pEventSink.Release();
  m_pConnectionPoint.Release();
  m_dwAdviseCookie = 0;
  m_bMSNConnected = FALSE;
  m_list.DeleteAllItems();
  m_nOnlineCount = 0;
  m_nContactCount = 0;
  KillTimer(TIMER_CONTACT_REFRESH);
}

void CTellbudDlg::ForgetLostMessenger() {
  m_lstConversations.clear();
  m_pCurConversation.Release();
  m_currentWindow = CWatchedConversation();
  m_nHistoryLen = 0;
  if (m_nCallState == CALL_RINGING || m_nCallState == CALL_TALKING) {
    m_nCallState = CALL_READY;
    m_phone.SetIdle();
  }
}
