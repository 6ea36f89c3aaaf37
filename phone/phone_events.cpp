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

// The call, the conversation and the dial string stay as they are.
void CTellbudDlg::OnDeviceRemoved() {
  m_bPhoneFound = FALSE;
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
      m_phone.SetSpeakerA(0);
      RaiseMainWindow(TRUE);
      return;
    }
    // Put down with the speaker on, the call goes on over the speaker.
    if (m_bSpeaker) {
      m_phone.SetSpeakerA(1);
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
        m_phone.SetSpeakerB(FALSE);
        m_bSpeaker = FALSE;
      } else if (m_nCallState == CALL_RINGING) {
        if (m_strCaller.IsEmpty()) return;
        AnswerCall();
      }
      RaiseMainWindow(TRUE);
      return;
    }
    ShowWindow(SW_HIDE);
    if (m_bSpeaker) {
      m_phone.SetSpeakerB(TRUE);
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

// A ringing call is taken through Messenger's window; the scan then finds it running.
void CTellbudDlg::AnswerCall() {
  ActivateConversation();
  LONG handle = 0;
  CheckComResult(m_pCurConversation->get_HWND(&handle), IID_IMessengerConversationWnd);
  PressAccept();
  m_nCallState = CALL_READY;
}

void CTellbudDlg::DeclineCall() {
  ActivateConversation();
  LONG handle = 0;
  CheckComResult(m_pCurConversation->get_HWND(&handle), IID_IMessengerConversationWnd);
  PressDecline();
  m_nCallState = CALL_READY;
  m_phone.SetIdle();
  m_pCurConversation.Release();
  m_nHistoryLen = 0;
}

// Ends whatever call is current.
void CTellbudDlg::HangUp() {
  ShowWindow(SW_HIDE);
  m_phone.SetIdle();
  if (m_pCurConversation) {
    ActivateConversation();
    LONG handle = 0;
    if (m_nCallState == CALL_TALKING) {
      CheckComResult(m_pCurConversation->get_HWND(&handle), IID_IMessengerConversationWnd);
      EndTalkingCall();
      m_nCallState = CALL_READY;
      m_phone.SetIdle();
    } else if (m_nCallState == CALL_RINGING) {
      CheckComResult(m_pCurConversation->get_HWND(&handle), IID_IMessengerConversationWnd);
      PressDecline();
      m_nCallState = CALL_READY;
      m_phone.SetIdle();
    }
  }
  m_pCurConversation.Release();
  m_nHistoryLen = 0;
  m_strDial.Empty();
  m_nCallState = CALL_READY;
}
