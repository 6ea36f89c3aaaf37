#include <framework/wnd.h>

#include <framework/menu.h>
#include <framework/winapp.h>

#include <vector>

namespace {

// The window property that leads from a framework-owned window to its CWnd.
const WCHAR kPermanentProp[] = TEXT("AfxWnd");

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) RemovePropW(m_hWnd, kPermanentProp);
}

BOOL CWnd::Attach(HWND hWnd) {
  if (m_hWnd || !hWnd || !::IsWindow(hWnd)) return FALSE;
  m_hWnd = hWnd;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd && FromHandlePermanent(hWnd) == this) RemovePropW(hWnd, kPermanentProp);
  m_hWnd = nullptr;
  m_tempChildren.clear();
  return hWnd;
}

void CWnd::SetPermanent() { SetPropW(m_hWnd, kPermanentProp, static_cast<HANDLE>(this)); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  return hWnd ? static_cast<CWnd*>(GetPropW(hWnd, kPermanentProp)) : nullptr;
}

CWnd* CWnd::FromChildHandle(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd)) return nullptr;
  if (CWnd* permanent = FromHandlePermanent(hWnd)) return permanent;
  if (CWnd* bound = FindBoundChild(hWnd)) return bound;
  // Wrappers of windows that have gone are dropped, so a reused handle gets a fresh one.
  std::erase_if(m_tempChildren, [](const auto& entry) { return !::IsWindow(entry.first); });
  std::unique_ptr<CWnd>& wrapper = m_tempChildren[hWnd];
  if (!wrapper) {
    wrapper = std::make_unique<CWnd>();
    wrapper->m_hWnd = hWnd;
  }
  return wrapper.get();
}

void CWnd::HandleNcDestroy() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    AfxPostQuitMessage(0);
  }
  Detach();
  PostNcDestroy();
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
void CWnd::SetWindowText(LPCWSTR pszText) { ::SetWindowTextW(m_hWnd, pszText); }

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }

int CWnd::GetWindowText(CString& rString) const {
  // The text may change between asking its length and reading it: read until it fits.
  int capacity = GetWindowTextLength() + 1;
  for (;;) {
    std::vector<WCHAR> buffer(static_cast<size_t>(capacity) + 1, 0);
    int copied = ::GetWindowTextW(m_hWnd, buffer.data(), capacity + 1);
    if (copied < capacity || capacity >= (1 << 30)) {
      rString = CString(buffer.data(), copied > 0 ? copied : 0);
      return rString.GetLength();
    }
    capacity *= 2;
  }
}

CString CWnd::GetWindowText() const {
  CString text;
  GetWindowText(text);
  return text;
}

CWnd* CWnd::GetDlgItem(int nID) { return FromChildHandle(::GetDlgItem(m_hWnd, nID)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

CWnd* CWnd::GetParent() {
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return nullptr;
  if (CWnd* permanent = FromHandlePermanent(parent)) return permanent;
  return FromChildHandle(parent);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
  return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

void CWnd::GetClientRect(LPRECT lpRect) const {
  if (lpRect && !::GetClientRect(m_hWnd, lpRect)) *lpRect = RECT{};
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
  if (lpRect && !::GetWindowRect(m_hWnd, lpRect)) *lpRect = RECT{};
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
  ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
  if (lpRect) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               bRepaint);
  }
}

BOOL CWnd::SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
}

void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

CWnd* CWnd::SetActiveWindow() {
  HWND previous = ::SetActiveWindow(m_hWnd);
  return previous ? FromChildHandle(previous) : nullptr;
}

CWnd* CWnd::SetFocus() {
  HWND previous = ::SetFocus(m_hWnd);
  return previous ? FromChildHandle(previous) : nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const {
  return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0));
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
  HMENU menu = ::GetSystemMenu(m_hWnd, bRevert);
  if (!menu) return nullptr;
  if (!m_pSystemMenu) m_pSystemMenu = std::make_unique<CMenu>();
  m_pSystemMenu->WrapUnowned(menu);
  return m_pSystemMenu.get();
}

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
