// The driver's end of the handset control's world channel (world/handset_dll/world_channel.h):
// it creates the two pipes, names them to the programs it starts through TELLBUD_HANDSET_PIPE,
// plays the device and collects the transcript lines the control reports.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/line_log.h"

namespace wine_test {

class CHandsetWorld {
 public:
  CHandsetWorld();
  ~CHandsetWorld();
  CHandsetWorld(const CHandsetWorld&) = delete;
  CHandsetWorld& operator=(const CHandsetWorld&) = delete;

  // Whether a control has connected within `timeoutMs`.
  bool WaitConnected(DWORD timeoutMs);
  // Sends one world command ("plug", "key 12", ...) and waits for its outcome line; true when
  // the device performed it.
  bool Play(const std::string& command, DWORD timeoutMs = 10000);
  // Whether a reported line containing `text` arrives within `timeoutMs`.
  bool WaitLine(const std::string& text, DWORD timeoutMs);
  std::vector<std::string> Lines() const;
  std::string Transcript() const;

 private:
  static DWORD WINAPI ReadReports(LPVOID self);

  std::wstring m_strBase;
  HANDLE m_hCommands = INVALID_HANDLE_VALUE;
  HANDLE m_hReports = INVALID_HANDLE_VALUE;
  HANDLE m_hThread = nullptr;
  volatile LONG m_bConnected = 0;
  CLineLog m_log;
};

}  // namespace wine_test
