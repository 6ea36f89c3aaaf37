// Internal side of the rendezvous between tellbud-sim processes: what the window manager and
// the named-object table call.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace sim::ipc {

// A top-level window of another process.
struct RemoteWindow {
  std::string peer;   // the peer's socket path
  uint32_t hwnd = 0;  // the window's handle in that process
  std::u16string title;
  std::u16string class_name;
};

bool Enabled();

// Looks for a top-level window in the other processes, in order of their process ids.
std::optional<RemoteWindow> FindWindow(const char16_t* class_name, const char16_t* title);

// Acts on a remote window. Each returns the remote call's result, or nothing when the peer
// did not answer (it has ended).
std::optional<BOOL> ShowWindow(const RemoteWindow& w, int cmd);
std::optional<BOOL> SetForegroundWindow(const RemoteWindow& w);
std::optional<BOOL> PostMessage(const RemoteWindow& w, UINT msg, WPARAM wp, LPARAM lp);

// Named mutexes across processes: a lock on the name, held until Release. `held_elsewhere`
// tells that another process holds it (then no lock is taken and -1 is returned).
int LockName(const std::u16string& name, bool* held_elsewhere);
void ReleaseName(int lock);

}  // namespace sim::ipc
