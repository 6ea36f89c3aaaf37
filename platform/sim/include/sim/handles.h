// Kernel handles as the world sees them: how many a process holds open.
#pragma once

#include <windows.h>

#include <cstddef>

namespace sim {

// The kernel handles process `pid` holds open (what GetProcessHandleCount counts); 0 once it ended.
size_t OpenHandleCount(DWORD pid);

}  // namespace sim
