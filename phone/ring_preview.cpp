// The ring-style preview: choosing a ring style (the Option dialog, the keypad's ring-style key)
// lets the handset ring in it for a few seconds. The preview never outlives its purpose: it stops
// when its timer runs out or the Option dialog closes, a new choice replaces it, and a call that
// rings when it ends keeps ringing.
#include "ui/tellbud_dlg.h"

#include "phone/option_settings.h"

void CTellbudDlg::StartRingPreview(int style) {
  if (!m_bPhoneFound) return;
  m_phone.SetRing(TRUE, static_cast<short>(ValidRingStyle(style)));
  m_bRingPreview = TRUE;
  SetTimer(TIMER_RING_PREVIEW, RING_PREVIEW_MS);  // a running preview starts its time again
}

void CTellbudDlg::StopRingPreview() {
  if (!m_bRingPreview) return;
  m_bRingPreview = FALSE;
  KillTimer(TIMER_RING_PREVIEW);
  // Only a call ringing now owns the handset's ring; in every other state (ready, talking, the
  // telephone line in use) the ring is the preview's, so it stops, whatever came meanwhile.
  // Only the ring is stopped: the display keeps what it shows.
  if (m_bPhoneFound && m_nCallState != CALL_RINGING)
    m_phone.SetRing(FALSE, static_cast<short>(ValidRingStyle(m_nRingType)));
}
