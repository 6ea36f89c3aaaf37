// Tellbud.exe started by the test driver in a folder of its own, under the debugging API so that
// its debugger output is collected. Only the Windows API is used to act on it and observe it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wine_test {

// The folder that holds the built Tellbud.exe and its data files (TELLBUD_BIN_DIR).
std::wstring BuildFolder();
// Where results such as the screenshot are kept (TELLBUD_RESULTS_DIR), or the current folder.
std::wstring ResultsFolder();
// A fresh, empty folder under the temporary folder, named `name`.
std::wstring FreshFolder(const std::wstring& name);
// The names of the files in `folder` and its subfolders, relative to it, sorted.
std::vector<std::wstring> ListFiles(const std::wstring& folder);
// Polls `condition` every 50 ms until it holds or `timeoutMs` has passed.
template <typename F>
bool WaitFor(F condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
}

class CTellbudRun {
 public:
  // Copies Tellbud.exe and its data files into a fresh folder named `name`.
  explicit CTellbudRun(const std::wstring& name);
  // Ends the process if it still runs: with the exit marker, else by force.
  ~CTellbudRun();
  CTellbudRun(const CTellbudRun&) = delete;
  CTellbudRun& operator=(const CTellbudRun&) = delete;

  const std::wstring& Folder() const { return m_strFolder; }
  std::wstring ExePath() const { return m_strFolder + L"\\Tellbud.exe"; }

  // Starts the instance under the debugger, with `args` after the executable's path.
  bool Start(const std::wstring& args = L"");
  // Starts another process of the same executable (not debugged) and waits for it to end.
  // Returns its exit code, or STILL_ACTIVE when it did not end in time (it is then ended).
  DWORD RunAnother(const std::wstring& args, DWORD timeoutMs);

  DWORD ProcessId() const { return m_dwProcessId; }
  // The visible top-level window "Tellbud<1.0>" of this process, waited for.
  HWND WaitMainWindow(DWORD timeoutMs);
  bool WaitExit(DWORD timeoutMs);
  bool HasExited() const;
  // The process's exit code once it has ended.
  DWORD ExitCode() const { return m_dwExitCode; }
  // Every debugger output line so far, without the line end.
  std::vector<std::string> DebugOutput() const;
  std::string DebugOutputText() const;
  // Whether a debugger line containing `text` arrives within `timeoutMs`.
  bool WaitDebugOutput(const std::string& text, DWORD timeoutMs);
  // The debugger output of the instance alive now (the watchdog prints it), or "".
  static std::string CurrentOutputText();

 private:
  static DWORD WINAPI DebugThread(LPVOID self);
  void RunDebugLoop();
  void OnOutput(const DEBUG_EVENT& event);

  std::wstring m_strFolder;
  std::wstring m_strArgs;
  HANDLE m_hThread = nullptr;
  HANDLE m_hStarted = nullptr;
  HANDLE m_hProcess = nullptr;
  DWORD m_dwProcessId = 0;
  volatile LONG m_bExited = 0;
  volatile DWORD m_dwExitCode = STILL_ACTIVE;
  volatile LONG m_bStop = 0;
  bool m_bStartOk = false;
  mutable CRITICAL_SECTION m_lock;
  std::vector<std::string> m_lstOutput;
};

}  // namespace wine_test
