#include "world/core/world.h"

#include <stdexcept>

#include "world/core/desktop_seed.h"
#include "world/core/exe_folder.h"
#include "world/core/menu_text.h"
#include "world/handset/stand_in.h"
#include "world/messenger/stand_in.h"
#include "world/core/program_entry.h"
#include "world/core/text.h"

namespace world {

namespace {

constexpr char16_t kImageName[] = u"Tellbud.exe";
constexpr char16_t kDialogClass[] = u"#32770";
constexpr sim::VTime kStartIdleTimeoutMs = 10'000;

std::filesystem::path PreparedFolder(const std::filesystem::path& folder) {
  std::filesystem::path absolute = std::filesystem::absolute(folder).lexically_normal();
  std::string why;
  if (!PrepareExeFolder(absolute, &why)) throw std::runtime_error(why);
  return absolute;
}

}  // namespace

World::World(const std::filesystem::path& exe_folder)
    : folder_(PreparedFolder(exe_folder)),
      transcript_([this] { return desktop_.Now(); }),
      reporter_(transcript_) {
  SeedDesktop(folder_);
  reporter_.SetIconDescriber([this](HICON icon) { return DescribeIconLook(icon, folder_); });
  reporter_.SetMenuDescriber(
      [](HMENU menu) { return DescribeMenuItems(sim::InspectMenu(menu)); },
      [](HMENU menu, UINT id) { return DescribeMenuCommand(sim::InspectMenu(menu), id); });
  sound_ = std::make_unique<SoundDevices>();
  messenger_ = std::make_unique<messenger::MessengerStandIn>(&transcript_);
  handset_ = std::make_unique<handset::HandsetStandIn>(&transcript_);
  sound_->HandsetPlugged(handset_->State().plugged);
  handset_->SetPlugListener([this](bool plugged) { sound_->HandsetPlugged(plugged); });
  desktop_.AddObserver(&reporter_);
}

World::~World() {
  // What happens while the desktop is taken down is no longer part of the transcript.
  desktop_.RemoveObserver(&reporter_);
  transcript_.SetSink(nullptr);
}

std::u16string World::ModulePath() const { return WindowsPath(folder_ / "Tellbud.exe"); }

bool World::ProgramLinked() { return TellbudEntryPoint() != nullptr; }

DWORD World::StartTellbud(const std::string& arguments) {
  ProgramMain entry = TellbudEntryPoint();
  if (!entry) return 0;
  std::u16string module = ModulePath();
  std::u16string args = Utf16(arguments);
  std::u16string command_line = u"\"" + module + u"\"" + (args.empty() ? u"" : u" " + args);
  sim::ProcessInfo info{0, kImageName, module, command_line, 0};
  // wWinMain gets the command line after the program's name, in a buffer it may write to.
  DWORD pid = desktop_.StartProcess(info, [entry, args]() mutable {
    return entry(GetModuleHandleW(nullptr), nullptr, args.data(), SW_SHOWNORMAL);
  });
  // As the shell does, wait until it is ready for input or has ended; time passes meanwhile
  // when it waits for a program that is busy (a second instance showing the first one's window).
  desktop_.WaitForInputIdle(pid, kStartIdleTimeoutMs);
  return pid;
}

std::vector<DWORD> World::RunningTellbuds() const {
  std::vector<DWORD> pids;
  for (const sim::ProcessInfo& p : desktop_.Processes())
    if (p.image_name == kImageName) pids.push_back(p.pid);
  return pids;
}

std::optional<HWND> World::TellbudMainWindow() const {
  auto running = RunningTellbuds();
  if (running.empty()) return std::nullopt;
  std::optional<HWND> found;
  for (HWND hwnd : sim::TopLevelWindows()) {
    auto info = sim::InspectWindow(hwnd);
    if (!info || info->process_id != running.front() || info->owner || info->class_name != kDialogClass)
      continue;
    // Handles grow as windows are created: the lowest is the program's first dialog.
    if (!found || reinterpret_cast<uintptr_t>(hwnd) < reinterpret_cast<uintptr_t>(*found)) found = hwnd;
  }
  return found;
}

std::optional<HWND> World::TellbudContactList() const {
  auto main = TellbudMainWindow();
  if (!main) return std::nullopt;
  for (HWND child : sim::ChildWindows(*main)) {
    auto info = sim::InspectWindow(child);
    if (info && info->class_name == u"SysListView32") return child;
  }
  return std::nullopt;
}

std::optional<sim::TrayIconInfo> TellbudTrayIcon(World& world) {
  auto icons = sim::TrayIcons();
  if (icons.empty()) return std::nullopt;
  auto running = world.RunningTellbuds();
  for (const sim::TrayIconInfo& icon : icons) {
    DWORD pid = 0;
    if (auto info = sim::InspectWindow(icon.owner)) pid = info->process_id;
    if (!running.empty() && pid == running.front()) return icon;
  }
  return icons.front();
}

}  // namespace world
