// The running program's call state for `show`, read from its main window object. Linked only
// into builds that contain the program.
#include <windows.h>

#include <framework/wnd.h>

#include "world/core/call_state.h"
#include "world/core/text.h"
#include "ui/tellbud_dlg.h"

namespace world {

namespace {

CTellbudDlg* MainWindowOf(DWORD pid) {
  for (HWND hwnd = FindWindowExW(nullptr, nullptr, nullptr, TEXT("Tellbud<1.0>")); hwnd;
       hwnd = FindWindowExW(nullptr, hwnd, nullptr, TEXT("Tellbud<1.0>"))) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != pid) continue;
    return dynamic_cast<CTellbudDlg*>(CWnd::FromHandlePermanent(hwnd));
  }
  return nullptr;
}

std::string Utf8(LPCWSTR text) { return world::Utf8(text ? std::u16string(text) : std::u16string()); }

}  // namespace

std::optional<std::string> TellbudCallState(DWORD pid) {
  CTellbudDlg* dlg = MainWindowOf(pid);
  if (!dlg) return std::nullopt;
  std::string state;
  switch (dlg->m_nCallState) {
    case CALL_NO_HANDSET:
      state = "no handset yet";
      break;
    case CALL_READY:
      state = "ready";
      break;
    case CALL_TALKING:
      state = "talking";
      break;
    case CALL_RINGING:
      state = "ringing " + Utf8(dlg->m_strCaller);
      break;
    default:
      state = "unknown (" + std::to_string(dlg->m_nCallState) + ")";
      break;
  }
  if (!dlg->m_strDial.IsEmpty()) state += ", dial string \"" + Utf8(dlg->m_strDial) + "\"";
  if (dlg->m_bSpeaker) state += ", speaker";
  return state;
}

}  // namespace world
