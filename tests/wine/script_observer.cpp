#include "script_observer.h"

#include <vector>

#include "tests/wine/desktop.h"
#include "tests/wine/script_text.h"

namespace wine_test {

namespace {

constexpr DWORD kPollMs = 50;
constexpr int kTrayEvery = 4;  // whether the tray shows an icon is read every fourth poll

const wchar_t* const kStateIcons[] = {L"nodevice.ico", L"nophone.ico", L"ok.ico"};
constexpr int kProgramIcon = 128;  // IDR_MAINFRAME

std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

BOOL CALLBACK CollectTopLevel(HWND hWnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hWnd);
  return TRUE;
}

struct MessageBoxParts {
  HWND text = nullptr;
  int unnamed = 0;     // controls with the id 0xFFFF
  bool other = false;  // a control other than a static or a button
};

BOOL CALLBACK CountPart(HWND hWnd, LPARAM param) {
  auto* parts = reinterpret_cast<MessageBoxParts*>(param);
  wchar_t cls[16] = {};
  GetClassNameW(hWnd, cls, 16);
  if (lstrcmpiW(cls, L"Static") && lstrcmpiW(cls, L"Button")) parts->other = true;
  if (GetDlgCtrlID(hWnd) == 0xFFFF && ++parts->unnamed == 1) parts->text = hWnd;
  return TRUE;
}

// The text of a message box: a dialog of statics and buttons whose one control with the id
// 0xFFFF is the text (its icon has an id of its own). A dialog of the program has labels of
// that id beside an icon, or edits and lists.
std::wstring MessageBoxText(HWND hWnd) {
  wchar_t cls[16] = {};
  GetClassNameW(hWnd, cls, 16);
  if (std::wstring(cls) != L"#32770") return {};
  MessageBoxParts parts;
  EnumChildWindows(hWnd, CountPart, reinterpret_cast<LPARAM>(&parts));
  if (parts.other || parts.unnamed != 1) return {};
  std::wstring text = WindowText(parts.text);
  return !text.empty() && text[0] != 0xFFFF ? text : std::wstring();
}

// A line break of the text shows as \n, so that the box stays one transcript line.
std::string OneLine(const std::string& quoted) {
  std::string out;
  for (char c : quoted) {
    if (c == '\n')
      out += "\\n";
    else if (c != '\r')
      out += c;
  }
  return out;
}

}  // namespace

CTrayLooks::CTrayLooks(const std::wstring& folder) {
  for (const wchar_t* name : kStateIcons)
    if (HICON icon = LoadSmallIconFile(folder + L"\\" + name))
      m_candidates.push_back(IconCandidate{name, icon});
  // The program's own icon (resource 128), which the tray shows until the first state is known.
  HMODULE exe = LoadLibraryExW((folder + L"\\Tellbud.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!exe) return;
  if (auto own =
          static_cast<HICON>(LoadImageW(exe, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)))
    m_candidates.push_back(IconCandidate{L"#" + std::to_wstring(kProgramIcon), own});
  FreeLibrary(exe);
}

CTrayLooks::~CTrayLooks() {
  for (const IconCandidate& candidate : m_candidates) DestroyIcon(candidate.icon);
}

std::wstring CTrayLooks::Current() const { return TrayIconResembles(m_candidates); }

CScriptObserver::CScriptObserver(CScriptTranscript& transcript, CTellbudRun& run, CHandsetWorld& handset,
                                 CMessengerWorld& messenger)
    : m_transcript(transcript),
      m_run(run),
      m_handset(handset),
      m_messenger(messenger),
      m_hStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  m_hThread = CreateThread(nullptr, 0, Thread, this, 0, nullptr);
}

CScriptObserver::~CScriptObserver() {
  SetEvent(m_hStop);
  if (m_hThread) {
    WaitForSingleObject(m_hThread, 10000);
    CloseHandle(m_hThread);
  }
  CloseHandle(m_hStop);
}

void CScriptObserver::Report(const std::string& line) { m_transcript.Add(line, GetTickCount()); }

DWORD WINAPI CScriptObserver::Thread(LPVOID param) {
  auto* self = static_cast<CScriptObserver*>(param);
  for (int round = 0; WaitForSingleObject(self->m_hStop, kPollMs) == WAIT_TIMEOUT; ++round) self->Poll(round);
  self->Poll(0);  // what happened up to the end
  return 0;
}

void CScriptObserver::Poll(int round) {
  PassOn(m_handset.Lines(), &m_handsetDone, "");
  PassOn(m_messenger.Lines(), &m_messengerDone, "");
  if (m_bDebug) {
    PassOn(m_run.DebugOutput(), &m_debugDone, "debug");
  } else {
    m_debugDone = m_run.DebugOutput().size();
  }
  ScanWindows();
  if (round % kTrayEvery == 0) ScanTray();
  ScanTrayIcon();
  if (m_run.HasExited() && !m_bExitReported) {
    m_bExitReported = true;
    Report("process Tellbud.exe ended (exit code " + std::to_string(m_run.ExitCode()) + ")");
  }
}

void CScriptObserver::PassOn(const std::vector<std::string>& lines, size_t* done, const char* prefix) {
  for (; *done < lines.size(); ++*done) {
    const std::string& line = lines[*done];
    // The handset channel's answers to the driver's own commands are no observation.
    if (line.rfind("world ", 0) == 0) continue;
    Report(*prefix ? std::string(prefix) + " " + Quoted(Wide(line)) : line);
  }
}

bool CScriptObserver::Interesting(DWORD pid) {
  auto known = m_interesting.find(pid);
  if (known != m_interesting.end()) return known->second;
  bool interesting = false;
  if (pid != GetCurrentProcessId()) {
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
      wchar_t path[MAX_PATH] = {};
      DWORD size = MAX_PATH;
      if (QueryFullProcessImageNameW(process, 0, path, &size)) {
        std::wstring name = FileName(path);
        interesting =
            lstrcmpiW(name.c_str(), L"Tellbud.exe") == 0 || lstrcmpiW(name.c_str(), L"msnmsgr.exe") == 0;
      }
      CloseHandle(process);
    }
  }
  m_interesting[pid] = interesting;
  return interesting;
}

void CScriptObserver::ScanWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
  for (auto& [hWnd, state] : m_windows) state.seen = false;
  HWND menu = nullptr;
  for (HWND hWnd : windows) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (!Interesting(pid)) continue;
    wchar_t cls[16] = {};
    GetClassNameW(hWnd, cls, 16);
    bool visible = IsWindowVisible(hWnd) != FALSE;
    if (std::wstring(cls) == L"#32768") {
      if (visible && pid == m_run.ProcessId()) menu = hWnd;
      continue;
    }
    WindowState& state = m_windows[hWnd];
    state.seen = true;
    std::wstring title = WindowText(hWnd);
    if (!title.empty() || state.title.empty()) state.title = Quoted(title);
    bool minimized = IsIconic(hWnd) != FALSE;
    if (visible && !state.visible) {
      state.everShown = true;
      Report("window " + state.title + " shown");
      std::wstring text = MessageBoxText(hWnd);
      if (!text.empty()) Report("messagebox " + state.title + " " + OneLine(Quoted(text)));
    } else if (!visible && state.visible) {
      Report("window " + state.title + " hidden");
    }
    if (minimized != state.minimized && state.everShown)
      Report("window " + state.title + (minimized ? " minimized" : " restored"));
    state.visible = visible;
    state.minimized = minimized;
  }
  for (auto it = m_windows.begin(); it != m_windows.end();) {
    if (it->second.seen) {
      ++it;
      continue;
    }
    // A window destroyed while it showed has left the screen too (a dialog that ends is hidden
    // before it is destroyed; the poll may see only the end).
    if (it->second.visible) Report("window " + it->second.title + " hidden");
    if (it->second.everShown) Report("window " + it->second.title + " destroyed");
    it = m_windows.erase(it);
  }
  // A window that takes the foreground as it is created is reported once it shows.
  HWND foreground = GetForegroundWindow();
  if (foreground != m_hForeground) {
    auto it = m_windows.find(foreground);
    if (it == m_windows.end()) {
      m_hForeground = foreground;
    } else if (it->second.visible) {
      m_hForeground = foreground;
      Report("window " + it->second.title + " foreground");
    }
  }
  if ((menu != nullptr) != m_bMenuOpen) {
    m_bMenuOpen = menu != nullptr;
    if (m_bMenuOpen) Report("menu open");
  }
}

void CScriptObserver::ScanTray() {
  if (!m_run.ProcessId()) return;
  bool shown = TrayShowsIcon();
  if (shown != m_bTrayShown) {
    m_bTrayShown = shown;
    Report(shown ? "tray add" : "tray remove");
    if (!shown) m_strTrayIcon.clear();
  }
}

// A picture counts once two reads in a row (50 ms apart) agree: a read while the task bar
// redraws the icon (it changes or goes) resembles any of them. The states may take turns at
// the tray within a second, so every poll reads it.
void CScriptObserver::ScanTrayIcon() {
  if (!m_run.ProcessId() || !m_bTrayShown) return;
  if (!m_pTrayLooks) m_pTrayLooks = std::make_unique<CTrayLooks>(m_run.Folder());
  std::wstring look = m_pTrayLooks->Current();
  bool steady = look == m_strTrayCandidate;
  m_strTrayCandidate = look;
  if (steady && !look.empty() && look != m_strTrayIcon) {
    m_strTrayIcon = look;
    Report("tray icon " + Utf8(look));
  }
}

}  // namespace wine_test
