#include "dialogs/language_dlg.h"

#include "app/language_file.h"
#include "app/paths.h"
#include "config/profile.h"
#include "dialogs/save_message.h"
#include "res/resource.h"
#include "ui/tellbud_dlg.h"

namespace {

const WCHAR kSection[] = TEXT("LanguageType");
const WCHAR kCurrentKey[] = TEXT("0");
const DWORD kListedChars = 255;

}  // namespace

CLanguageDlg::CLanguageDlg(CTellbudDlg* pOwner) : CDialog(IDD_LANGUAGE, pOwner), m_pOwner(pOwner) {}

void CLanguageDlg::DoDataExchange(CDataExchange* pDX) { DDX_Control(pDX, IDC_LANGUAGE_COMBO, m_cbLanguage); }

// Lists the numbered languages up to the first gap and selects the first that begins with the
// current one.
BOOL CLanguageDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetIcon(m_pOwner->m_hIcon, TRUE);
  SetIcon(m_pOwner->m_hIcon, FALSE);
  for (const auto& name : ReadProfileList(kSection, kListedChars, g_szSettingsPath))
    m_cbLanguage.AddString(name.c_str());
  WCHAR current[kListedChars + 1] = {0};
  ReadProfileString(kSection, kCurrentKey, DEFAULT_LANGUAGE, current, kListedChars + 1, g_szSettingsPath);
  m_cbLanguage.SelectString(-1, current);
  return TRUE;
}

// The chosen language (the current one when nothing is selected) becomes current, and the
// conversation scan reads its file from now on.
void CLanguageDlg::OnOK() {
  int index = m_cbLanguage.GetCurSel();
  WCHAR key[16] = {0};
  wsprintfW(key, TEXT("%d"), index < 0 ? 0 : index + 1);
  WCHAR chosen[LANGUAGE_VALUE_CHARS + 1] = {0};
  ReadProfileString(kSection, key, DEFAULT_LANGUAGE, chosen, LANGUAGE_VALUE_CHARS + 1, g_szSettingsPath);
  if (!WriteProfileString(kSection, kCurrentKey, chosen, g_szSettingsPath)) {
    ShowNotSavedMessage(m_hWnd, TEXT("Tellbud.ini"));
    return;
  }
  SelectLanguageFile(chosen);
  EndDialog(IDOK);
}
