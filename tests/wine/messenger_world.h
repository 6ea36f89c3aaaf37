// The driver's end of the Messenger stand-in under Wine: msnmsgr.exe (world/messenger_exe) as a
// process the test starts, quits or kills, and its world channel (two named pipes named to it in
// TELLBUD_MESSENGER_PIPE) through which tellbud-sim's Messenger commands go and its transcript
// lines come back. Messenger's stored settings are kept in a file of this world's own
// (TELLBUD_MESSENGER_STORE), so they outlive a run of msnmsgr.exe as in the simulator.
//
// While msnmsgr.exe does not run, the commands the simulator also takes then (messenger
// language, fail, heal, vanish) are kept and given to the next run first; every other command is
// refused, as the simulator refuses it ("Messenger is not running"). "messenger start" is Start.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/line_log.h"

namespace wine_test {

class CMessengerWorld {
 public:
  // Creates the pipes and names them (and the settings file) in the environment; no process yet.
  CMessengerWorld();
  // Quits a running msnmsgr.exe (kills it when it does not quit).
  ~CMessengerWorld();
  CMessengerWorld(const CMessengerWorld&) = delete;
  CMessengerWorld& operator=(const CMessengerWorld&) = delete;

  // Starts msnmsgr.exe and waits until it serves ("world messenger start -> ok").
  bool Start(DWORD timeoutMs = 15000);
  // Messenger quits as the user would; true once the process has ended.
  bool Quit(DWORD timeoutMs = 15000);
  // Ends the process at once, as a crash.
  bool Kill();
  bool IsRunning() const;
  // A tellbud-sim Messenger-family line ("contact add bob@example.com \"Bob\" online"); true on
  // its "-> ok".
  bool Command(const std::string& line, DWORD timeoutMs = 10000);
  // Whether a line containing `text` has come or comes within `timeoutMs`.
  bool WaitLine(const std::string& text, DWORD timeoutMs);
  std::vector<std::string> Lines() const;
  std::string Transcript() const;
  // Every line from index `from` on containing `text`: how many.
  size_t CountLines(const std::string& text, size_t from = 0) const;

 private:
  static DWORD WINAPI ReadReports(LPVOID self);
  // The outcome ("ok", "refused") of command `line` reported after line index `from`; "" on time-out.
  std::string WaitOutcome(const std::string& line, size_t from, DWORD timeoutMs) const;
  bool KeepForNextStart(const std::string& line);

  std::wstring m_strBase;
  std::wstring m_strStore;
  HANDLE m_hCommands = INVALID_HANDLE_VALUE;
  HANDLE m_hReports = INVALID_HANDLE_VALUE;
  HANDLE m_hThread = nullptr;
  HANDLE m_hProcess = nullptr;
  volatile LONG m_bStop = 0;
  CLineLog m_log;
  std::vector<std::string> m_lstPending;  // commands kept for the next start
};

}  // namespace wine_test
