// The handset's keypad: typing a speed-dial number, moving through the contact list, calling the
// selected contact, answering, declining and ending calls, switching an adaptor to the telephone
// line, stepping the ring style and the hands-free speaker.
#include "ui/tellbud_dlg.h"

#include <commctrl.h>

#include "app/paths.h"
#include "config/profile.h"
#include "dialogs/save_message.h"
#include "phone/model_code.h"
#include "phone/option_settings.h"

namespace {

enum HandsetKey : short {
  KEY_HASH = 35,
  KEY_STAR = 42,
  KEY_DIGIT_0 = 48,
  KEY_DIGIT_9 = 57,
  KEY_PREVIOUS = 129,
  KEY_NEXT = 130,
  KEY_PREVIOUS_2 = 131,
  KEY_NEXT_2 = 132,
  KEY_DELETE = 133,
  KEY_CALL = 135,
  KEY_END = 136,
  KEY_SPEAKER = 142,
};

const int kSpeedDialBuffer = 5;  // at most four characters of the column take part

}  // namespace

void CTellbudDlg::OnKeyPressed(short key) {
  m_phone.AcknowledgeKey(1);
  RunMessengerStep(TEXT("a handset key"), [&] {
    if (IsAdaptor(m_nPhoneModel)) {
      RefreshChannel();
      if (m_strDial.IsEmpty() && key == KEY_STAR) {
        if (m_nChannel == CHANNEL_USB) {
          if (IsChannelGroup1(m_nPhoneModel)) {
            m_phone.SetChannel(CHANNEL_PSTN);
          } else if (IsChannelGroup2(m_nPhoneModel)) {
            m_phone.SetChannel2(CHANNEL_PSTN);
          }
        } else {
          m_phone.ShowDialString(m_strDial);
        }
        return;
      }
      // The lifted handset belongs to the telephone line.
      if (m_nChannel == CHANNEL_PSTN && m_bOffHook) return;
      if (m_bMonitorPaused) return;
    }
    if (!m_bMSNConnected) return;
    if (m_nCallState == CALL_RINGING) {
      if (m_strCaller.IsEmpty()) return;
      if (key == KEY_END) {
        DeclineCall();
        return;
      }
      if (key != KEY_SPEAKER) {
        AnswerCall();
        return;
      }
    }
    DispatchKey(key);
  });
}

void CTellbudDlg::DispatchKey(short key) {
  switch (key) {
    case KEY_PREVIOUS:
    case KEY_PREVIOUS_2:
      RaiseMainWindow(FALSE);
      SelectAdjacentRow(-1);
      return;
    case KEY_NEXT:
    case KEY_NEXT_2:
      RaiseMainWindow(FALSE);
      SelectAdjacentRow(+1);
      return;
    case KEY_DELETE:
      if (m_strDial.IsEmpty()) return;
      m_strDial.Delete(m_strDial.GetLength() - 1, 1);
      if (m_strDial.IsEmpty()) {
        m_phone.SetIdle();
      } else {
        m_phone.ShowDialString(m_strDial);
      }
      SelectBySpeedDial();
      return;
    case KEY_CALL:
      // The first press only brings the main window forward.
      if (::GetActiveWindow() != m_hWnd) {
        RaiseMainWindow(TRUE);
        return;
      }
      m_strDial.Empty();
      if (m_nCallState == CALL_READY) CallMarkedContact();
      return;
    case KEY_END:
      HangUp();
      return;
    case KEY_SPEAKER:
      ToggleSpeaker();
      return;
    default:
      break;
  }

  if (key != KEY_HASH && ::GetActiveWindow() != m_hWnd) RaiseMainWindow(TRUE);
  if (key == KEY_HASH) {
    if (m_nCallState == CALL_READY) {
      if (m_strDial.IsEmpty() && ::GetForegroundWindow() != m_hWnd) {
        StepRingStyle();
        return;
      }
      if (m_list.GetSelectionMark() < 0) return;
      CallMarkedContact();
    }
    m_strDial.Empty();
    if (::GetActiveWindow() != m_hWnd) RaiseMainWindow(TRUE);
  } else if (key == KEY_STAR) {
    m_strDial += TEXT('*');
    m_phone.ShowDialString(m_strDial);
  } else if (key >= KEY_DIGIT_0 && key <= KEY_DIGIT_9) {
    if (IsAdaptor(m_nPhoneModel)) {
      RefreshChannel();
      if (m_nChannel == CHANNEL_PSTN) return;
    }
    m_strDial += static_cast<WCHAR>(key);
    m_phone.ShowDialString(m_strDial);
    SelectBySpeedDial();
  }
}

void CTellbudDlg::CallMarkedContact() {
  int row = m_list.GetSelectionMark();
  if (row < 0) return;
  CString signin = m_list.GetItemText(row, 2);
  if (!signin.IsEmpty()) StartVoiceConversation(signin);
}

// The next ring style, played for a moment so that the user hears what they chose. A style the
// settings file refuses holds until Tellbud ends, and the user is told it was not stored.
void CTellbudDlg::StepRingStyle() {
  m_nRingType = (ValidRingStyle(m_nRingType) + 1) % RING_STYLE_COUNT;
  StartRingPreview(m_nRingType);
  if (!WriteRingType(m_nRingType)) TellSettingNotSaved();
}

// Each further press while the message is open would stack another one over it.
void CTellbudDlg::TellSettingNotSaved() {
  if (m_bTellingNotSaved) return;
  m_bTellingNotSaved = TRUE;
  ShowNotSavedMessage(m_hWnd, TEXT("Tellbud.ini"));
  m_bTellingNotSaved = FALSE;
}

void CTellbudDlg::ToggleSpeaker() {
  m_bSpeaker = !m_bSpeaker;
  bool groupA = IsSpeakerGroupA(m_nPhoneModel);
  bool groupB = IsSpeakerGroupB(m_nPhoneModel);
  if (m_bSpeaker) {
    if (groupA && !m_bOffHook) SwitchSpeakerA(TRUE);
    if (groupB && m_bOnHookB) SwitchSpeakerB(TRUE);
    if (m_nCallState == CALL_RINGING) {
      if (m_strCaller.IsEmpty()) return;
      AnswerCall();
    } else if (m_nCallState == CALL_READY) {
      if (groupA) m_phone.ShowDialString(TEXT(""));
    }
    RaiseMainWindow(TRUE);
    return;
  }
  if (groupB && !m_bOnHookB) return;
  // The call stays on the lifted handset.
  if (groupA && m_bOffHook) return;
  HangUp();
}

// Moves the selection one row up or down, wrapping around. An empty list has nothing to select,
// whatever the selection mark still holds.
void CTellbudDlg::SelectAdjacentRow(int step) {
  int count = m_list.GetItemCount();
  if (count <= 0) return;
  int mark = m_list.GetSelectionMark();
  if (mark < 0) mark = -1;
  int target;
  if (step < 0) {
    target = (mark == -1 || mark == 0) ? count - 1 : (mark - 1) % count;
  } else {
    target = mark == -1 ? 0 : (mark + 1) % count;
  }
  m_list.SetSelectionMark(target);
  m_list.SetItemState(target, LVIS_SELECTED, LVIS_SELECTED);
  m_list.EnsureVisible(target, FALSE);
}

// Selects the first row whose speed-dial column equals the dial string exactly, or clears the
// selection when none does.
void CTellbudDlg::SelectBySpeedDial() {
  for (int row = 0; row < m_list.GetItemCount(); ++row) {
    WCHAR number[kSpeedDialBuffer] = {0};
    m_list.GetItemText(row, 1, number, kSpeedDialBuffer);
    // Character for character: a linguistic comparison would pass over ignorable characters.
    if (m_strDial == number) {
      m_list.SetSelectionMark(row);
      m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
      return;
    }
  }
  int mark = m_list.GetSelectionMark();
  if (mark >= 0) {
    m_list.SetItemState(mark, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetSelectionMark(-1);
  }
}
