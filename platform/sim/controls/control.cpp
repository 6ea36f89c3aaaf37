// Shared plumbing of the control classes.
#include "controls/control.h"

#include <algorithm>

namespace sim::controls {

void NotifyCommand(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(HWND control, UINT code, NMHDR* header) {
  header->hwndFrom = control;
  header->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
  header->code = code;
  HWND parent = GetParent(control);
  if (!parent) return 0;
  return SendMessageW(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

LRESULT SetTextAndRedraw(HWND control, LPARAM text) {
  LRESULT r = DefWindowProcW(control, WM_SETTEXT, 0, text);
  InvalidateRect(control, nullptr, TRUE);
  return r;
}

size_t CopyText(std::u16string_view text, LPWSTR buffer, size_t capacity) {
  if (!buffer || capacity == 0) return 0;
  size_t n = std::min(text.size(), capacity - 1);
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), buffer);
  buffer[n] = 0;
  return n;
}

std::u16string_view TextArg(LPARAM lp) {
  auto p = reinterpret_cast<LPCWSTR>(lp);
  return p ? std::u16string_view(p) : std::u16string_view();
}

UINT WorldInputMessage() { return RegisterWindowMessageW(u"SimulatedDesktopControlInput"); }

void RegisterControlClass(LPCWSTR name, WNDPROC proc, UINT style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  user::RegisterSystemClass(wc);
}

}  // namespace sim::controls
