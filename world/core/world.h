// The simulated world Tellbud runs in: the desktop with its virtual clock, the folder that
// plays the executable's directory, the stand-ins for Messenger and the USB handset, Tellbud's
// processes, and the transcript of everything a person could observe.
#pragma once

#include <windows.h>

#include <sim/desktop.h>
#include <sim/tray.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "world/core/desktop_reporter.h"
#include "world/core/sound_devices.h"
#include "world/core/transcript.h"

namespace world {

namespace messenger {
class MessengerStandIn;
}
namespace handset {
class HandsetStandIn;
}

class World {
 public:
  // `exe_folder` plays Tellbud.exe's directory; it is created and filled with the shipped data
  // files that are missing (throws std::runtime_error when it cannot be).
  explicit World(const std::filesystem::path& exe_folder);
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  sim::Desktop& desktop() { return desktop_; }
  Transcript& transcript() { return transcript_; }
  DesktopReporter& desktop_reporter() { return reporter_; }
  const std::filesystem::path& exe_folder() const { return folder_; }
  messenger::MessengerStandIn& messenger() { return *messenger_; }
  handset::HandsetStandIn& handset() { return *handset_; }
  // The mixers: a built-in sound card, and the handset's own while it is plugged in.
  SoundDevices& sound() { return *sound_; }
  // Tellbud.exe's path as the program sees it ("Z:\...\Tellbud.exe").
  std::u16string ModulePath() const;

  // ---- Tellbud --------------------------------------------------------------------------------
  static bool ProgramLinked();
  // Starts Tellbud with `arguments` after the module path on its command line, and lets it run
  // until it waits for input or has ended (the clock moves on meanwhile only while it waits for
  // a busy program). Returns the process id, or 0 when the program is not part of this build.
  DWORD StartTellbud(const std::string& arguments);
  // The Tellbud processes still running, oldest first.
  std::vector<DWORD> RunningTellbuds() const;
  // The main window of the oldest running Tellbud: its unowned dialog window.
  std::optional<HWND> TellbudMainWindow() const;
  // The contact list (the list view) in that main window.
  std::optional<HWND> TellbudContactList() const;

  // ---- Time -----------------------------------------------------------------------------------
  // Lets every thread run until all of them wait; the clock stands still.
  void Settle() { desktop_.RunUntilIdle(); }
  // Moves the virtual clock forward, delivering every timer and message due on the way.
  void Wait(sim::VTime ms) { desktop_.AdvanceBy(ms); }
  sim::VTime Now() const { return desktop_.Now(); }

 private:
  std::filesystem::path folder_;
  // The transcript outlives the desktop: threads that end while the desktop is taken down may
  // still report.
  Transcript transcript_;
  DesktopReporter reporter_;
  sim::Desktop desktop_;
  // The stand-ins live on the desktop and go before it.
  std::unique_ptr<messenger::MessengerStandIn> messenger_;
  std::unique_ptr<handset::HandsetStandIn> handset_;
  std::unique_ptr<SoundDevices> sound_;
};

// The icon Tellbud shows in the notification area: the oldest running Tellbud's, or else the
// first icon there (one a Tellbud that ended left behind).
std::optional<sim::TrayIconInfo> TellbudTrayIcon(World& world);

}  // namespace world
