#include "world/console/show.h"

#include "world/core/call_state.h"
#include "world/core/desktop_seed.h"
#include "world/core/reporter.h"
#include "world/core/text.h"

namespace console {

namespace {

void DescribeMainWindow(world::World& w, std::vector<std::string>& out) {
  auto main = w.TellbudMainWindow();
  if (!main) {
    out.push_back(w.RunningTellbuds().empty() ? "main window: none (Tellbud is not running)"
                                              : "main window: none");
    return;
  }
  auto info = sim::InspectWindow(*main);
  if (!info) return;
  out.push_back("main window: " + world::Quote(world::Utf8(info->title)) +
                (info->visible ? " visible" : " hidden") + (info->minimized ? " minimized" : ""));
}

void DescribeTray(world::World& w, std::vector<std::string>& out) {
  auto icon = world::TellbudTrayIcon(w);
  if (!icon) {
    out.push_back("tray: empty");
    return;
  }
  out.push_back("tray: icon " + world::DescribeIconLook(icon->icon, w.exe_folder()) + ", tip " +
                world::Quote(world::Utf8(icon->tip)));
}

void DescribeCallState(world::World& w, std::vector<std::string>& out) {
  auto running = w.RunningTellbuds();
  std::optional<std::string> state;
  if (!running.empty()) state = world::TellbudCallState(running.front());
  out.push_back("call state: " + state.value_or("unknown"));
}

}  // namespace

std::vector<std::string> DescribeWorld(world::World& w) {
  std::vector<std::string> out;
  DescribeMainWindow(w, out);
  DescribeTray(w, out);
  DescribeCallState(w, out);
  return out;
}

}  // namespace console
