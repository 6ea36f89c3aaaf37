// The world's channel into the handset control served from a DLL: two named pipes whose base
// name the test driver gives in the environment variable TELLBUD_HANDSET_PIPE. Through
// "<base>.world" the driver plays the device (one command a line: plug [MODEL], unplug, lift,
// down, key CODE, line, level, setlevel LEVEL); through "<base>.report" the DLL tells every call
// the program makes ("handset METHOD(ARGS) -> RESULT") and the outcome of each command
// ("world COMMAND -> ok" or "-> refused").
//
// Every device action runs on the thread that first asked for the control's class, the
// program's user-interface thread: a reader thread hands each command to a message-only
// window there, so the device needs no locks.
#pragma once

#include <memory>

#include "world/handset/device.h"

namespace world::handset {

// The one device of this process, created on first use on the calling thread together with its
// channel (when TELLBUD_HANDSET_PIPE names one; otherwise the device stays unplugged and reports
// nothing).
std::shared_ptr<Device> ProcessDevice();

}  // namespace world::handset
