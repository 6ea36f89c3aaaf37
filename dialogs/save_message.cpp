#include "dialogs/save_message.h"

#include <framework/cstring.h>
#include <framework/dialog.h>

void ShowNotSavedMessage(HWND hDialog, LPCWSTR fileName) {
  CString text;
  text.Format(TEXT("The change could not be saved in %s."), fileName);
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION, hDialog);
}
