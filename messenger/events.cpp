// Messenger's events: the user signing in and out, contacts added, removed or changing status,
// and conversation windows opened, closed, joined and left.
#include "ui/tellbud_dlg.h"

namespace {

const int kSigninLimit = 255;

// The event's argument at position `index` of the argument block (the block holds them in
// reverse order), or nullptr when the block is shorter.
const VARIANT* Argument(const DISPPARAMS& params, UINT index) {
  if (!params.rgvarg || index >= params.cArgs) return nullptr;
  return &params.rgvarg[index];
}

// An object argument, used directly as the interface the event passes (no query).
template <class T>
CComRef<T> ObjectArgument(const DISPPARAMS& params, UINT index) {
  const VARIANT* v = Argument(params, index);
  if (!v || (v->vt != VT_DISPATCH && v->vt != VT_UNKNOWN) || !v->pdispVal) return CComRef<T>();
  return CComRef<T>(reinterpret_cast<T*>(v->pdispVal));
}

bool IsWindowArgument(const DISPPARAMS& params) {
  const VARIANT* v = Argument(params, 0);
  return v && v->vt == VT_DISPATCH;
}

LONG LongArgument(const DISPPARAMS& params, UINT index) {
  const VARIANT* v = Argument(params, index);
  if (!v) return 0;
  VARIANT converted;
  VariantInit(&converted);
  LONG value = 0;
  if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(v), 0, VT_I4))) value = converted.lVal;
  VariantClear(&converted);
  return value;
}

CString SigninOf(const CComRef<IMessengerContact>& contact) {
  CBstrResult name;
  contact->get_SigninName(name.Receive());  // a failure leaves the name empty
  return CString(name.Text());
}

// The sign-in name of a contact an event names; raises when Messenger cannot tell it.
CString RequireSigninOf(const CComRef<IMessengerContact>& contact) {
  CBstrResult name;
  CheckComResult(contact->get_SigninName(name.Receive()), IID_IMessengerContact);
  return CString(name.Text());
}

bool IsContactEvent(DISPID dispid) {
  return dispid == DISPID_MUAE_ONCONTACTADDED || dispid == DISPID_MUAE_ONCONTACTREMOVED ||
         dispid == DISPID_MUAE_ONCONTACTSTATUSCHANGE;
}

}  // namespace

void CTellbudDlg::OnMessengerEvent(DISPID dispid, const DISPPARAMS& params) {
  // A contact's change that could not be read is not lost: the whole list is read again at the
  // refresh tick, which tries again until Messenger answers.
  if (IsContactEvent(dispid)) {
    try {
      OnContactEvent(dispid, params);
    } catch (const _com_error& e) {
      TraceMessengerFailure(TEXT("a Messenger event"), e);
      if (m_bMSNConnected) SetTimer(TIMER_CONTACT_REFRESH, MESSENGER_WATCH_MS);
    }
    return;
  }
  RunMessengerStep(TEXT("a Messenger event"), [&] {
    switch (dispid) {
      case DISPID_MUAE_ONSIGNIN:
        m_bSignedIn = TRUE;
        break;
      case DISPID_MUAE_ONSIGNOUT:
        // Signing out ends every call of the user's: a ringing or running call is over, as when
        // Messenger quits, though its windows may stay open.
        DropLostMessenger();
        break;
      case DISPID_MUAE_ONIMWINDOWCREATED:
      case DISPID_MUAE_ONIMWINDOWCONTACTREMOVED:
        if (dispid == DISPID_MUAE_ONIMWINDOWCREATED && !IsWindowArgument(params)) break;
        if (auto window = ObjectArgument<IMessengerConversationWnd>(params, 0)) WatchConversation(window);
        break;
      case DISPID_MUAE_ONIMWINDOWDESTROYED:
      case DISPID_MUAE_ONIMWINDOWCONTACTADDED:
        if (!IsWindowArgument(params)) break;
        ForgetConversation(ObjectArgument<IMessengerConversationWnd>(params, 0),
                           dispid == DISPID_MUAE_ONIMWINDOWDESTROYED);
        break;
      default:
        break;
    }
  });
}

// A contact added, removed or changing status moves its row; raises when Messenger cannot tell
// what the row is.
void CTellbudDlg::OnContactEvent(DISPID dispid, const DISPPARAMS& params) {
  switch (dispid) {
    case DISPID_MUAE_ONCONTACTADDED:
      if (auto contact = ObjectArgument<IMessengerContact>(params, 0)) AddOrReplaceContact(contact, TRUE);
      break;
    case DISPID_MUAE_ONCONTACTREMOVED: {
      auto contact = ObjectArgument<IMessengerContact>(params, 0);
      if (!contact) RaiseComError(E_POINTER, IID_IMessengerContact);
      int row = FindContactRow(RequireSigninOf(contact));
      if (row >= 0) DeleteContactRow(row);
      break;
    }
    case DISPID_MUAE_ONCONTACTSTATUSCHANGE: {
      LONG status = LongArgument(params, 0);
      auto contact = ObjectArgument<IMessengerContact>(params, 1);
      if (!contact) RaiseComError(E_POINTER, IID_IMessengerContact);
      int row = FindContactRow(RequireSigninOf(contact));
      if (row < 0) break;
      bool online = status > 1;
      bool inOnlinePart = static_cast<DWORD>(row) < m_nOnlineCount;
      // Re-adding replaces the row (the first one with that sign-in name), and only once all
      // of the contact's details were read: a failing read leaves the row where it was.
      if (online != inOnlinePart) AddOrReplaceContact(contact, TRUE);
      break;
    }
    default:
      break;
  }
}

// A conversation with exactly one other participant is watched, as the window Messenger gives
// for that contact.
void CTellbudDlg::WatchConversation(const CComRef<IMessengerConversationWnd>& window) {
  CComRef<IDispatch> participants;
  CheckComResult(window->get_Contacts(participants.Receive()), IID_IMessengerConversationWnd);
  CComRef<IMessengerContacts> contacts;
  contacts.RequireFrom(participants.Get());
  LONG count = 0;
  CheckComResult(contacts->get_Count(&count), IID_IMessengerContacts);
  if (count != 1) return;
  CComRef<IDispatch> first;
  CheckComResult(contacts->Item(0, first.Receive()), IID_IMessengerContacts);
  CComRef<IMessengerContact> contact;
  contact.QueryFrom(first.Get());
  CString signin = SigninOf(contact);
  CContactVariant variant(signin);
  CComRef<IDispatch> conversation;
  CheckComResult(m_pMessenger->InstantMessage(variant.Get(), conversation.Receive()), IID_IMessenger);
  CWatchedConversation entry;
  entry.m_pWindow.QueryFrom(conversation.Get());
  // An object that is not a conversation window is not watched: it would stop every later scan.
  if (!entry.m_pWindow) return;
  // Its handle is remembered from the start, so that the window is recognised even if it closes
  // before the next scan without the program hearing of it (a failure leaves it to the scan).
  entry.m_pWindow->get_HWND(&entry.m_hWnd);
  m_lstConversations.push_front(entry);
}

// The window is matched by handle; a closed window's other objects no longer tell theirs, so the
// handle each last reported stands in for it. A running call, or one the handset answered, whose
// conversation another contact joins stays current although it is no longer scanned: putting the
// handset down must still end it.
void CTellbudDlg::ForgetConversation(const CComRef<IMessengerConversationWnd>& window, BOOL closed) {
  LONG handle = 0;
  if (window) window->get_HWND(&handle);  // a failure leaves 0
  if (m_pCurConversation && CurrentWindowHandle(FALSE) == handle) {
    BOOL handsetHoldsCall = m_nCallState == CALL_TALKING || (m_nCallState == CALL_READY && m_bHandsetCall);
    if (closed || !handsetHoldsCall) EndCurrentConversation();
  }
  for (auto it = m_lstConversations.begin(); it != m_lstConversations.end(); ++it) {
    if (WatchedWindowHandle(*it) == handle) {
      m_lstConversations.erase(it);
      break;
    }
  }
}
