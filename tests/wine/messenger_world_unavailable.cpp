// Placeholder: no Messenger stand-in in this build (see messenger_world_unavailable.h).
#include "tests/wine/messenger_world_unavailable.h"

namespace wine_test {

CMessengerWorld::CMessengerWorld() = default;
bool CMessengerWorld::Start(DWORD) { return false; }
bool CMessengerWorld::Quit(DWORD) { return false; }
bool CMessengerWorld::Kill() { return false; }
bool CMessengerWorld::IsRunning() const { return false; }
bool CMessengerWorld::Command(const std::string&, DWORD) { return false; }
bool CMessengerWorld::WaitLine(const std::string&, DWORD) { return false; }
std::vector<std::string> CMessengerWorld::Lines() const { return {}; }
std::string CMessengerWorld::Transcript() const {
  return "  (the Messenger stand-in is not part of this build: messenger_world_unavailable.cpp)\n";
}

}  // namespace wine_test
