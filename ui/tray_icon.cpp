#include "ui/tray_icon.h"

#include <strsafe.h>

CTrayIcon::CTrayIcon() { ZeroMemory(&m_data, sizeof m_data); }

CTrayIcon::~CTrayIcon() { ReleaseLoadedIcon(); }

BOOL CTrayIcon::Add(HWND hWnd, UINT callbackMessage, HICON hIcon, LPCWSTR tip, UINT id) {
  m_data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  m_data.hWnd = hWnd;
  m_data.uID = id;
  m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  m_data.uCallbackMessage = callbackMessage;
  m_data.hIcon = hIcon;
  StringCchCopyW(m_data.szTip, ARRAYSIZE(m_data.szTip), tip ? tip : TEXT(""));
  return Shell_NotifyIconW(NIM_ADD, &m_data);
}

BOOL CTrayIcon::SetIcon(HICON hIcon) {
  m_data.uFlags = NIF_ICON;
  m_data.hIcon = hIcon;
  return Shell_NotifyIconW(NIM_MODIFY, &m_data);
}

BOOL CTrayIcon::SetIconFromFile(LPCWSTR path) {
  HICON hIcon = static_cast<HICON>(LoadImageW(nullptr, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
  BOOL shown = SetIcon(hIcon);
  // The shell has its own copy of the picture now; the previous loaded icon is no longer used.
  ReleaseLoadedIcon();
  m_hLoadedIcon = hIcon;
  return shown;
}

BOOL CTrayIcon::SetTip(LPCWSTR tip) {
  m_data.uFlags = NIF_TIP;
  StringCchCopyW(m_data.szTip, ARRAYSIZE(m_data.szTip), tip ? tip : TEXT(""));
  return Shell_NotifyIconW(NIM_MODIFY, &m_data);
}

BOOL CTrayIcon::Remove() { return Shell_NotifyIconW(NIM_DELETE, &m_data); }

void CTrayIcon::ReleaseLoadedIcon() {
  if (m_hLoadedIcon) {
    DestroyIcon(m_hLoadedIcon);
    m_hLoadedIcon = nullptr;
  }
}
