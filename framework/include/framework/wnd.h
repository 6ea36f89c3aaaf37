// CWnd: a thin wrapper of an HWND. Wrappers of controls only hold the handle; windows whose
// procedure belongs to the framework (dialogs, ActiveX sites) are also found back from their
// handle (FromHandlePermanent).
#pragma once

#include <windows.h>

#include <framework/cstring.h>

#include <map>
#include <memory>

class CMenu;

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }  // NOLINT(google-explicit-constructor)
  // Wraps an existing window (FALSE when hWnd is not a window or this wrapper is in use).
  BOOL Attach(HWND hWnd);
  HWND Detach();
  // The framework object that owns the window's procedure, or nullptr.
  static CWnd* FromHandlePermanent(HWND hWnd);
  // A wrapper for any window: the permanent one, or one kept by this wrapper's window
  // (valid until this window is destroyed). nullptr for a null or dead handle.
  CWnd* FromChildHandle(HWND hWnd);

  virtual BOOL PreTranslateMessage(MSG* pMsg);

  BOOL ShowWindow(int nCmdShow);
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const;
  BOOL IsWindowEnabled() const;
  BOOL EnableWindow(BOOL bEnable = TRUE);
  void SetWindowText(LPCWSTR pszText);
  CString GetWindowText() const;
  int GetWindowText(CString& rString) const;
  int GetWindowTextLength() const;
  // The child with this control id, or nullptr.
  CWnd* GetDlgItem(int nID);
  int GetDlgCtrlID() const;
  CWnd* GetParent();
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
  BOOL KillTimer(UINT_PTR nIDEvent);
  void GetClientRect(LPRECT lpRect) const;
  void GetWindowRect(LPRECT lpRect) const;
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
  BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  void BringWindowToTop();
  BOOL SetForegroundWindow();
  CWnd* SetActiveWindow();
  CWnd* SetFocus();
  BOOL DestroyWindow();
  // WM_SETICON; returns the previous icon of that size.
  HICON SetIcon(HICON hIcon, BOOL bBigIcon);
  HICON GetIcon(BOOL bBigIcon) const;
  // The window's system menu, wrapped (valid while this wrapper lives); nullptr after a revert.
  CMenu* GetSystemMenu(BOOL bRevert);
  void Invalidate(BOOL bErase = TRUE);
  void UpdateWindow();
  DWORD GetStyle() const;
  DWORD GetExStyle() const;

  // The Windows API's own forms of the names above. With the real headers SendMessage and the
  // like are macros for their W functions, so inside a window class's members the member names
  // hide the API functions; these overloads let such code call the API the same way in every
  // build.
  static LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(hWnd, message, wParam, lParam);
  }
  static BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(hWnd, message, wParam, lParam);
  }
  static BOOL SetWindowText(HWND hWnd, LPCWSTR pszText) { return ::SetWindowTextW(hWnd, pszText); }
  static int GetWindowText(HWND hWnd, LPWSTR pszText, int nMaxCount) {
    return ::GetWindowTextW(hWnd, pszText, nMaxCount);
  }
  static int GetWindowTextLength(HWND hWnd) { return ::GetWindowTextLengthW(hWnd); }

 protected:
  // Makes FromHandlePermanent(m_hWnd) find this object.
  void SetPermanent();
  // The framework's end of a window it owns: the main window posts WM_QUIT, the handle is
  // forgotten, then PostNcDestroy runs.
  void HandleNcDestroy();
  virtual void PostNcDestroy() {}
  // A wrapper of one of this window's children bound by the program (DDX_Control), if any.
  virtual CWnd* FindBoundChild(HWND) { return nullptr; }

 private:
  std::map<HWND, std::unique_ptr<CWnd>> m_tempChildren;
  std::unique_ptr<CMenu> m_pSystemMenu;
};
