// The window handles of the conversations the program follows. Messenger's conversation
// objects fail every call once their window has closed, and the window-closed event may reach
// the program only after that; the handle each object last reported is kept so that a closed
// window is still recognised (and dropped) instead of failing every later scan.
#include "ui/tellbud_dlg.h"

namespace {

HWND ToWindow(LONG handle) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)); }

// Reads the window's handle into `remembered`. A failure is explained when the window last
// remembered no longer exists, or when the object never told a handle (0 stays): either way
// the window counts as gone, and S_OK is returned. Only a failure of an object whose window
// still exists stands.
HRESULT ReadWindowHandle(const CComRef<IMessengerConversationWnd>& window, LONG& remembered) {
  LONG handle = 0;
  HRESULT hr = window->get_HWND(&handle);
  if (SUCCEEDED(hr)) {
    remembered = handle;
    return S_OK;
  }
  if (!IsWindow(ToWindow(remembered))) return S_OK;
  return hr;
}

}  // namespace

LONG CTellbudDlg::WatchedWindowHandle(CWatchedConversation& entry) {
  CheckComResult(ReadWindowHandle(entry.m_pWindow, entry.m_hWnd), IID_IMessengerConversationWnd);
  return entry.m_hWnd;
}

LONG CTellbudDlg::LastKnownWindowHandle(CWatchedConversation& entry) {
  ReadWindowHandle(entry.m_pWindow, entry.m_hWnd);  // a failure keeps the handle last reported
  return entry.m_hWnd;
}

LONG CTellbudDlg::CurrentWindowHandle(BOOL raise) {
  // What is remembered belongs to one object; the current conversation may have been replaced.
  if (m_currentWindow.m_pWindow.Get() != m_pCurConversation.Get())
    SetCurrentConversation(m_pCurConversation, 0);
  HRESULT hr = ReadWindowHandle(m_pCurConversation, m_currentWindow.m_hWnd);
  if (SUCCEEDED(hr)) return m_currentWindow.m_hWnd;
  if (raise) RaiseComError(hr, IID_IMessengerConversationWnd);
  return 0;
}

void CTellbudDlg::SetCurrentConversation(const CComRef<IMessengerConversationWnd>& window, LONG handle) {
  if (m_pCurConversation.Get() != window.Get()) m_bHandsetCall = FALSE;
  m_pCurConversation = window;
  m_currentWindow.m_pWindow = window;
  m_currentWindow.m_hWnd = handle;
}

void CTellbudDlg::ClearCurrentConversation() {
  m_pCurConversation.Release();
  m_currentWindow = CWatchedConversation();
  m_nHistoryLen = 0;
  m_nCallTextStart = 0;
  m_bHandsetCall = FALSE;
}

BOOL CTellbudDlg::IsWatchedWindow(LONG handle) const {
  if (handle == 0) return FALSE;
  for (const CWatchedConversation& entry : m_lstConversations)
    if (entry.m_hWnd == handle) return TRUE;
  return FALSE;
}

void CTellbudDlg::EndCurrentConversation() {
  ClearCurrentConversation();
  m_nCallState = CALL_READY;
  m_phone.SetIdle();
}
