// Shared plumbing of the control classes: their state in Window::control, notifications to the
// parent window, text copies into callers' buffers and the messages the world's input uses.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "user/user.h"

namespace sim::controls {

using user::Window;

// The control state of type T of a window, or nullptr.
template <typename T>
T* DataOf(HWND hwnd) {
  Window* w = user::FromHandle(hwnd);
  return w ? dynamic_cast<T*>(w->control.get()) : nullptr;
}

// Gives a window fresh control state of type T (at WM_NCCREATE).
template <typename T>
T& AttachData(HWND hwnd) {
  Window* w = user::FromHandle(hwnd);
  auto data = std::make_unique<T>();
  T& ref = *data;
  w->control = std::move(data);
  return ref;
}

// WM_COMMAND with the control's id and a notification code, sent to its parent.
void NotifyCommand(HWND control, WORD code);
// WM_NOTIFY to the parent; fills in the header's sender, id and code. Returns the parent's answer.
LRESULT NotifyParent(HWND control, UINT code, NMHDR* header);

// WM_SETTEXT of a control that shows its text: stores it and asks for a repaint.
LRESULT SetTextAndRedraw(HWND control, LPARAM text);

// Copies text into a caller's buffer of `capacity` characters: at most capacity - 1 of them and
// a terminator. Returns the number copied; nothing is written when the buffer is null or empty.
size_t CopyText(std::u16string_view text, LPWSTR buffer, size_t capacity);
// A string argument that may be null.
std::u16string_view TextArg(LPARAM lp);

// The registered message through which the world's actions reach a control's own thread, as
// input does (see sim/controls.h). wParam and lParam depend on the control.
UINT WorldInputMessage();

// Registers a control class for every process (CS_GLOBALCLASS, as the system's classes are).
void RegisterControlClass(LPCWSTR name, WNDPROC proc, UINT style = CS_DBLCLKS);

// Per-class registration, called by RegisterControlClasses.
void RegisterButtonClass();
void RegisterStaticClass();
void RegisterEditClass();
void RegisterComboBoxClass();
void RegisterListViewClass();
void RegisterTrackbarClass();

// Control state the world reads (sim/controls.h).
bool ButtonChecked(HWND button);
HICON StaticIcon(HWND stat);
bool InspectEditState(HWND edit, UINT* limit, DWORD* sel_start, DWORD* sel_end);

}  // namespace sim::controls
