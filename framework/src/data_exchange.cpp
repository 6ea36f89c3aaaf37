// Data exchange between a dialog's members and its controls (DDX) and validation (DDV).
#include <framework/dialog.h>

#include <framework/winapp.h>

#include <climits>
#include <commctrl.h>

namespace {

// The whole text as a number in int's range, or false.
bool ParseInt(CString text, int& value) {
  text.Trim();
  int i = 0;
  bool negative = false;
  if (text.GetAt(0) == '-' || text.GetAt(0) == '+') {
    negative = text.GetAt(0) == '-';
    i = 1;
  }
  if (i >= text.GetLength()) return false;
  long long magnitude = 0;
  for (; i < text.GetLength(); ++i) {
    WCHAR c = text.GetAt(i);
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
  }
  long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT_MAX || signedValue < INT_MIN) return false;
  value = static_cast<int>(signedValue);
  return true;
}

// Exchanges a number a control reports with `getMessage` and takes through `set`.
template <typename Set>
void ExchangeNumber(CDataExchange* pDX, int nIDC, int& value, UINT getMessage, Set set) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (!hWndCtrl) return;
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(SendMessageW(hWndCtrl, getMessage, 0, 0));
  } else {
    set(hWndCtrl, value);
  }
}

void ShowValidationMessage(CDataExchange* pDX, LPCWSTR text) {
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION, pDX->m_pDlgWnd->GetSafeHwnd());
}

}  // namespace

int AfxMessageBox(LPCWSTR lpszText, UINT nType, HWND hWndOwner) {
  if (!hWndOwner) hWndOwner = GetActiveWindow();
  return MessageBoxW(hWndOwner, lpszText, AfxGetAppName(), nType);
}

CDataExchange::CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  m_idLastControl = nIDC;
  m_bEditLastControl = FALSE;
  HWND hWndCtrl = GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
  if (!hWndCtrl) {
    CString line;
    line.Format(TEXT("Data exchange: the dialog has no control %d"), nIDC);
    AfxTrace(line);
  }
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (m_idLastControl != 0) {
    if (HWND hWndCtrl = GetDlgItem(m_pDlgWnd->GetSafeHwnd(), m_idLastControl)) {
      SetFocus(hWndCtrl);
      if (m_bEditLastControl) SendMessageW(hWndCtrl, EM_SETSEL, 0, -1);
    }
  }
  throw CUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (HWND hWndCtrl = pDX->PrepareCtrl(nIDC)) pDX->m_pDlgWnd->BindControl(rControl, hWndCtrl);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (!hWndCtrl) return;
  if (pDX->m_bSaveAndValidate) {
    CWnd control;
    control.Attach(hWndCtrl);
    control.GetWindowText(value);
    control.Detach();
  } else {
    SetWindowTextW(hWndCtrl, value);
  }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (!hWndCtrl) return;
  if (pDX->m_bSaveAndValidate) {
    CString text;
    DDX_Text(pDX, nIDC, text);
    if (!ParseInt(text, value)) {
      ShowValidationMessage(pDX, TEXT("Please enter an integer."));
      pDX->Fail();
    }
  } else {
    CString text;
    text.Format(TEXT("%d"), value);
    SetWindowTextW(hWndCtrl, text);
  }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bSaveAndValidate) {
    if (value.GetLength() > nChars) {
      CString number;
      number.Format(TEXT("%d"), nChars);
      CString message = TEXT("Please enter no more than %1 characters.");
      message.Replace(TEXT("%1"), number);
      ShowValidationMessage(pDX, message);
      pDX->Fail();
    }
  } else if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
    SendDlgItemMessageW(pDX->m_pDlgWnd->GetSafeHwnd(), pDX->m_idLastControl, EM_LIMITTEXT,
                        static_cast<WPARAM>(nChars > 0 ? nChars : 0), 0);
  }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  ExchangeNumber(pDX, nIDC, index, CB_GETCURSEL, [](HWND hWndCtrl, int value) {
    SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
  });
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value) {
  ExchangeNumber(pDX, nIDC, value, TBM_GETPOS,
                 [](HWND hWndCtrl, int position) { SendMessageW(hWndCtrl, TBM_SETPOS, TRUE, position); });
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  ExchangeNumber(pDX, nIDC, value, BM_GETCHECK, [](HWND hWndCtrl, int state) {
    SendMessageW(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(state), 0);
  });
}
