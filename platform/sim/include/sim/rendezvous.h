// Lets separate tellbud-sim processes of the same user see each other's desktop, as two
// programs on one Windows desktop do: a named mutex held in one is found existing by the
// other, and a top-level window of one is found by title from the other and can be shown,
// brought to the foreground or sent a posted message.
//
// Each process that enables it listens on a Unix-domain socket in a private runtime folder
// (mode 0700) and holds named mutexes as flock()ed lock files there, so a crashed process
// releases them with its file descriptors. Only peers of the same user are served.
#pragma once

#include <optional>
#include <string>

namespace sim {

// The folder used when the caller gives none: $TELLBUD_SIM_RUNTIME_DIR, else
// $XDG_RUNTIME_DIR/tellbud-sim, else /tmp/tellbud-sim-<uid>. It is the user's default desktop.
std::string DefaultRendezvousFolder();

// Desktops by name: processes that enable the rendezvous of the same desktop meet, others do
// not. "default" is the user's default desktop (DefaultRendezvousFolder()); any other name is a
// folder "desktop-NAME" inside it. Names are 1 to 32 letters, digits, '-', '_' or '.', not
// starting with '.'.
bool ValidDesktopName(const std::string& name);
std::string DesktopRendezvousFolder(const std::string& name);

// Starts serving this process's desktop under `folder` (created if needed, with its parent
// when that is missing; both must belong to the user and not be reachable by others). Returns
// false, with a reason, when it cannot.
bool EnableRendezvous(const std::string& folder, std::string* why_not = nullptr);
bool RendezvousEnabled();
// Stops serving and leaves the folder (for tests that enable it only for a while).
void DisableRendezvous();

// The descriptor to watch for requests of other processes, or -1.
int RendezvousListenFd();
// Serves every request that is waiting, on the calling (world) thread. Returns how many.
int ServeRendezvousRequests();

}  // namespace sim
