// The notification area as the world sees it: the icons programs put there, and the user's mouse
// on them. The mouse calls post the icon's callback messages to its owner window, as the shell
// does, and move the cursor onto the icon; the world lets the desktop run afterwards.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct TrayIconInfo {
  HWND owner = nullptr;
  UINT id = 0;
  HICON icon = nullptr;
  std::u16string tip;
  UINT callback_message = 0;  // 0 when the program set none
  bool hidden = false;        // NIS_HIDDEN
  UINT version = 0;           // NIM_SETVERSION
  std::u16string balloon_title;
  std::u16string balloon_text;
  DWORD balloon_flags = 0;
  POINT position{};  // the screen point at the icon's middle
};

std::vector<TrayIconInfo> TrayIcons();  // in the order they were added
std::optional<TrayIconInfo> FindTrayIcon(HWND owner, UINT id);

// Each returns false, posting nothing, when there is no such icon or it has no callback message.
// Version-0 icons get wParam = id and lParam = the mouse message; version-4 icons get the message
// in LOWORD(lParam), the id in HIWORD(lParam) and the cursor in wParam; from version 3 the shell
// adds NIN_SELECT after a left click and WM_CONTEXTMENU after a right click.
bool ClickTrayIcon(HWND owner, UINT id);        // WM_LBUTTONDOWN, WM_LBUTTONUP
bool DoubleClickTrayIcon(HWND owner, UINT id);  // ..., WM_LBUTTONDBLCLK, WM_LBUTTONUP
bool RightClickTrayIcon(HWND owner, UINT id);   // WM_RBUTTONDOWN, WM_RBUTTONUP

// Removes the icons whose owner window no longer exists, as the shell does when the mouse passes
// over them (icons of an ended process stay until then). Returns how many went.
size_t RemoveDeadTrayIcons();

}  // namespace sim
