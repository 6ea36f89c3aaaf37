// Buttons, statics, edits and trackbars over their messages.
#include <framework/controls.h>

int CButton::GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
void CButton::Click() { SendMessage(BM_CLICK); }

HICON CStatic::SetIcon(HICON hIcon) {
  return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
}
HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }

void CEdit::LimitText(int nChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars > 0 ? nChars : 0)); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
void CEdit::SetSel(int nStartChar, int nEndChar) {
  SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), static_cast<LPARAM>(nEndChar));
}
void CEdit::ReplaceSel(LPCWSTR lpszNewText) {
  SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(lpszNewText ? lpszNewText : TEXT("")));
}

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw) {
  // The minimum and maximum separately, so values beyond 16 bits survive.
  SendMessage(TBM_SETRANGEMIN, FALSE, nMin);
  SendMessage(TBM_SETRANGEMAX, bRedraw, nMax);
}
int CSliderCtrl::GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
int CSliderCtrl::GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
int CSliderCtrl::GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
void CSliderCtrl::SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
