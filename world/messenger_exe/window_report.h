// Reports what happens to Messenger's windows, as the simulated desktop's transcript does:
// "window \"TITLE\" shown|hidden|destroyed" for its top-level windows (destroyed only for one
// ever shown), "keyboard 0xVK down|up" for each key message Messenger's thread takes, and
// "click \"TITLE\" N" for a left button pressed on the Nth child of the top-level window TITLE
// (a button of Messenger's end-of-call question, say).
#pragma once

#include "world/core/reporter.h"

namespace world::messenger::process {

// Null reports nothing. Set before Messenger's thread starts.
void SetWindowReporter(Reporter* reporter);
// On Messenger's thread: watches its messages, until RemoveWindowReport.
void InstallWindowReport();
void RemoveWindowReport();

}  // namespace world::messenger::process
