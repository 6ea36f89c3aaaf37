// The conversation scan: Messenger reports no progress of voice conversations, but writes a
// status line into a conversation's history when an invitation arrives, a call starts or ends.
// The scan reads the text that is new since the last look and decides from the most recent
// phrase of the language file whether the handset rings, shows a call or goes back to ready.
#include "ui/tellbud_dlg.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "app/paths.h"
#include "config/profile.h"
#include "monitor/phrase_recency.h"
#include "phone/option_settings.h"

namespace {

const DWORD kPhraseLength = 259;
const DWORD kSuffixBuffer = 32;
const int kEndingCallTicks = 2;

struct CScanPhrases {
  std::vector<CPhrase> invitation;
  std::vector<CPhrase> talking;
  std::vector<CPhrase> ready;
};

// The phrase sets are read again whenever new text is examined, so an edit of the language file
// or another language counts at once.
CScanPhrases ReadPhrases() {
  return CScanPhrases{ReadProfileList(TEXT("INFO_CALLIN"), kPhraseLength, g_szLanguagePath),
                      ReadProfileList(TEXT("INFO_INTALK"), kPhraseLength, g_szLanguagePath),
                      ReadProfileList(TEXT("INFO_READY"), kPhraseLength, g_szLanguagePath)};
}

HWND ToWindow(LONG handle) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)); }

// The history text; a history that cannot be read counts as empty.
void ReadHistory(const CComRef<IMessengerConversationWnd>& window, CBstrResult& history) {
  if (FAILED(window->get_History(history.Receive()))) history.Receive();
}

CString FirstContactSignin(const CComRef<IMessengerConversationWnd>& window) {
  CComRef<IDispatch> participants;
  CheckComResult(window->get_Contacts(participants.Receive()), IID_IMessengerConversationWnd);
  CComRef<IMessengerContacts> contacts;
  contacts.RequireFrom(participants.Get());
  CComRef<IDispatch> first;
  CheckComResult(contacts->Item(0, first.Receive()), IID_IMessengerContacts);
  CComRef<IMessengerContact> contact;
  contact.RequireFrom(first.Get());
  CBstrResult signin;
  CheckComResult(contact->get_SigninName(signin.Receive()), IID_IMessengerContact);
  return CString(signin.Text());
}

}  // namespace

void CTellbudDlg::ScanConversations() {
  RecheckEndedCall();
  if (m_pCurConversation) {
    ScanCurrentConversation(FALSE);
  } else {
    ScanWatchedConversations();
  }
}

// Only the current conversation is looked at while a call rings or runs. While the telephone line
// is in use (`lineInUse`) nothing new is shown on the handset, whose display belongs to the line,
// but a ringing call that is over stops ringing.
void CTellbudDlg::ScanCurrentConversation(BOOL lineInUse) {
  // A get_HWND that fails while the window last reported still exists does not hide the call's
  // end: that window is still the conversation's, and its history tells the rest.
  LONG handle = CurrentWindowHandle(FALSE);
  if (!handle) handle = m_currentWindow.m_hWnd;
  CBstrResult history;
  if (!handle) {
    // Messenger has failed get_HWND since the conversation began, so no window can be checked.
    // Its history answers instead. An object whose window closed fails that too: the scan then
    // decides nothing, and the window-closed event or putting the handset down ends the call.
    if (FAILED(m_pCurConversation->get_History(history.Receive()))) return;
  } else if (!IsWindow(ToWindow(handle))) {
    // Its window closed without the program hearing of it: the call is over.
    EndCallForLine(lineInUse);
    return;
  } else {
    ReadHistory(m_pCurConversation, history);
  }
  DWORD length = history.Length();
  if (length <= static_cast<DWORD>(m_nHistoryLen)) return;

  for (auto it = m_lstConversations.begin(); it != m_lstConversations.end();) {
    auto next = std::next(it);
    if (LastKnownWindowHandle(*it) == handle) {
      it->m_nScanned = length;
      m_lstConversations.splice(m_lstConversations.begin(), m_lstConversations, it);
    }
    it = next;
  }

  CScanPhrases phrases = ReadPhrases();
  const WCHAR* fresh = history.Text() + m_nHistoryLen;
  size_t freshLength = length - static_cast<DWORD>(m_nHistoryLen);
  DWORD ready = FindRecency(fresh, freshLength, phrases.ready);
  DWORD talking = FindRecency(fresh, freshLength, phrases.talking);
  if (talking < ready) {
    if (lineInUse) return;  // read again once the line is free
    m_nCallState = CALL_TALKING;
    m_nHistoryLen = static_cast<int>(length);
    m_phone.ShowTalking(FirstContactSignin(m_pCurConversation));
  } else if (ready == RECENCY_NONE) {
    m_nHistoryLen = static_cast<int>(length);
  } else {
    EndCallForLine(lineInUse);
    m_nHistoryLen = static_cast<int>(length);
  }
}

void CTellbudDlg::RereadCurrentCall() {
  if (m_pCurConversation) m_nHistoryLen = std::min(m_nHistoryLen, m_nCallTextStart);
}

void CTellbudDlg::EndCallForLine(BOOL lineInUse) {
  if (!lineInUse) {
    EndCurrentConversation();
    return;
  }
  if (m_nCallState == CALL_RINGING) m_phone.SetRing(FALSE, static_cast<short>(ValidRingStyle(m_nRingType)));
  ClearCurrentConversation();
  m_nCallState = CALL_READY;
}

// Two ticks give Messenger's question about ending the call (answered within a second) time.
void CTellbudDlg::RecheckEndedCall() {
  if (!m_endingCall.m_pWindow) return;
  if (!IsWindow(ToWindow(m_endingCall.m_hWnd))) {
    // The call is over. Another window may hold a call too (two ran at once, or a restart took
    // both up): every watched window is read whole again, so the handset follows the next one.
    m_endingCall = CWatchedConversation();
    for (CWatchedConversation& watched : m_lstConversations) watched.m_nScanned = 0;
    return;
  }
  if (++m_nEndingTicks < kEndingCallTicks) return;
  CWatchedConversation entry = m_endingCall;
  m_endingCall = CWatchedConversation();
  for (CWatchedConversation& watched : m_lstConversations) {
    if (WatchedWindowHandle(watched) == entry.m_hWnd) {
      watched.m_nScanned = 0;
      return;
    }
  }
  m_lstConversations.push_front(entry);
}

// Every watched conversation with new text is examined, most recently active first; an entry
// with new text moves to the front.
void CTellbudDlg::ScanWatchedConversations() {
  for (auto it = m_lstConversations.begin(); it != m_lstConversations.end();) {
    LONG handle = WatchedWindowHandle(*it);
    if (!IsWindow(ToWindow(handle))) {
      it = m_lstConversations.erase(it);
      continue;
    }
    CBstrResult history;
    ReadHistory(it->m_pWindow, history);
    DWORD length = history.Length();
    if (it->m_nScanned >= length) {
      ++it;
      continue;
    }
    const WCHAR* fresh = history.Text() + it->m_nScanned;
    size_t freshLength = length - it->m_nScanned;
    it->m_nScanned = length;
    CComRef<IMessengerConversationWnd> window = it->m_pWindow;
    auto next = std::next(it);
    m_lstConversations.splice(m_lstConversations.begin(), m_lstConversations, it);
    it = next;

    CScanPhrases phrases = ReadPhrases();
    DWORD talking = FindRecency(fresh, freshLength, phrases.talking);
    DWORD ready = FindRecency(fresh, freshLength, phrases.ready);
    DWORD invitation = FindRecency(fresh, freshLength, phrases.invitation);
    if (invitation < talking && invitation < ready) {
      // An invitation while not ready stays consumed: it never rings later.
      if (m_nCallState != CALL_READY) return;
      // The caller is read before anything changes: a read that fails leaves no half-taken
      // conversation current, which would keep every other window (a call still running, say)
      // from being scanned.
      CString caller = FirstContactSignin(window);
      SetCurrentConversation(window, handle);
      m_nHistoryLen = static_cast<int>(length);
      m_nCallTextStart = static_cast<int>(length - invitation);
      m_strCaller = caller;
      if (m_strCaller.IsEmpty()) return;
      m_nCallState = CALL_RINGING;
      m_phone.ShowIncomingCall(m_strCaller);
    } else if (ready < talking) {
      // A call another window made current earlier in this pass (windows adopted after a
      // restart are all read at once) is not this window's to end.
      if (!m_pCurConversation || CurrentWindowHandle(FALSE) == handle) EndCurrentConversation();
    } else if (talking != RECENCY_NONE) {
      SetCurrentConversation(window, handle);
      m_nHistoryLen = static_cast<int>(length);
      m_nCallTextStart = static_cast<int>(length - talking);
      m_nCallState = CALL_TALKING;
      m_phone.ShowTalking(FirstContactSignin(window));
    }
  }
}

// The sign-in names of the contact rows whose names match `name` as `flags` say, in row order,
// each once. The separator row (a blank name, no sign-in name) is no contact, whatever a blank
// title matches.
void CTellbudDlg::FindContactSignins(LPCWSTR name, UINT flags, std::vector<CString>& signins) {
  LVFINDINFOW find;
  ZeroMemory(&find, sizeof find);
  find.flags = flags;
  find.psz = name;
  for (int row = m_list.FindItem(&find, -1); row >= 0; row = m_list.FindItem(&find, row)) {
    // The whole sign-in name: Messenger is asked for the conversation by it.
    CString signin = m_list.GetItemText(row, 2);
    if (!signin.IsEmpty() && std::find(signins.begin(), signins.end(), signin) == signins.end())
      signins.push_back(signin);
  }
}

CString CTellbudDlg::CurrentContactSignin() { return FirstContactSignin(m_pCurConversation); }

// A conversation window that was open before the connection: its title names the contact.
void CTellbudDlg::AdoptConversationWindow(HWND hwnd, const std::vector<HWND>& open) {
  // The whole title, however long the contact's name: a cut title would lose the suffix.
  std::vector<WCHAR> text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, 0);
  GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  LPWSTR title = text.data();
  WCHAR suffix[kSuffixBuffer] = {0};
  ReadProfileString(TEXT("INFO_OTHER"), TEXT("IMWndName"), TEXT(" - Dialog"), suffix, kSuffixBuffer,
                    g_szLanguagePath);
  LPWSTR at = StrStrW(title, suffix);
  if (!at) return;
  *at = 0;
  // An empty name would match the first row of the list, whoever that is.
  if (!title[0]) return;
  // Whose window it is: the contacts showing exactly the title's name, then those whose name
  // begins with it ("Bob" is not taken for "Bobby" when both are listed), then the title itself as
  // a sign-in name (someone outside the contact list is shown under it). It is the first for whom
  // Messenger gives this very window; a window Messenger opened for the asking is closed again.
  std::vector<CString> candidates;
  FindContactSignins(title, LVFI_STRING, candidates);
  FindContactSignins(title, LVFI_STRING | LVFI_PARTIAL, candidates);
  candidates.push_back(CString(title));
  for (const CString& signin : candidates) {
    CContactVariant contact(signin);
    CComRef<IDispatch> conversation;
    CheckComResult(m_pMessenger->InstantMessage(contact.Get(), conversation.Receive()), IID_IMessenger);
    CWatchedConversation entry;
    // An object that is not a conversation window is not watched: it would stop every later scan.
    entry.m_pWindow.QueryFrom(conversation.Get());
    if (!entry.m_pWindow) continue;
    CheckComResult(entry.m_pWindow->get_HWND(&entry.m_hWnd), IID_IMessengerConversationWnd);
    if (ToWindow(entry.m_hWnd) != hwnd) {
      if (std::find(open.begin(), open.end(), ToWindow(entry.m_hWnd)) == open.end()) entry.m_pWindow->Close();
      continue;
    }
    // A window watched already (kept over a reconnect, or adopted by an attempt that failed
    // later) is not watched twice.
    if (!IsWatchedWindow(entry.m_hWnd)) m_lstConversations.push_front(entry);
    return;
  }
}
