// Turns what the simulated desktop does into transcript lines: top-level windows shown, hidden,
// brought to the foreground, minimised, restored and destroyed; synthetic keyboard input; mouse
// clicks posted to a window's controls; the notification area; pop-up menus; processes; the
// program's debugger output.
#pragma once

#include <windows.h>

#include <sim/desktop.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "world/core/reporter.h"

namespace world {

class DesktopReporter : public sim::Observer {
 public:
  // How a tray icon looks: an icon file's name relative to the executable's folder
  // ("nodevice.ico"), a module icon resource ("#128"), or "none".
  using IconDescriber = std::function<std::string(HICON)>;
  // The items of an open pop-up menu as one line ("\"AutoRun\" [x], \"Exit\""), and the text of
  // a chosen command.
  using MenuDescriber = std::function<std::string(HMENU)>;
  using CommandDescriber = std::function<std::string(HMENU, UINT id)>;

  explicit DesktopReporter(Reporter& out);

  void SetIconDescriber(IconDescriber describe) { describe_icon_ = std::move(describe); }
  void SetMenuDescriber(MenuDescriber items, CommandDescriber command) {
    describe_menu_ = std::move(items);
    describe_command_ = std::move(command);
  }

  // Debugger output is printed only while this is on (`debug on`).
  void set_debug_output(bool on) { debug_output_ = on; }
  bool debug_output() const { return debug_output_; }

  // While the world itself presses keys on behalf of the user, keybd_event lines are not
  // printed: they report what the program types.
  void set_world_typing(bool on) { world_typing_ = on; }

  void OnWindowShown(HWND hwnd) override;
  void OnWindowHidden(HWND hwnd) override;
  void OnWindowForeground(HWND hwnd) override;
  void OnWindowDestroyed(HWND hwnd, const std::u16string& title) override;
  void OnWindowMinimized(HWND hwnd) override;
  void OnWindowRestored(HWND hwnd) override;
  void OnMessagePosted(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override;
  void OnKeyboardEvent(BYTE vk, bool key_up) override;
  void OnDebugString(DWORD pid, const std::u16string& text) override;
  void OnProcessStarted(DWORD pid, const std::u16string& image) override;
  void OnProcessEnded(DWORD pid, const std::u16string& image, int exit_code) override;
  void OnTrayIconAdded(HWND owner, UINT id, HICON icon, const std::u16string& tip) override;
  void OnTrayIconChanged(HWND owner, UINT id, UINT flags, HICON icon, const std::u16string& tip) override;
  void OnTrayIconRemoved(HWND owner, UINT id) override;
  void OnPopupMenuOpened(HMENU menu, HWND owner) override;
  void OnPopupMenuClosed(HMENU menu, UINT chosen_id) override;
  void OnNote(const std::string& source, const std::string& text) override;
  void OnMessageBoxOpened(HWND owner, const std::u16string& caption, const std::u16string& text) override;
  void OnMixerVolumeSet(const std::u16string& mixer, const char* line,
                        const std::vector<DWORD>& values) override;

 private:
  struct TrayState {
    std::string icon;  // as described
    std::string tip;   // UTF-8
  };
  void WindowLine(HWND hwnd, const char* what);
  std::string DescribeIcon(HICON icon) const;
  void IconLine(TrayState& state, HICON icon);

  Reporter& out_;
  IconDescriber describe_icon_;
  MenuDescriber describe_menu_;
  CommandDescriber describe_command_;
  bool debug_output_ = false;
  bool world_typing_ = false;
  std::map<std::pair<HWND, UINT>, TrayState> tray_;
  std::set<HWND> ever_shown_;  // top-level windows shown at least once and not destroyed
};

// Where a posted click landed, for the "click" line: the top-level window's title and the
// control's position among its parent's children, counted from 1 ("2", or "1.3" one level
// deeper). Nothing when the window is not a child window.
struct ClickTarget {
  std::u16string title;
  std::string index;
};
std::optional<ClickTarget> LocateChild(HWND hwnd);

}  // namespace world
