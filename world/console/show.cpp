#include "world/console/show.h"

#include <sim/controls.h>
#include <sim/dialogs.h>
#include <sim/mixers.h>

#include "res/resource.h"

#include "world/core/call_state.h"
#include "world/core/desktop_seed.h"
#include "world/core/reporter.h"
#include "world/core/text.h"
#include "world/handset/stand_in.h"

namespace console {

namespace {

// A row's image as a person tells it apart: the program's online or offline picture, or how
// another picture looks.
std::string ImageName(const sim::ListViewInfo& view, int image, const std::filesystem::path& exe_folder) {
  if (image < 0) return "no image";
  std::vector<HICON> icons = sim::ImageListIcons(view.small_images);
  if (static_cast<size_t>(image) >= icons.size()) return "image " + std::to_string(image);
  std::string look = world::DescribeIconLook(icons[image], exe_folder);
  if (look == "#" + std::to_string(IDI_ONLINE)) return "online";
  if (look == "#" + std::to_string(IDI_OFFLINE)) return "offline";
  return look;
}

// The contact list's rows: the first three columns and the row's image.
void DescribeContactList(world::World& w, std::vector<std::string>& out) {
  auto list = w.TellbudContactList();
  auto view = list ? sim::InspectListView(*list) : std::nullopt;
  if (!view) return;
  if (view->rows.empty()) out.push_back("  no rows");
  for (size_t i = 0; i < view->rows.size(); ++i) {
    const sim::ListViewRowInfo& row = view->rows[i];
    std::string line = "  row " + std::to_string(i + 1) + ":";
    for (size_t col = 0; col < 3; ++col)
      line += " " + world::Quote(col < row.texts.size() ? world::Utf8(row.texts[col]) : "");
    line += " " + ImageName(*view, row.image, w.exe_folder());
    if (row.selected) line += " selected";
    if (i == static_cast<size_t>(view->selection_mark)) line += " marked";
    out.push_back(line);
  }
}

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
  DescribeContactList(w, out);
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

void DescribeHandset(world::World& w, std::vector<std::string>& out) {
  out.push_back("handset: " + w.handset().Describe());
}

void DescribeCallState(world::World& w, std::vector<std::string>& out) {
  auto running = w.RunningTellbuds();
  std::optional<std::string> state;
  if (!running.empty()) state = world::TellbudCallState(running.front());
  out.push_back("call state: " + state.value_or("unknown"));
}

// One child control of a dialog: id, class, text, state, and what it holds.
std::string DescribeControl(HWND control) {
  auto window = sim::InspectWindow(control);
  if (!window) return "";
  std::string line =
      "  control " + std::to_string(window->control_id) + " " + world::Utf8(window->class_name);
  std::u16string text = window->title;
  std::string holds;
  if (auto combo = sim::InspectComboBox(control)) {
    text = combo->text;
    holds = " selection " + std::to_string(combo->selection);
  } else if (auto edit = sim::InspectEdit(control)) {
    text = edit->text;
  } else if (auto slider = sim::InspectTrackbar(control)) {
    holds = " position " + std::to_string(slider->position);
  }
  line += " " + world::Quote(world::Utf8(text));
  if (!window->enabled) line += " disabled";
  if (!window->visible) line += " hidden";
  return line + holds;
}

// The open dialogs other than Tellbud's main window, topmost first, with their controls.
void DescribeDialogs(world::World& w, std::vector<std::string>& out) {
  auto main = w.TellbudMainWindow();
  for (const sim::DialogInfo& dialog : sim::OpenDialogs()) {
    if (main && dialog.hwnd == *main) continue;
    out.push_back("dialog " + world::Quote(world::Utf8(dialog.title)) + (dialog.enabled ? "" : " disabled"));
    for (HWND child : sim::ChildWindows(dialog.hwnd)) {
      std::string line = DescribeControl(child);
      if (!line.empty()) out.push_back(line);
    }
  }
}

void DescribeMixers(std::vector<std::string>& out) {
  for (const sim::MixerState& mixer : sim::Mixers()) {
    std::string line = "mixer " + world::Quote(world::Utf8(mixer.name)) + ": " +
                       std::to_string(mixer.channels) + " channels" + (mixer.uniform ? " uniform" : "") +
                       (mixer.failing ? " failing" : "");
    for (sim::MixerLine l : {sim::MixerLine::kSpeakers, sim::MixerLine::kWaveIn, sim::MixerLine::kWaveOut}) {
      line += std::string(", ") + sim::MixerLineName(l);
      for (DWORD v : mixer.volumes[static_cast<int>(l)]) line += " " + std::to_string(v);
    }
    out.push_back(line);
  }
}

}  // namespace

std::vector<std::string> DescribeWorld(world::World& w) {
  std::vector<std::string> out;
  DescribeMainWindow(w, out);
  DescribeDialogs(w, out);
  DescribeTray(w, out);
  DescribeHandset(w, out);
  DescribeMixers(out);
  DescribeCallState(w, out);
  return out;
}

}  // namespace console
