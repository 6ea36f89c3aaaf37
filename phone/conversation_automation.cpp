// Accepting and declining a voice invitation through Messenger's own window: the conversation
// window is brought to the front and its Alt-letter shortcut is typed into it. A running call is
// ended by closing its window; a short-lived thread clicks Messenger's confirmation dialog.
#include "ui/tellbud_dlg.h"

#include "app/paths.h"
#include "config/profile.h"
#include "phone/shortcut_key.h"

namespace {

const DWORD kShortcutBuffer = 32;
const int kClassBuffer = 32;
const int kConfirmAttempts = 5;
const DWORD kConfirmPauseMs = 200;
const WCHAR kDialogClass[] = TEXT("#32770");
const WCHAR kConfirmTitle[] = TEXT("Windows Live Messenger");
const LPARAM kClickPoint = 0x00050028;  // x 40, y 5

HWND ToWindow(LONG handle) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)); }

// Reads the shortcut anew on every use, so an edit of the settings file counts at once.
WORD ReadShortcutKey(LPCWSTR key, LPCWSTR defaultValue) {
  WCHAR text[kShortcutBuffer] = {0};
  ReadProfileString(TEXT("SHORTCUT_KEY"), key, defaultValue, text, kShortcutBuffer, g_szSettingsPath);
  return ParseAltShortcut(text);
}

// Alt down, the key down and up, Alt up, with no pause between them.
void TypeAltShortcut(WORD code) {
  keybd_event(VK_MENU, 0, 0, 0);
  keybd_event(static_cast<BYTE>(code), 0, 0, 0);
  keybd_event(static_cast<BYTE>(code), 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
}

bool HasClass(HWND hwnd, LPCWSTR expected) {
  if (!IsWindow(hwnd)) return false;
  WCHAR name[kClassBuffer] = {0};
  GetClassNameW(hwnd, name, kClassBuffer);
  return lstrcmpW(name, expected) == 0;
}

// Messenger's end-of-call question: two buttons and a static, in that order.
HWND ConfirmationButton(HWND dialog) {
  HWND first = GetWindow(dialog, GW_CHILD);
  if (!HasClass(first, TEXT("Button"))) return nullptr;
  HWND second = GetWindow(first, GW_HWNDNEXT);
  if (!HasClass(second, TEXT("Button"))) return nullptr;
  HWND third = GetWindow(second, GW_HWNDNEXT);
  if (!HasClass(third, TEXT("Static"))) return nullptr;
  return first;
}

}  // namespace

void CTellbudDlg::ActivateConversation() {
  LONG handle = 0;
  CheckComResult(m_pCurConversation->get_HWND(&handle), IID_IMessengerConversationWnd);
  HWND window = ToWindow(handle);
  ::ShowWindow(window, SW_SHOW);
  if (!::IsWindowVisible(window)) ::ShowWindow(window, SW_SHOW);
  if (::IsIconic(window)) ::OpenIcon(window);
  ::BringWindowToTop(window);
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
}

void CTellbudDlg::PressAccept() { TypeAltShortcut(ReadShortcutKey(TEXT("Accept"), TEXT("Alt+C"))); }

void CTellbudDlg::PressDecline() { TypeAltShortcut(ReadShortcutKey(TEXT("Decline"), TEXT("Alt+D"))); }

void CTellbudDlg::EndTalkingCall(HWND conversation) {
  HANDLE thread = CreateThread(nullptr, 0, ConfirmEndCallThread, conversation, 0, nullptr);
  if (thread) CloseHandle(thread);  // nothing waits for it
  CheckComResult(m_pCurConversation->Close(), IID_IMessengerConversationWnd);
}

// Looks for Messenger's confirmation dialog five times, 200 ms apart, and clicks its first
// button once. Only the question owned by the conversation window being closed counts: Messenger
// shows other dialogs with the same title, and a click there would leave the call running. The
// thread reads only other windows and posts (never sends), so it shares nothing with the program.
DWORD WINAPI CTellbudDlg::ConfirmEndCallThread(LPVOID param) {
  HWND conversation = static_cast<HWND>(param);
  if (!conversation) return 0;
  for (int attempt = 0; attempt < kConfirmAttempts; ++attempt) {
    Sleep(kConfirmPauseMs);
    for (HWND dialog = FindWindowExW(nullptr, nullptr, kDialogClass, kConfirmTitle); IsWindow(dialog);
         dialog = FindWindowExW(nullptr, dialog, kDialogClass, kConfirmTitle)) {
      if (GetWindow(dialog, GW_OWNER) != conversation) continue;
      HWND button = ConfirmationButton(dialog);
      if (!button) continue;
      PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, kClickPoint);
      PostMessageW(button, WM_LBUTTONUP, 0, kClickPoint);
      return 0;
    }
  }
  return 0;
}
