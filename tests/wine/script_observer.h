// What the Windows script driver observes while a script runs, as transcript lines in
// tellbud-sim's forms: a thread polls the desktop every 50 ms for the top-level windows of
// Tellbud and Messenger (shown, hidden, foreground, minimized, restored, destroyed), message
// boxes, Tellbud's pop-up menu, its tray icon (added, removed, which state icon it shows) and
// the end of its process, and passes on the handset control's and Messenger's report lines and,
// while `debug on`, Tellbud's debugger output.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "tests/wine/desktop.h"
#include "tests/wine/handset_world.h"
#include "tests/wine/messenger_world.h"
#include "tests/wine/script_transcript.h"
#include "tests/wine/tellbud_run.h"

namespace wine_test {

// The pictures Tellbud's tray icon may show, loaded from its folder: the state icons beside
// Tellbud.exe ("nodevice.ico", "nophone.ico", "ok.ico") and the program's own icon ("#128"),
// named as tellbud-sim names them.
class CTrayLooks {
 public:
  explicit CTrayLooks(const std::wstring& folder);
  ~CTrayLooks();
  CTrayLooks(const CTrayLooks&) = delete;
  CTrayLooks& operator=(const CTrayLooks&) = delete;

  // The one the tray's first icon resembles most now; "" without a task bar.
  std::wstring Current() const;

 private:
  std::vector<IconCandidate> m_candidates;
};

class CScriptObserver {
 public:
  CScriptObserver(CScriptTranscript& transcript, CTellbudRun& run, CHandsetWorld& handset,
                  CMessengerWorld& messenger);
  ~CScriptObserver();
  CScriptObserver(const CScriptObserver&) = delete;
  CScriptObserver& operator=(const CScriptObserver&) = delete;

  void SetDebugOutput(bool on) { InterlockedExchange(&m_bDebug, on ? 1 : 0); }
  // A line of the driver's own (a second start's process), in order with the observed ones.
  void Report(const std::string& line);

 private:
  struct WindowState {
    std::string title;
    bool visible = false;
    bool minimized = false;
    bool everShown = false;
    bool seen = false;  // found in this poll
  };
  static DWORD WINAPI Thread(LPVOID self);
  void Poll(int round);
  void PassOn(const std::vector<std::string>& lines, size_t* done, const char* prefix);
  void ScanWindows();
  void ScanTray();
  void ScanTrayIcon();
  bool Interesting(DWORD pid);

  CScriptTranscript& m_transcript;
  CTellbudRun& m_run;
  CHandsetWorld& m_handset;
  CMessengerWorld& m_messenger;
  HANDLE m_hStop;
  HANDLE m_hThread = nullptr;
  volatile LONG m_bDebug = 0;
  size_t m_handsetDone = 0, m_messengerDone = 0, m_debugDone = 0;
  std::map<HWND, WindowState> m_windows;
  std::map<DWORD, bool> m_interesting;  // process id: Tellbud.exe or msnmsgr.exe
  HWND m_hForeground = nullptr;         // the foreground window last reported, or one not to report
  bool m_bMenuOpen = false;
  bool m_bTrayShown = false;
  std::unique_ptr<CTrayLooks> m_pTrayLooks;
  std::wstring m_strTrayIcon;
  std::wstring m_strTrayCandidate;  // the previous read's picture
  bool m_bExitReported = false;
};

}  // namespace wine_test
