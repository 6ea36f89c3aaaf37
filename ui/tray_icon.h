// CTrayIcon: the program's icon in the notification area. It keeps one notification record for
// the life of the main window; after the icon is added, each change rewrites only the members it
// names, so the same icon is modified in place.
#pragma once

#include <windows.h>
#include <shellapi.h>

class CTrayIcon {
 public:
  CTrayIcon();
  ~CTrayIcon();
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  BOOL Add(HWND hWnd, UINT callbackMessage, HICON hIcon, LPCWSTR tip, UINT id);
  BOOL SetIcon(HICON hIcon);
  // Loads the icon from an .ico file (its own size) and shows it; a missing or unreadable file
  // shows no picture. The icon loaded before is released once it is replaced.
  BOOL SetIconFromFile(LPCWSTR path);
  BOOL SetTip(LPCWSTR tip);
  BOOL Remove();

  const NOTIFYICONDATAW& Data() const { return m_data; }

 private:
  void ReleaseLoadedIcon();

  NOTIFYICONDATAW m_data;
  HICON m_hLoadedIcon = nullptr;  // the icon this object loaded from a file and must release
};
