// Internal state of the window manager: window classes, windows, per-thread message queues and
// timers. Modules that implement window classes (dialogs, controls, menus) include this to
// reach their windows' private data.
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/core.h"
#include "ipc/rendezvous.h"

namespace sim::user {

struct WindowClass {
  std::u16string name;  // as registered; looked up ignoring case
  UINT style = 0;
  WNDPROC proc = nullptr;
  int cls_extra = 0;
  int wnd_extra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON icon_small = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  bool system = false;  // registered by the desktop itself (#32770, Button, ...): found from any process
  DWORD owner_pid = 0;
};

// State a control module keeps for its window (list view rows, combo items, ...).
struct ControlData {
  virtual ~ControlData() = default;
};

struct Window {
  HWND hwnd = nullptr;
  const WindowClass* cls = nullptr;
  Thread* thread = nullptr;
  DWORD tid = 0;
  DWORD pid = 0;
  std::u16string title;
  DWORD style = 0;
  DWORD ex_style = 0;
  HWND parent = nullptr;  // child windows: the parent; top-level windows: nullptr
  HWND owner = nullptr;   // top-level windows: the owner, if any
  bool message_only = false;
  std::vector<HWND> children;  // z-order, top first (creation order unless moved)
  RECT rect{};                 // parent client coordinates (child) or screen coordinates (top-level)
  RECT normal_rect{};          // the rectangle to restore to after minimising or maximising
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  UINT_PTR id = 0;  // child control id
  HMENU menu = nullptr;
  HMENU system_menu = nullptr;
  LONG_PTR user_data = 0;
  std::vector<BYTE> extra;
  std::map<std::u16string, HANDLE> props;
  HICON icon_big = nullptr;
  HICON icon_small = nullptr;
  bool minimized = false;
  bool maximized = false;
  bool needs_paint = false;
  bool needs_erase = false;
  bool destroying = false;
  std::unique_ptr<ControlData> control;  // owned by the window class's module
  // A stand-in for a top-level window of another tellbud-sim process (see ipc/rendezvous.h):
  // it has no thread here; showing, activating and posting go to the other process.
  std::unique_ptr<ipc::RemoteWindow> remote;
  std::unique_ptr<WindowClass> remote_class;

  bool Visible() const { return (style & WS_VISIBLE) != 0; }
  bool IsChild() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  VTime due = 0;
  TIMERPROC proc = nullptr;
};

struct SentMessage {
  HWND hwnd = nullptr;
  UINT msg = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
  LRESULT result = 0;
  bool done = false;
  bool notify_only = false;  // SendNotifyMessage: nobody waits
};

// Activation that reaches a thread from another one: the foreground changes at once, and the
// thread is told (WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS) when it next takes messages.
struct ActivationEvent {
  bool activate = false;  // activate `hwnd`; otherwise `hwnd` lost the activation to `other`
  HWND hwnd = nullptr;
  HWND focus = nullptr;  // deactivation: the focus window the thread had
  HWND other = nullptr;
};

// A key pressed while the thread owned the foreground. The window it goes to is decided when
// the thread takes it: the focus window then, or the active window as a system key.
struct KeyInput {
  BYTE vk = 0;
  bool up = false;
  bool alt = false;
  bool ctrl = false;
  LPARAM lparam = 0;
  HWND foreground = nullptr;  // the foreground window when the key was pressed
  DWORD time = 0;
  POINT pt{};
};

// A thread's message queue and input state (Windows keeps these per thread).
struct ThreadQueue {
  std::deque<ActivationEvent> events;
  std::deque<KeyInput> input;
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  std::shared_ptr<SentMessage> current_incoming;  // the sent message being processed now
  bool quit_posted = false;
  int quit_code = 0;
  std::vector<Timer> timers;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  MSG last{};
  UINT_PTR next_thread_timer_id = 1;
};

// Per-desktop window-manager state.
struct UserState {
  UserState();
  std::map<HWND, std::unique_ptr<Window>> windows;
  std::vector<HWND> top_level;  // z-order, topmost first
  std::vector<std::unique_ptr<WindowClass>> classes;
  bool system_classes_registered = false;
  WindowClass desktop_class;
  HWND desktop = nullptr;
  HWND foreground = nullptr;
  uintptr_t next_handle = 0x00010020;
  std::map<std::u16string, UINT> registered_messages;
  UINT next_registered_message = 0xC000;
  BYTE key_state[256] = {};
  POINT cursor{400, 300};
};

UserState& State();
ThreadQueue& Queue(Thread& thread);
ThreadQueue& CurrentQueue();

// The live window behind a handle, or nullptr (invalid, destroyed, or a handle of another kind).
Window* FromHandle(HWND hwnd);
// The live window, or nullptr with ERROR_INVALID_WINDOW_HANDLE as the last error.
Window* CheckedFromHandle(HWND hwnd);

// Registers a class that every process finds, as the system's own classes are.
void RegisterSystemClass(const WNDCLASSEXW& wc);
// Registers the desktop's own classes once per desktop, before the first class lookup.
void EnsureSystemClasses();
// Implemented by the modules that own the system classes; called by EnsureSystemClasses.
void RegisterDialogClass();     // "#32770"
void RegisterControlClasses();  // "Button", "Static", "Edit", "ComboBox", "SysListView32", ...

// Calls a window's procedure on the calling thread (the caller has checked ownership).
LRESULT CallProc(Window& w, UINT msg, WPARAM wp, LPARAM lp);

// Processes every message that other threads have sent to the calling thread.
bool ProcessIncomingSent();

// FindWindowExW over this desktop's own windows only (no other tellbud-sim process).
HWND FindLocalWindowEx(HWND parent, HWND child_after, LPCWSTR class_name, LPCWSTR title);

// Top-level ancestor (the window itself when it is top-level).
HWND RootOf(HWND hwnd);

// Converts a window's client size for WM_SIZE and GetClientRect.
RECT ClientRectOf(const Window& w);
// The non-client frame thickness on each side for a style.
RECT FrameInsets(DWORD style, DWORD ex_style);

// Activation and foreground helpers shared by window position and destruction code. Activating
// another thread's window queues the activation to that thread (see ActivationEvent).
void ActivateWindow(Window& w, bool make_foreground);
// Delivers the activation events queued to the calling thread.
void ProcessActivationEvents();
// The keyboard message a queued key becomes now, or nothing when its window is gone.
std::optional<MSG> ResolveKeyInput(const ThreadQueue& q, const KeyInput& key);
// `notify`: whether a window of the calling thread that takes the activation is told so; not
// while windows are freed silently.
void OnWindowHiddenOrDestroyed(HWND hwnd, bool notify = true);
void SetForegroundInternal(HWND hwnd);

// Marks a window and its children as needing WM_PAINT.
void InvalidateTree(Window& w);

}  // namespace sim::user
