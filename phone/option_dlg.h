// COptionDlg: the handset's ring style or, for a line adaptor, its default line, and the volumes
// of the handset's sound device. Every change takes effect at once; closing undoes nothing.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <framework/controls.h>
#include <framework/dialog.h>

class CTellbudDlg;

class COptionDlg : public CDialog {
 public:
  explicit COptionDlg(CTellbudDlg* pParent);
  ~COptionDlg() override;

  CTellbudDlg* m_pParent;
  HMIXER m_hMixer = nullptr;  // open only inside one handler
  CSliderCtrl m_sliderSpeaker;
  CSliderCtrl m_sliderMic;
  int m_nRingIndex = 0;
  int m_nChannelIndex = 0;
  // The mixer whose volumes the dialog shows, or -1 when it found none.
  int m_nMixerIndex = -1;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnCommandId(UINT nID, UINT nCode, HWND hWndCtl) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  void OnRingStyleChanged();
  void OnChannelChanged();
  void OnMicReleased();
  void OnSpeakerReleased();
  // Opens the mixer that the sliders act on; FALSE when there is none.
  BOOL OpenMixer(int index);
  void CloseMixer();
  int SliderMixer() const;
};
