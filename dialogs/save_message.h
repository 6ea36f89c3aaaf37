// The one message the dialogs show when a settings file refuses a change (read-only, locked,
// or a name the file cannot hold): nothing was stored, and the dialog stays open.
#pragma once

#include <windows.h>

void ShowNotSavedMessage(HWND hDialog, LPCWSTR fileName);
