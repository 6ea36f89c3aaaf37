// The simulated desktop as the world sees it: one Desktop per test or tellbud-sim run, holding
// the virtual clock, the simulated processes and threads, and the observers that turn what the
// desktop does into transcript lines.
//
// Threads: every thread that calls the Windows API subset is a simulated thread. Exactly one
// simulated thread runs at a time (it holds the baton); a thread gives the baton away only when
// it blocks inside the API (GetMessage with an empty queue, Sleep, a cross-thread SendMessage,
// a wait). The next thread is chosen deterministically (lowest thread id that is ready), so a
// run is the same every time. The world's own thread (the test body or the console) is a
// simulated thread too; it gets the baton back only when every other thread is blocked. The
// clock moves when the world moves it, and on its own only while the world waits for another
// thread (a message it sent, a program it started) and every thread waits for the clock: then
// it moves on to the next deadline, as time passes on Windows while one thread waits for another.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

using VTime = int64_t;  // virtual milliseconds since the desktop was created

// How long the world's thread waits for the other threads in virtual time (the clock moving on
// to their deadlines meanwhile) before it gives the wait up, as a person gives up on a program
// that does not respond. A wait that no deadline can ever end is given up at once.
constexpr VTime kWorldPatience = 60'000;

class Process;
class Thread;
class Desktop;

// What a simulated thread waits for when it blocks.
struct WaitSpec {
  // True when the thread may go on. Evaluated by the scheduler with the baton held.
  std::function<bool()> ready;
  // The virtual time at which ready() may become true by the clock alone (a timer, a sleep's
  // end, a wait's timeout), or nothing. The world's clock steps to the earliest of these.
  std::function<std::optional<VTime>()> wake_time;
};

// Receives everything a person (or a test) can observe on the desktop. Every method has an
// empty default; observers override what they print. Calls come with the baton held.
class Observer {
 public:
  virtual ~Observer() = default;
  virtual void OnWindowShown(HWND) {}
  virtual void OnWindowHidden(HWND) {}
  virtual void OnWindowForeground(HWND) {}
  virtual void OnWindowDestroyed(HWND, const std::u16string& /*title*/) {}
  virtual void OnWindowMinimized(HWND) {}
  virtual void OnWindowRestored(HWND) {}
  // A message posted (not sent) to a window; the world filters what it reports.
  virtual void OnMessagePosted(HWND, UINT /*msg*/, WPARAM, LPARAM) {}
  // Synthetic keyboard input from keybd_event.
  virtual void OnKeyboardEvent(BYTE /*vk*/, bool /*key_up*/) {}
  virtual void OnDebugString(DWORD /*pid*/, const std::u16string& /*text*/) {}
  virtual void OnProcessStarted(DWORD /*pid*/, const std::u16string& /*image*/) {}
  virtual void OnProcessEnded(DWORD /*pid*/, const std::u16string& /*image*/, int /*exit_code*/) {}
  // The notification area (Shell_NotifyIconW). `flags` says which of icon and tip changed
  // (NIF_ICON, NIF_TIP); the icon's origin is told by sim::DescribeIcon.
  virtual void OnTrayIconAdded(HWND /*owner*/, UINT /*id*/, HICON /*icon*/, const std::u16string& /*tip*/) {}
  virtual void OnTrayIconChanged(HWND /*owner*/, UINT /*id*/, UINT /*flags*/, HICON /*icon*/,
                                 const std::u16string& /*tip*/) {}
  virtual void OnTrayIconRemoved(HWND /*owner*/, UINT /*id*/) {}
  // A pop-up menu opened by TrackPopupMenu(Ex) and waiting for the world's choice, and its end
  // (chosen command id, or 0 when dismissed).
  virtual void OnPopupMenuOpened(HMENU /*menu*/, HWND /*owner*/) {}
  virtual void OnPopupMenuClosed(HMENU /*menu*/, UINT /*chosen_id*/) {}
  // Generic hook for modules outside the core (tray, menus, message boxes, ...): a source word
  // and a line of text in transcript form.
  virtual void OnNote(const std::string& /*source*/, const std::string& /*text*/) {}
  // MessageBoxW opens a box (before it is shown), with its caption and text.
  virtual void OnMessageBoxOpened(HWND /*owner*/, const std::u16string& /*caption*/,
                                  const std::u16string& /*text*/) {}
  // A program set a volume of a mixer line ("speakers", "wavein", "waveout"): the line's values
  // afterwards, one per channel.
  virtual void OnMixerVolumeSet(const std::u16string& /*mixer*/, const char* /*line*/,
                                const std::vector<DWORD>& /*values*/) {}
};

struct ProcessInfo {
  DWORD pid = 0;
  std::u16string image_name;    // "Tellbud.exe"
  std::u16string module_path;   // Windows form, e.g. u"Z:\\tmp\\w\\Tellbud.exe"
  std::u16string command_line;  // what GetCommandLineW returns
  DWORD parent_pid = 0;
};

class Desktop {
 public:
  // Creates the desktop and makes the calling OS thread its world thread.
  Desktop();
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // The desktop of this OS process. Aborts with a message when there is none.
  static Desktop& Current();
  static bool Exists();

  // ---- Clock -----------------------------------------------------------------------------------
  VTime Now() const;
  // Lets every other thread run until all of them are blocked. The clock does not move.
  void RunUntilIdle();
  // Moves the clock forward to `until`, stopping at every wake time on the way and letting the
  // threads run there, so every timer and sleep due by then has been served.
  void AdvanceTo(VTime until);
  void AdvanceBy(VTime ms) { AdvanceTo(Now() + ms); }
  // The earliest wake time of any blocked thread, if any.
  std::optional<VTime> NextWakeTime() const;
  // Waits, as the shell does for a program it starts, until the main thread of process `pid`
  // waits for input with nothing left to take, or the process has ended, or `timeout` passed.
  // Meanwhile the clock moves on whenever every other thread waits for it. True when idle.
  bool WaitForInputIdle(DWORD pid, VTime timeout);

  // ---- Processes -------------------------------------------------------------------------------
  // A process with no threads of its own yet, for stand-ins that live in the world (Messenger's
  // process entry, system processes shown in the process table).
  DWORD AddProcess(const ProcessInfo& info);
  // Starts a process whose main thread runs `main`; the process ends when `main` returns (its
  // other threads are ended with it, as ExitProcess does). Returns the process id.
  DWORD StartProcess(const ProcessInfo& info, std::function<int()> main);
  // Removes a process without threads (AddProcess), or ends one whose threads have all ended.
  void EndProcess(DWORD pid, int exit_code = 0);
  bool IsProcessRunning(DWORD pid) const;
  std::optional<int> ProcessExitCode(DWORD pid) const;
  std::vector<ProcessInfo> Processes() const;  // in creation order
  // Runs `body` on a new simulated thread of process `pid` (for stand-ins that own windows).
  DWORD StartThread(DWORD pid, std::function<void()> body);
  // How many thread records the desktop keeps, the world's included: the records of ended
  // threads are freed when the world next runs the desktop or a thread starts.
  size_t ThreadRecordCount() const;

  // ---- Observers -------------------------------------------------------------------------------
  void AddObserver(Observer* observer);
  void RemoveObserver(Observer* observer);
  template <typename F>
  void Notify(F&& f) {
    for (Observer* o : ObserversSnapshot()) f(*o);
  }

  // ---- Extension slots for modules ---------------------------------------------------------------
  // Modules keep their per-desktop state here (registry contents, tray icons, COM classes, ...),
  // created on first use and destroyed with the desktop, in reverse order of creation.
  template <typename T>
  T& Module() {
    void* key = ModuleKey<T>();
    if (void* p = FindModule(key)) return *static_cast<T*>(p);
    auto owned = std::make_shared<T>();
    T& ref = *owned;
    StoreModule(key, std::move(owned));
    return ref;
  }

  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  template <typename T>
  static void* ModuleKey() {
    static char key;
    return &key;
  }
  void* FindModule(void* key);
  void StoreModule(void* key, std::shared_ptr<void> module);
  std::vector<Observer*> ObserversSnapshot() const;

  std::unique_ptr<Impl> impl_;
};

// ---- Inspection for the world (call with the baton held, i.e. from the world thread) ---------------
struct WindowInfo {
  HWND hwnd = nullptr;
  std::u16string class_name;
  std::u16string title;
  HWND parent = nullptr;
  HWND owner = nullptr;
  DWORD style = 0;
  DWORD ex_style = 0;
  bool visible = false;
  bool minimized = false;
  bool enabled = true;
  RECT rect{};  // in parent client coordinates for child windows, screen for top-level
  DWORD thread_id = 0;
  DWORD process_id = 0;
  int control_id = 0;
};
std::optional<WindowInfo> InspectWindow(HWND hwnd);
std::vector<HWND> TopLevelWindows();          // z-order, topmost first
std::vector<HWND> ChildWindows(HWND parent);  // creation order (z-order, top first)

}  // namespace sim
