// The Windows script driver: runs a tellbud-sim script (tests/scenarios/*.tbs) against the real
// Tellbud.exe under Wine, in real time. The user's actions become real input on the desktop, the
// handset's and Messenger's become commands to their stand-ins, and `expect` waits for the line
// in the transcript the observers write (script_observer.h). Lines marked [sim] are skipped; a
// command this driver cannot carry out stops the script with a message naming the file and line.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/wine/handset_world.h"
#include "tests/wine/script_observer.h"
#include "tests/wine/script_transcript.h"
#include "tests/wine/tellbud_run.h"

namespace wine_test {

// How long an expect waits for its line, and the longest `wait` a script may ask for (a test
// has four minutes in all).
constexpr DWORD kExpectTimeoutMs = 15000;
constexpr DWORD kLongestWaitMs = 120000;

class CScriptDriver {
 public:
  // Tellbud's folder is a fresh copy named `name`; nothing runs yet.
  explicit CScriptDriver(const std::wstring& name);
  // Ends Tellbud and Messenger if they still run, and waits until the tray icon has gone.
  ~CScriptDriver();
  CScriptDriver(const CScriptDriver&) = delete;
  CScriptDriver& operator=(const CScriptDriver&) = delete;

  // Runs the lines in order until the end, `quit` or the first failure. Returns "" when all
  // ran, else "NAME:LINE: what went wrong" followed by what the driver saw.
  std::string Run(const std::vector<std::string>& lines, const std::string& name);
  // Every transcript line so far, as printed.
  std::vector<std::string> Transcript() const { return m_transcript.All(); }

  // A command's words after its name, and the text after its name as written (for `expect`).
  struct Call {
    std::vector<std::string> args;
    std::string rest;
    std::string line;
  };
  struct Result {
    enum Kind { kOk, kFailed, kQuit } kind = kOk;
    std::string message;
    static Result Ok() { return {}; }
    static Result Failed(std::string why) { return {kFailed, std::move(why)}; }
  };

 private:
  Result Execute(const std::string& line);
  std::string Seen() const;
  void Print(const std::string& line);

  // script_world_commands.cpp: the program's life, the clock, expectations, files, the
  // handset and Messenger.
  Result Start(const Call& call);
  Result Wait(const Call& call);
  Result Expect(const Call& call);
  Result Debug(const Call& call);
  Result Ini(const Call& call);
  Result Cat(const Call& call);
  Result Handset(const Call& call);
  Result Messenger(const Call& call);
  Result PlayHandset(const std::string& command);
  // script_desktop_commands.cpp: what the user does at the PC.
  Result Tray(const Call& call);
  Result Menu(const Call& call);
  Result List(const Call& call);
  Result Button(const Call& call);
  Result Type(const Call& call);
  Result Key(const Call& call);
  Result Window(const Call& call);
  HWND MainWindow() const;
  std::string DescribeListSelection();
  // script_show.cpp
  Result Show(const Call& call);

  // Which pop-up menu the last right-click opened: its items decide the keys that choose one.
  enum class OpenedMenu { kNone, kTray, kContact };

  CScriptTranscript m_transcript;
  std::unique_ptr<CHandsetWorld> m_handset;
  std::unique_ptr<CMessengerWorld> m_messenger;
  std::unique_ptr<CTellbudRun> m_run;
  std::unique_ptr<CScriptObserver> m_observer;
  std::vector<std::string> m_pendingHandset;  // played once Tellbud's handset control connects
  size_t m_pendingSince = 0;                  // the script line of the first of them
  bool m_bStarted = false;
  size_t m_line = 0;  // the script line running now, from 1
  OpenedMenu m_openedMenu = OpenedMenu::kNone;
};

}  // namespace wine_test
