// Reports what reaches Messenger's windows from the keyboard and the mouse, as the simulated
// desktop's transcript does: "keyboard 0xVK down|up" for each key message Messenger's thread
// takes, and "click \"TITLE\" N" for a left button pressed on the Nth child of the top-level
// window TITLE (a button of Messenger's end-of-call question, say).
#pragma once

#include "world/core/reporter.h"

namespace world::messenger::process {

// Null reports nothing. Set before Messenger's thread starts.
void SetInputReporter(Reporter* reporter);
// On Messenger's thread: watches the messages it takes, until RemoveInputReport.
void InstallInputReport();
void RemoveInputReport();

}  // namespace world::messenger::process
