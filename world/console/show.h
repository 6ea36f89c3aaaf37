// What a person would see, for the `show` command: Tellbud's main window with its contact list,
// the tray icon and tip, the handset, and the program's call state.
#pragma once

#include <string>
#include <vector>

#include "world/core/world.h"

namespace console {

std::vector<std::string> DescribeWorld(world::World& world);

}  // namespace console
