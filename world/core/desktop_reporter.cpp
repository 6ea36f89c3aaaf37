#include "world/core/desktop_reporter.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>

#include "world/core/text.h"

namespace world {

DesktopReporter::DesktopReporter(Reporter& out) : out_(out) {}

// ---- Windows ------------------------------------------------------------------------------------

void DesktopReporter::WindowLine(HWND hwnd, const char* what) {
  auto info = sim::InspectWindow(hwnd);
  if (!info) return;
  out_.Report("window", Quote(Utf8(info->title)) + " " + what);
}

void DesktopReporter::OnWindowShown(HWND hwnd) {
  ever_shown_.insert(hwnd);
  WindowLine(hwnd, "shown");
}
void DesktopReporter::OnWindowHidden(HWND hwnd) { WindowLine(hwnd, "hidden"); }
void DesktopReporter::OnWindowForeground(HWND hwnd) { WindowLine(hwnd, "foreground"); }
void DesktopReporter::OnWindowMinimized(HWND hwnd) { WindowLine(hwnd, "minimized"); }
void DesktopReporter::OnWindowRestored(HWND hwnd) { WindowLine(hwnd, "restored"); }

// A window nobody ever saw (a hidden helper window) goes unnoticed.
void DesktopReporter::OnWindowDestroyed(HWND hwnd, const std::u16string& title) {
  if (!ever_shown_.erase(hwnd)) return;
  out_.Report("window", Quote(Utf8(title)) + " destroyed");
}

std::optional<ClickTarget> LocateChild(HWND hwnd) {
  std::string index;
  HWND current = hwnd;
  for (int depth = 0; depth < 64; ++depth) {
    auto info = sim::InspectWindow(current);
    if (!info) return std::nullopt;
    if (!info->parent) {
      if (index.empty()) return std::nullopt;  // the top-level window itself
      return ClickTarget{info->title, index};
    }
    auto siblings = sim::ChildWindows(info->parent);
    auto it = std::find(siblings.begin(), siblings.end(), current);
    if (it == siblings.end()) return std::nullopt;
    std::string position = std::to_string(it - siblings.begin() + 1);
    index = index.empty() ? position : position + "." + index;
    current = info->parent;
  }
  return std::nullopt;
}

void DesktopReporter::OnMessagePosted(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  if (msg != WM_LBUTTONDOWN) return;
  if (auto target = LocateChild(hwnd)) out_.Report("click", Quote(Utf8(target->title)) + " " + target->index);
}

// ---- Keyboard and debugger output -----------------------------------------------------------------

void DesktopReporter::OnKeyboardEvent(BYTE vk, bool key_up) {
  if (world_typing_) return;
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%02X %s", static_cast<unsigned>(vk), key_up ? "up" : "down");
  out_.Report("keyboard", buf);
}

void DesktopReporter::OnDebugString(DWORD, const std::u16string& text) {
  if (!debug_output_) return;
  // A debugger shows each line of the output on its own, without the line end.
  std::string all = Utf8(text);
  if (all.ends_with("\n")) all.pop_back();
  if (all.ends_with("\r")) all.pop_back();
  size_t start = 0;
  while (true) {
    size_t end = all.find('\n', start);
    std::string line = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (line.ends_with("\r")) line.pop_back();
    out_.Report("debug", Quote(line));
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

// ---- Processes ------------------------------------------------------------------------------------

void DesktopReporter::OnProcessStarted(DWORD, const std::u16string& image) {
  out_.Report("process", Utf8(image) + " started");
}

void DesktopReporter::OnProcessEnded(DWORD, const std::u16string& image, int exit_code) {
  out_.Report("process", Utf8(image) + " ended (exit code " + std::to_string(exit_code) + ")");
}

// ---- Notification area ----------------------------------------------------------------------------

std::string DesktopReporter::DescribeIcon(HICON icon) const {
  if (!icon) return "none";
  return describe_icon_ ? describe_icon_(icon) : "none";
}

void DesktopReporter::IconLine(TrayState& state, HICON icon) {
  std::string look = DescribeIcon(icon);
  state.icon = look;
  out_.Report("tray", "icon " + look);
}

void DesktopReporter::OnTrayIconAdded(HWND owner, UINT id, HICON icon, const std::u16string& tip) {
  TrayState& state = tray_[{owner, id}];
  state.tip = Utf8(tip);
  out_.Report("tray", "add " + Quote(state.tip));
  IconLine(state, icon);
}

void DesktopReporter::OnTrayIconChanged(HWND owner, UINT id, UINT flags, HICON icon,
                                        const std::u16string& tip) {
  TrayState& state = tray_[{owner, id}];
  // A person sees a change only when the picture or the text differs from what is shown.
  if ((flags & NIF_ICON) && DescribeIcon(icon) != state.icon) IconLine(state, icon);
  if (flags & NIF_TIP) {
    std::string text = Utf8(tip);
    if (text != state.tip) {
      state.tip = text;
      out_.Report("tray", "tip " + Quote(text));
    }
  }
}

void DesktopReporter::OnTrayIconRemoved(HWND owner, UINT id) {
  tray_.erase({owner, id});
  out_.Report("tray", "remove");
}

// ---- Pop-up menus and notes -----------------------------------------------------------------------

void DesktopReporter::OnPopupMenuOpened(HMENU menu, HWND) {
  out_.Report("menu", describe_menu_ ? "open " + describe_menu_(menu) : "open");
}

void DesktopReporter::OnPopupMenuClosed(HMENU menu, UINT chosen_id) {
  if (chosen_id == 0) {
    out_.Report("menu", "dismissed");
  } else {
    out_.Report("menu", "chose " + (describe_command_ ? describe_command_(menu, chosen_id)
                                                      : std::to_string(chosen_id)));
  }
}

void DesktopReporter::OnNote(const std::string& source, const std::string& text) {
  out_.Report(source, text);
}

// A line break of the text shows as \n, so that the box stays one transcript line.
void DesktopReporter::OnMessageBoxOpened(HWND, const std::u16string& caption, const std::u16string& text) {
  std::string quoted = Quote(Utf8(text));
  std::string one_line;
  for (char c : quoted) {
    if (c == '\n')
      one_line += "\\n";
    else if (c != '\r')
      one_line += c;
  }
  out_.Report("messagebox", Quote(Utf8(caption)) + " " + one_line);
}

void DesktopReporter::OnMixerVolumeSet(const std::u16string& mixer, const char* line,
                                       const std::vector<DWORD>& values) {
  std::string text = Quote(Utf8(mixer)) + " " + line;
  for (DWORD v : values) text += " " + std::to_string(v);
  out_.Report("mixer", text);
}

}  // namespace world
