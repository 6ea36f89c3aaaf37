#include "phone/option_dlg.h"

#include "dialogs/save_message.h"
#include "phone/mixer_volume.h"
#include "phone/model_code.h"
#include "phone/option_settings.h"
#include "res/resource.h"
#include "ui/tellbud_dlg.h"

namespace {

const WCHAR kHandsetMixer[] = TEXT("USB Audio Device");
const WCHAR kAnyUsbMixer[] = TEXT("USB");
const LPCWSTR kChannelNames[] = {TEXT("PSTN"), TEXT("USB")};

}  // namespace

COptionDlg::COptionDlg(CTellbudDlg* pParent) : CDialog(IDD_OPTION, pParent), m_pParent(pParent) {}

COptionDlg::~COptionDlg() { CloseMixer(); }

void COptionDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_SPEAKER_SLIDER, m_sliderSpeaker);
  DDX_Control(pDX, IDC_MIC_SLIDER, m_sliderMic);
  DDX_CBIndex(pDX, IDC_RING_COMBO, m_nRingIndex);
  DDX_CBIndex(pDX, IDC_CHANNEL_COMBO, m_nChannelIndex);
}

BOOL COptionDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(m_pParent->m_hIcon, TRUE);
  SetIcon(m_pParent->m_hIcon, FALSE);

  // The combos' items: the ring styles "0" to "9" and the two lines, index 0 the telephone line.
  for (int style = 0; style < RING_STYLE_COUNT; ++style) {
    WCHAR text[2] = {static_cast<WCHAR>(TEXT('0') + style), 0};
    SendDlgItemMessageW(m_hWnd, IDC_RING_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  for (LPCWSTR name : kChannelNames)
    SendDlgItemMessageW(m_hWnd, IDC_CHANNEL_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));

  // The handset's own sound device; without it the sliders stay at 0.
  m_nMixerIndex = FindMixer(kHandsetMixer);
  if (OpenMixer(m_nMixerIndex)) {
    m_sliderMic.SetPos(VolumeToPosition(GetLineVolume(m_hMixer, MIXERLINE_COMPONENTTYPE_DST_WAVEIN)));
    m_sliderSpeaker.SetPos(VolumeToPosition(GetLineVolume(m_hMixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)));
    CloseMixer();
  }

  BOOL adaptor = IsAdaptor(m_pParent->m_nPhoneModel);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_RING_COMBO), !adaptor);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CHANNEL_COMBO), adaptor);
  if (adaptor) {
    m_nChannelIndex = ReadChannelType();
  } else {
    m_nRingIndex = ReadRingType();
  }
  UpdateData(FALSE);
  return TRUE;
}

BOOL COptionDlg::OnCommandId(UINT nID, UINT nCode, HWND hWndCtl) {
  if (nCode == CBN_SELCHANGE && nID == IDC_RING_COMBO) {
    OnRingStyleChanged();
    return TRUE;
  }
  if (nCode == CBN_SELCHANGE && nID == IDC_CHANNEL_COMBO) {
    OnChannelChanged();
    return TRUE;
  }
  return CDialog::OnCommandId(nID, nCode, hWndCtl);
}

BOOL COptionDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header && header->code == NM_RELEASEDCAPTURE) {
    if (header->idFrom == IDC_MIC_SLIDER) {
      OnMicReleased();
      *pResult = 0;
      return TRUE;
    }
    if (header->idFrom == IDC_SPEAKER_SLIDER) {
      OnSpeakerReleased();
      *pResult = 0;
      return TRUE;
    }
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

// The handset plays the chosen style for a moment; the style is kept for calls from now on, and
// stored for the next start, or the user is told that it could not be.
void COptionDlg::OnRingStyleChanged() {
  UpdateData(TRUE);
  int style = ValidRingStyle(m_nRingIndex);
  m_pParent->StartRingPreview(style);
  m_pParent->m_nRingType = style;
  if (!WriteRingType(style)) ShowNotSavedMessage(m_hWnd, TEXT("Tellbud.ini"));
}

// A handset that went away while the dialog was open is not called; the stored line is set on
// it when it is found again.
void COptionDlg::OnChannelChanged() {
  UpdateData(TRUE);
  SHORT channel = m_nChannelIndex == CHANNEL_USB ? CHANNEL_USB : CHANNEL_PSTN;
  DWORD model = m_pParent->m_nPhoneModel;
  if (m_pParent->m_bPhoneFound) {
    if (IsChannelGroup1(model)) {
      m_pParent->m_phone.SetDefaultChannel(channel);
      m_pParent->m_phone.SetChannel(channel);
    } else if (IsChannelGroup2(model)) {
      m_pParent->m_phone.SetDefaultChannel2(channel);
      m_pParent->m_phone.SetChannel2(channel);
    }
  }
  m_pParent->m_nChannel = channel;
  if (!WriteChannelType(channel)) ShowNotSavedMessage(m_hWnd, TEXT("Tellbud.ini"));
}

void COptionDlg::OnMicReleased() {
  if (!OpenMixer(SliderMixer())) return;
  SetLineVolume(m_hMixer, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, PositionToVolume(m_sliderMic.GetPos()));
  CloseMixer();
}

// The speaker slider sets both the playback master and the wave playback line.
void COptionDlg::OnSpeakerReleased() {
  if (!OpenMixer(SliderMixer())) return;
  SetLineVolume(m_hMixer, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, PositionToVolume(m_sliderSpeaker.GetPos()));
  SetLineVolume(m_hMixer, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, PositionToVolume(m_sliderSpeaker.GetPos()));
  CloseMixer();
}

// The sliders act on the device whose volumes they show, found again if the devices changed
// meanwhile; only when the dialog showed none do they act on the first USB sound device.
int COptionDlg::SliderMixer() const {
  if (m_nMixerIndex < 0) return FindMixer(kAnyUsbMixer);
  if (MixerNameContains(m_nMixerIndex, kHandsetMixer)) return m_nMixerIndex;
  return FindMixer(kHandsetMixer);
}

// No mixer is opened for a device that was not found: the system's default mixer is not the
// handset's.
BOOL COptionDlg::OpenMixer(int index) {
  CloseMixer();
  if (index < 0) return FALSE;
  HMIXER mixer = nullptr;
  if (mixerOpen(&mixer, static_cast<UINT>(index), 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR)
    return FALSE;
  m_hMixer = mixer;
  return m_hMixer != nullptr;
}

void COptionDlg::CloseMixer() {
  if (m_hMixer) mixerClose(m_hMixer);
  m_hMixer = nullptr;
}
