// Messenger's stored settings in a file of their own (TELLBUD_MESSENGER_STORE), so that they
// outlive a run of msnmsgr.exe as they outlive a simulated Messenger: the language, the contact
// list and the user's status. The file holds command-like UTF-8 lines:
//   language English
//   contact "bob@example.com" "Bob" 2
//   status 2
#pragma once

#include <string>

#include "world/messenger/stand_in.h"

namespace world::messenger::process {

// Applies the stored settings to the running stand-in; a missing file applies nothing, and
// lines that cannot be read are passed over.
void LoadStore(const std::wstring& path, MessengerStandIn& messenger);
// Replaces the file with the stand-in's settings now (through a temporary file beside it).
bool SaveStore(const std::wstring& path, const MessengerStandIn& messenger);

}  // namespace world::messenger::process
