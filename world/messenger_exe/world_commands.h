// The world's commands to the Messenger stand-in in tellbud-sim's own syntax (the Messenger
// family: messenger, contact, call, answer, reject, hangup, chat, join, leave, close, window),
// run on a running stand-in.
#pragma once

#include <string>

#include "world/messenger/stand_in.h"

namespace world::messenger::process {

// True when the line is a known command with valid arguments and the stand-in performed it.
bool RunWorldCommand(MessengerStandIn& messenger, const std::string& line);

}  // namespace world::messenger::process
