// CTellbudDlg: Tellbud's one window and the holder of nearly all of its state. It hosts the
// handset control, shows Messenger's contacts, owns the tray icon and the monitor's timers, and
// keeps the Messenger connection and the call state.
//
// Its members are defined by area: the window itself in ui/, the monitor, contact list and
// conversation scan in monitor/, the Messenger connection and events in messenger/, the handset's
// events, keypad and the automation of Messenger's windows in phone/.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <framework/cstring.h>
#include <framework/dialog.h>
#include <framework/controls.h>
#include <framework/menu.h>

#include <list>
#include <vector>

#include "messenger/com_ref.h"
#include "messenger/event_sink.h"
#include "messenger/messenger_api.h"
#include "phone/usbphone.h"
#include "ui/tray_icon.h"

class CContactRowIndex;

// The callback message of the tray icon.
const UINT WM_TRAYNOTIFY = WM_USER + 100;

// Timers of the main window, all handled by the monitor.
const UINT_PTR TIMER_PHONE_SEARCH = 4661;     // looks for the handset until it opens
const UINT_PTR TIMER_MESSENGER_WATCH = 4662;  // Messenger's presence, connection, conversation scan
const UINT_PTR TIMER_PAUSE_END = 4663;        // ends the pause after telephone-line activity
const UINT_PTR TIMER_CONTACT_REFRESH = 8500;  // rebuilds the contact list from Messenger
const UINT_PTR TIMER_RING_PREVIEW = 4664;     // ends the ring-style preview

const UINT PHONE_SEARCH_FIRST_MS = 1000;
const UINT PHONE_SEARCH_MS = 2000;
const UINT MESSENGER_WATCH_MS = 2000;
const UINT PAUSE_MS = 6000;
const UINT RING_PREVIEW_MS = 3000;

// Call states.
enum CallState : int {
  CALL_NO_HANDSET = 0,
  CALL_READY = 1,
  CALL_TALKING = 2,
  CALL_RINGING = 3,
};

// A conversation window the scan watches, with the number of history characters examined.
struct CWatchedConversation {
  CComRef<IMessengerConversationWnd> m_pWindow;
  DWORD m_nScanned = 0;
  // The handle the window last reported (0 until read): once a window has closed, Messenger's
  // objects for it answer no more, and this is what is left to recognise it by.
  LONG m_hWnd = 0;
};

class CTellbudDlg : public CDialog {
 public:
  CTellbudDlg();
  ~CTellbudDlg() override;

  // ---- State (declaration order is part of the design; see docs/architecture.md) ----------------
  int m_nHistoryLen = 0;
  CComRef<IMessengerConversationWnd> m_pCurConversation;
  std::list<CWatchedConversation> m_lstConversations;
  BOOL m_bSignedIn = FALSE;
  DWORD m_nPhoneModel = 0;
  SHORT m_nChannel = 0;
  int m_nRingType = 0;
  HICON m_hIcon = nullptr;
  DWORD m_nOnlineCount = 0;
  DWORD m_nContactCount = 0;
  CImageList m_imageList;
  CListCtrl m_list;
  CUSBPHONE m_phone;
  HMENU m_hTrayMenu = nullptr;
  CTrayIcon m_trayIcon;
  GUID m_clsidMessenger{};
  GUID m_iidMessenger{};
  GUID m_iidMessengerEvents{};
  CComRef<IMessenger> m_pMessenger;
  CComRef<IMessengerContacts> m_pContacts;
  CComRef<CMessengerEventSink> m_pEventSink;
  CComRef<IConnectionPoint> m_pConnectionPoint;
  DWORD m_dwAdviseCookie = 0;
  BOOL m_bAutoRun = FALSE;
  BOOL m_bSpeaker = FALSE;
  BOOL m_bPhoneFound = FALSE;
  BOOL m_bMSNRuning = FALSE;
  BOOL m_bMSNConnected = FALSE;
  BOOL m_bMonitorPaused = FALSE;
  BOOL m_bOffHook = FALSE;
  BOOL m_bOnHookB = FALSE;
  LONG m_hMessengerWnd = 0;
  int m_nCallState = CALL_NO_HANDSET;
  CString m_strCaller;
  CString m_strDial;

  // ---- Messenger connection and events (messenger/) --------------------------------------------
  int ConnectMessenger();
  void DisconnectMessenger();
  void DropEventLink();
  void AbandonEventLink();
  // Messenger's events, by dispatch id, from the event sink.
  void OnMessengerEvent(DISPID dispid, const DISPPARAMS& params);
  void OnContactEvent(DISPID dispid, const DISPPARAMS& params);
  void WatchConversation(const CComRef<IMessengerConversationWnd>& window);
  void ForgetConversation(const CComRef<IMessengerConversationWnd>& window, BOOL closed);
  // Drops what belonged to a Messenger that is gone: watched and current conversations; a
  // ringing or running call returns to ready.
  void ForgetLostMessenger();

  // ---- Contact list (monitor/contact_list.cpp) ---------------------------------------------------
  void RebuildContactList();
  void AddOrReplaceContact(CComRef<IMessengerContact> contact, BOOL bApplyCustomName);
  // The same, with what the rebuild knows of the rows (kept up to date here), or null.
  void AddOrReplaceContact(CComRef<IMessengerContact> contact, BOOL bApplyCustomName,
                           CContactRowIndex* index);
  void ApplyCustomNames();
  // The first row whose sign-in name equals `signin` ignoring case, or -1.
  int FindContactRow(LPCWSTR signin);
  void DeleteContactRow(int row);

  // ---- Conversation scan (monitor/conversation_scan.cpp) -------------------------------------------
  void ScanConversations();
  void ScanCurrentConversation(BOOL lineInUse);
  // The current call is over: the state returns to ready; while the telephone line is in use the
  // handset keeps its display and only a ring of the call stops.
  void EndCallForLine(BOOL lineInUse);
  void ScanWatchedConversations();
  // Where the current call's text begins in its conversation's history (the invitation, or the
  // history's length when Tellbud placed the call).
  int m_nCallTextStart = 0;
  // The current call's text is read again from its start by the next scan: a language just
  // chosen can tell what the phrases of the one before could not (the call's end, say).
  void RereadCurrentCall();
  // `hwnd`, one of the conversation windows `open` before Tellbud connected.
  void AdoptConversationWindow(HWND hwnd, const std::vector<HWND>& open);
  // Adds the sign-in names of the contact rows whose names match as `flags` say.
  void FindContactSignins(LPCWSTR name, UINT flags, std::vector<CString>& signins);
  // The sign-in name of the current conversation's first contact; raises when Messenger fails.
  CString CurrentContactSignin();
  // Window handles of the watched and the current conversation (monitor/conversation_handles.cpp).
  // A failing get_HWND is explained when the window last reported no longer exists, or when the
  // object never told a handle: then that handle (or 0) stands, a window that is gone. A failure
  // while the window exists raises (with `raise`), or gives 0.
  LONG WatchedWindowHandle(CWatchedConversation& entry);
  // The handle read anew, or the one last reported when Messenger fails to tell it.
  LONG LastKnownWindowHandle(CWatchedConversation& entry);
  LONG CurrentWindowHandle(BOOL raise);
  void SetCurrentConversation(const CComRef<IMessengerConversationWnd>& window, LONG handle);
  BOOL IsWatchedWindow(LONG handle) const;
  // The current conversation is over without a word from Messenger: the state returns to ready.
  void EndCurrentConversation();
  // The current conversation with the handle its window last reported.
  CWatchedConversation m_currentWindow;
  // No conversation is current any more; what belonged to it (its handle, its scanned length,
  // the handset's answer) goes with it.
  void ClearCurrentConversation();
  // A call the handset ended by closing its window. Should the window still be open once
  // Messenger's question had its time (the user kept the window open at the PC), the call goes
  // on: its whole history is scanned again, so that the handset follows it once more.
  CWatchedConversation m_endingCall;
  int m_nEndingTicks = 0;
  void RecheckEndedCall();
  // The handset answered the current conversation's invitation (lifted, or a key while it rang).
  // The state says ready until the scan sees the call running, yet putting the handset down ends
  // the call all the same.
  BOOL m_bHandsetCall = FALSE;

  // ---- Voice conversations (ui/menu_commands.cpp) --------------------------------------------------
  void StartVoiceConversation(LPCWSTR signin);

  // ---- Handset (phone/) ------------------------------------------------------------------------------
  void AnswerCall();
  void DeclineCall();
  void HangUp();
  // Shows the main window and brings it forward; with `activate`, also makes it the active window.
  void RaiseMainWindow(BOOL activate = TRUE);
  void ActivateConversation();
  void PressAccept();
  void PressDecline();
  // Closes the current conversation, whose window is `conversation`, and has Messenger's question
  // about ending the call confirmed.
  void EndTalkingCall(HWND conversation);
  // `param` is the window of the conversation being closed: only a question it owns is answered.
  static DWORD WINAPI ConfirmEndCallThread(LPVOID param);
  void SelectBySpeedDial();
  // Rings the handset in `style` for RING_PREVIEW_MS at most (phone/ring_preview.cpp); a
  // new preview replaces a running one.
  void StartRingPreview(int style);
  // Ends a running preview; the ring is stopped only while no call has taken the handset over.
  void StopRingPreview();
  BOOL m_bRingPreview = FALSE;

  // The tray icon's state, from an icon file beside the executable and a tip.
  void ShowTrayState(LPCWSTR iconFile, LPCWSTR tip);

  // Runs `dialog` modally (ui/dialog_once.cpp), unless a dialog of its kind (its template) is open
  // already: that one is brought forward instead, and FALSE comes back. A second dialog of a kind
  // would write its stale choice back over the first one's.
  BOOL RunDialogOnce(CDialog& dialog);
  // The failure to store a setting in Tellbud.ini, told once however often it repeats while the
  // message is open (phone/keypad.cpp).
  void TellSettingNotSaved();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCommandId(UINT nID, UINT nCode, HWND hWndCtl) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void OnTimer(UINT_PTR nIDEvent) override;
  void OnPaint() override;
  void OnSize(UINT nType, int cx, int cy) override;
  void OnClose() override;
  void OnSysCommand(UINT nID, LPARAM lParam) override;
  HCURSOR OnQueryDragIcon() override;
  void OnDestroy() override;
  BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  // ---- Window (ui/) --------------------------------------------------------------------------------
  void InsertContactColumns();
  void CreateStatusImages();
  LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
  void DetectAutoRun();
  void ToggleAutoRun();
  void OnExit();
  void OnAbout();
  void OnOption();
  void OnContactDoubleClick(POINT ptAction);
  void OnContactRightClick(POINT ptAction);
  int ClickedContactRow(POINT ptAction);

  // ---- Monitor (monitor/monitor_loop.cpp) -----------------------------------------------------------
  void OnPhoneSearchTick();
  void OnMessengerWatchTick();
  void OnPauseEnd();
  void OnContactRefreshTick();
  // Whether msnmsgr.exe runs; its process id into `processId`.
  BOOL IsMessengerRunning(DWORD& processId);
  void OnMessengerConnected();
  BOOL m_bTakeInPending = FALSE;  // connected, but the list or the open windows not yet taken in whole
  // Everything that belonged to a Messenger process that has gone: its connection, contacts
  // and conversations.
  void DropLostMessenger();
  DWORD m_dwMessengerProcessId = 0;  // the Messenger process the last tick found, or 0

  // ---- Handset events (phone/phone_events.cpp, phone/keypad.cpp) --------------------------------------
  void OnDeviceRemoved();
  void OnKeyPressed(short key);
  void OnHookChanged(BOOL onHook);
  void OnLineActivity(BOOL active);
  void OnHookChangedB(BOOL onHook);
  void OnLevelKeyPressed();
  void RefreshChannel();
  void DispatchKey(short key);
  void CallMarkedContact();
  void StepRingStyle();
  void ToggleSpeaker();
  void SelectAdjacentRow(int step);
  // The handset's speakers, switched through these so that ending a call can switch off the one
  // the call ran on.
  void SwitchSpeakerA(BOOL on);
  void SwitchSpeakerB(BOOL on);
  void SwitchSpeakersOff();
  BOOL m_bSpeakerAOn = FALSE;
  BOOL m_bSpeakerBOn = FALSE;
  // The handset came back: it shows again the call that rang or ran while it was away.
  void ShowCurrentCallAgain();
  // An adaptor's telephone line is in use (its lifted handset on the line, or recent activity).
  BOOL IsLineCallInProgress() const;

  // Runs one step of work that calls Messenger: an error raised by Messenger ends the step there,
  // leaves a debugger line naming the step, and never escapes into the message loop.
  template <typename F>
  void RunMessengerStep(LPCWSTR step, F&& f);
  void TraceMessengerFailure(LPCWSTR step, const _com_error& e);

  CMenu m_trayMenuResource;             // menu 134, owning m_hTrayMenu
  std::vector<CDialog*> m_openDialogs;  // the dialogs RunDialogOnce runs, innermost last
  BOOL m_bTellingNotSaved = FALSE;
};

template <typename F>
void CTellbudDlg::RunMessengerStep(LPCWSTR step, F&& f) {
  try {
    f();
  } catch (const _com_error& e) {
    TraceMessengerFailure(step, e);
  }
}
