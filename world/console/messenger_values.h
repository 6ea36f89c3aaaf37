// Values the Messenger family of commands takes by name: the user's and contacts' status values
// by the names Messenger's menus use, and HRESULTs by their Windows names (or numbers). Shared by
// tellbud-sim and the world channel of msnmsgr.exe, which take the same command lines.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace console {

// "online", "busy", ... or a number up to 0x7FFFFFFF.
std::optional<LONG> ParseMessengerStatus(const std::string& text);
// "E_FAIL", "RPC_S_SERVER_UNAVAILABLE", ... or a number ("0x80004005").
std::optional<HRESULT> ParseHresult(const std::string& text);

}  // namespace console
