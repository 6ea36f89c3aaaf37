// The handset's events other than the keypad: the device going away, the hook switch of both
// kinds of handset, activity on an adaptor's telephone line and the level key; and the call
// procedures that answer, decline and end calls.
#include "ui/tellbud_dlg.h"

#include "phone/level_step.h"
#include "phone/model_code.h"

namespace {

const WCHAR kNoDeviceIcon[] = TEXT("\\nodevice.ico");
const WCHAR kNoDeviceTip[] = TEXT("Can't find USB Phone");

}  // namespace

// The call, the conversation and the dial string stay as they are. The handset that comes back
// is on its hook with its speakers off, whatever it was when it went.
void CTellbudDlg::OnDeviceRemoved() {
  m_bPhoneFound = FALSE;
  m_bOffHook = FALSE;
  m_bOnHookB = TRUE;
  m_bSpeaker = FALSE;
  m_bSpeakerAOn = FALSE;
  m_bSpeakerBOn = FALSE;
  SetTimer(TIMER_PHONE_SEARCH, PHONE_SEARCH_MS);
  ShowTrayState(kNoDeviceIcon, kNoDeviceTip);
}

void CTellbudDlg::OnHookChanged(BOOL onHook) {
  m_bOffHook = onHook ? FALSE : TRUE;
  RunMessengerStep(TEXT("the hook switch"), [&] {
    if (!onHook) {
      if (m_nCallState == CALL_RINGING) {
        if (m_strCaller.IsEmpty()) return;
        AnswerCall();
      } else if (m_nCallState == CALL_READY) {
        if (IsSpeakerGroupA(m_nPhoneModel)) {
          m_phone.ShowDialString(TEXT(""));
        } else {
          RefreshChannel();
          if (m_nChannel == CHANNEL_USB) m_phone.ShowDialString(TEXT(""));
        }
      }
      m_bSpeaker = FALSE;
      SwitchSpeakerA(FALSE);
      RaiseMainWindow(TRUE);
      return;
    }
    // Put down with the speaker on, the call goes on over the speaker.
    if (m_bSpeaker) {
      SwitchSpeakerA(TRUE);
      return;
    }
    HangUp();
  });
}

void CTellbudDlg::OnHookChangedB(BOOL onHook) {
  m_bOnHookB = onHook;
  RunMessengerStep(TEXT("the hook switch"), [&] {
    if (!onHook) {
      if (m_bSpeaker) {
        SwitchSpeakerB(FALSE);
        m_bSpeaker = FALSE;
        // Taken off the speaker, the call is not answered; the lifted handset rings no more, and
        // putting it down still declines.
        if (m_nCallState == CALL_RINGING) m_phone.SetIdle();
      } else if (m_nCallState == CALL_RINGING) {
        if (m_strCaller.IsEmpty()) return;
        AnswerCall();
      }
      RaiseMainWindow(TRUE);
      return;
    }
    ShowWindow(SW_HIDE);
    if (m_bSpeaker) {
      SwitchSpeakerB(TRUE);
      return;
    }
    HangUp();
  });
}

// The telephone line is in use: the adaptor goes to it, and the scan and the keys pause until
// six seconds after the last activity.
void CTellbudDlg::OnLineActivity(BOOL) {
  m_nChannel = CHANNEL_PSTN;
  if (IsChannelGroup1(m_nPhoneModel)) {
    m_phone.SetChannel(CHANNEL_PSTN);
  } else if (IsChannelGroup2(m_nPhoneModel)) {
    m_phone.SetChannel2(CHANNEL_PSTN);
  }
  m_bMonitorPaused = TRUE;
  SetTimer(TIMER_PAUSE_END, PAUSE_MS);
}

void CTellbudDlg::OnLevelKeyPressed() { m_phone.SetLevel(NextLevel(m_phone.GetLevel())); }

// A ringing call is taken through Messenger's window; the scan then finds it running. The
// handset stops ringing at once, even if the shortcut does not reach Messenger, and the call is
// remembered as the handset's, so that putting the handset down ends it.
void CTellbudDlg::AnswerCall() {
  ActivateConversation();
  LONG handle = 0;
  CheckComResult(m_pCurConversation->get_HWND(&handle), IID_IMessengerConversationWnd);
  PressAccept();
  m_nCallState = CALL_READY;
  m_bHandsetCall = TRUE;
  m_phone.SetIdle();
}

void CTellbudDlg::DeclineCall() {
  ActivateConversation();
  LONG handle = 0;
  CheckComResult(m_pCurConversation->get_HWND(&handle), IID_IMessengerConversationWnd);
  PressDecline();
  m_nCallState = CALL_READY;
  m_phone.SetIdle();
  ClearCurrentConversation();
}

// Ends whatever call is current: a running call, also one the handset answered that the scan
// has not yet seen running, is closed; a ringing one is declined. A speaker the call ran on is
// switched off.
void CTellbudDlg::HangUp() {
  ShowWindow(SW_HIDE);
  m_phone.SetIdle();
  SwitchSpeakersOff();
  if (m_pCurConversation) {
    ActivateConversation();
    LONG handle = 0;
    if (m_nCallState == CALL_TALKING || (m_nCallState == CALL_READY && m_bHandsetCall)) {
      CheckComResult(m_pCurConversation->get_HWND(&handle), IID_IMessengerConversationWnd);
      m_endingCall = m_currentWindow;
      m_endingCall.m_hWnd = handle;
      m_nEndingTicks = 0;
      EndTalkingCall(reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)));
      m_nCallState = CALL_READY;
      m_phone.SetIdle();
    } else if (m_nCallState == CALL_RINGING) {
      CheckComResult(m_pCurConversation->get_HWND(&handle), IID_IMessengerConversationWnd);
      PressDecline();
      m_nCallState = CALL_READY;
      m_phone.SetIdle();
    }
  }
  ClearCurrentConversation();
  m_strDial.Empty();
  m_nCallState = CALL_READY;
}

void CTellbudDlg::SwitchSpeakerA(BOOL on) {
  m_phone.SetSpeakerA(on ? 1 : 0);
  m_bSpeakerAOn = on;
}

void CTellbudDlg::SwitchSpeakerB(BOOL on) {
  m_phone.SetSpeakerB(on);
  m_bSpeakerBOn = on;
}

// Speaker mode belongs to a call: when the call ends, so does the mode, and the speaker that is on.
void CTellbudDlg::SwitchSpeakersOff() {
  m_bSpeaker = FALSE;
  if (m_bSpeakerAOn) SwitchSpeakerA(FALSE);
  if (m_bSpeakerBOn) SwitchSpeakerB(FALSE);
}

BOOL CTellbudDlg::IsLineCallInProgress() const {
  if (!IsAdaptor(m_nPhoneModel)) return FALSE;
  return (m_nChannel == CHANNEL_PSTN && m_bOffHook) || m_bMonitorPaused;
}

// A call that rang or ran while the handset was away is shown on it again: it rings again, or
// shows the other party, so that it can be answered or ended from the handset.
void CTellbudDlg::ShowCurrentCallAgain() {
  if (m_nCallState == CALL_RINGING) {
    m_phone.ShowIncomingCall(m_strCaller);
  } else if (m_nCallState == CALL_TALKING) {
    m_phone.SetIdle();
    RunMessengerStep(TEXT("showing the call again"), [&] { m_phone.ShowTalking(CurrentContactSignin()); });
  } else {
    m_phone.SetIdle();
  }
}
