// The driver's end of the Messenger stand-in (a real msnmsgr.exe process) as the script driver
// uses it. This header and messenger_world_unavailable.cpp are a placeholder until
// tests/wine/messenger_world.{h,cpp} are merged: every method fails, so scripts that need
// Messenger stop with a clear message. When the real one lands, delete both files and include
// "tests/wine/messenger_world.h" in script_observer.h instead.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wine_test {

class CMessengerWorld {
 public:
  CMessengerWorld();
  bool Start(DWORD timeoutMs = 15000);
  bool Quit(DWORD timeoutMs = 15000);
  bool Kill();
  bool IsRunning() const;
  bool Command(const std::string& line, DWORD timeoutMs = 10000);
  bool WaitLine(const std::string& text, DWORD timeoutMs);
  std::vector<std::string> Lines() const;
  std::string Transcript() const;
};

}  // namespace wine_test
