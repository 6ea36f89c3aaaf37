// The live link to a running, signed-in Messenger: the root object, the user's contacts and the
// event sink advised on Messenger's event interface.
#include "ui/tellbud_dlg.h"

#include "phone/option_settings.h"

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

  // From here on the connection is whole or nothing of its event link remains: Messenger's
  // events must not fill a list that no connection stands behind.
  try {
    CComRef<IDispatch> window;
    CheckComResult(m_pMessenger->get_Window(window.Receive()), IID_IMessenger);
    CComRef<IMessengerWindow> mainWindow;
    mainWindow.RequireFrom(window.Get());
    CheckComResult(mainWindow->Show(), IID_IMessengerWindow);
    // Messenger needs a moment to bring its main window up.
    Sleep(kMainWindowWaitMs);
    CheckComResult(mainWindow->get_HWND(&m_hMessengerWnd), IID_IMessengerWindow);
  } catch (const _com_error&) {
    AbandonEventLink();
    throw;
  }
  if (m_hMessengerWnd == 0) {
    AbandonEventLink();
    return 0;
  }
  return 1;
}

// A connect attempt that failed after Advise: events already on their way find no window to act
// on, and the event connection ends.
void CTellbudDlg::AbandonEventLink() {
  if (m_pEventSink) m_pEventSink->Detach();
  DropEventLink();
}

// Ends the event connection and drops the sink; whatever its events put in the list goes too.
void CTellbudDlg::DropEventLink() {
  if (m_pConnectionPoint && m_pEventSink) {
    // A Messenger that is gone cannot be told; its answer does not matter.
    m_pConnectionPoint->Unadvise(m_dwAdviseCookie);
  }
  m_pEventSink.Release();
  m_pConnectionPoint.Release();
  m_dwAdviseCookie = 0;
  m_list.DeleteAllItems();
  m_nOnlineCount = 0;
  m_nContactCount = 0;
}

void CTellbudDlg::DisconnectMessenger() {
  m_pMessenger.Release();
  m_pContacts.Release();
  DropEventLink();
  m_bMSNConnected = FALSE;
  KillTimer(TIMER_CONTACT_REFRESH);
}

// A call that rang, ran or had just been answered went with Messenger: the handset goes idle.
// While the telephone line is in use its display is the line's business, so only the ring that
// Tellbud started for the call stops.
void CTellbudDlg::ForgetLostMessenger() {
  bool hadCall = m_pCurConversation || m_nCallState == CALL_RINGING || m_nCallState == CALL_TALKING;
  if (m_nCallState == CALL_RINGING && IsLineCallInProgress())
    m_phone.SetRing(FALSE, static_cast<short>(ValidRingStyle(m_nRingType)));
  m_lstConversations.clear();
  m_endingCall = CWatchedConversation();
  ClearCurrentConversation();
  if (m_nCallState == CALL_RINGING || m_nCallState == CALL_TALKING) m_nCallState = CALL_READY;
  if (hadCall && !IsLineCallInProgress()) m_phone.SetIdle();
}
