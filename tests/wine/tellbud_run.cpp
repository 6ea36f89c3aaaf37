#include "tellbud_run.h"

#include <algorithm>

namespace wine_test {

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH);
  return n && n < MAX_PATH ? std::wstring(buffer) : std::wstring();
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

void Collect(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>* out) {
  WIN32_FIND_DATAW data;
  std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring path = relative.empty() ? name : relative + L"\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      Collect(root, path, out);
    else
      out->push_back(path);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

// The files Tellbud.exe reads beside itself, by pattern.
const wchar_t* const kShippedPatterns[] = {L"Tellbud.exe", L"*.ini", L"*.lnk", L"*.ico"};

void CopyMatching(const std::wstring& from, const std::wstring& to, const wchar_t* pattern) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((from + L"\\" + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    CopyFileW((from + L"\\" + data.cFileName).c_str(), (to + L"\\" + data.cFileName).c_str(), FALSE);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

std::string Narrow(const wchar_t* text, int length) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

// The one instance a test has running; the watchdog reads its output.
CTellbudRun* volatile g_pCurrentRun = nullptr;

}  // namespace

std::wstring BuildFolder() { return Environment(L"TELLBUD_BIN_DIR"); }

std::wstring ResultsFolder() {
  std::wstring folder = Environment(L"TELLBUD_RESULTS_DIR");
  return folder.empty() ? L"." : folder;
}

std::wstring FreshFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring base = std::wstring(temp) + L"tellbud-wine";
  CreateDirectoryW(base.c_str(), nullptr);
  std::wstring folder = base + L"\\" + name;
  RemoveTree(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::vector<std::wstring> ListFiles(const std::wstring& folder) {
  std::vector<std::wstring> files;
  Collect(folder, L"", &files);
  std::sort(files.begin(), files.end());
  return files;
}

CTellbudRun::CTellbudRun(const std::wstring& name) : m_strFolder(FreshFolder(name)) {
  InitializeCriticalSection(&m_lock);
  std::wstring from = BuildFolder();
  for (const wchar_t* pattern : kShippedPatterns) CopyMatching(from, m_strFolder, pattern);
  CreateDirectoryW((m_strFolder + L"\\Language").c_str(), nullptr);
  CopyMatching(from + L"\\Language", m_strFolder + L"\\Language", L"*.ini");
  g_pCurrentRun = this;
}

CTellbudRun::~CTellbudRun() {
  if (g_pCurrentRun == this) g_pCurrentRun = nullptr;
  if (m_hThread) {
    // Ended as a user ends it, so that its tray icon goes with it; killed only when that fails.
    if (!HasExited() && m_bStartOk) {
      RunAnother(L"*exit*", 15000);
      WaitExit(15000);
    }
    if (!HasExited() && m_hProcess) TerminateProcess(m_hProcess, 1);
    InterlockedExchange(&m_bStop, 1);
    WaitForSingleObject(m_hThread, 10000);
    CloseHandle(m_hThread);
  }
  if (m_hStarted) CloseHandle(m_hStarted);
  DeleteCriticalSection(&m_lock);
}

bool CTellbudRun::Start(const std::wstring& args) {
  m_strArgs = args;
  m_hStarted = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_hThread = CreateThread(nullptr, 0, DebugThread, this, 0, nullptr);
  if (!m_hThread) return false;
  WaitForSingleObject(m_hStarted, 30000);
  return m_bStartOk;
}

DWORD WINAPI CTellbudRun::DebugThread(LPVOID self) {
  static_cast<CTellbudRun*>(self)->RunDebugLoop();
  return 0;
}

// The debugging API ties a debuggee to the thread that created it: this thread starts the
// process and serves its debug events until it ends.
void CTellbudRun::RunDebugLoop() {
  std::wstring command = L"\"" + ExePath() + L"\"";
  if (!m_strArgs.empty()) command += L" " + m_strArgs;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  m_bStartOk = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS,
                              nullptr, m_strFolder.c_str(), &startup, &info) != FALSE;
  if (m_bStartOk) {
    m_hProcess = info.hProcess;
    m_dwProcessId = info.dwProcessId;
    CloseHandle(info.hThread);
  } else {
    InterlockedExchange(&m_bExited, 1);
  }
  SetEvent(m_hStarted);
  if (!m_bStartOk) return;

  bool firstBreakpoint = true;
  while (!m_bExited) {
    DEBUG_EVENT event{};
    if (!WaitForDebugEvent(&event, 100)) {
      if (m_bStop) break;
      continue;
    }
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case OUTPUT_DEBUG_STRING_EVENT:
        OnOutput(event);
        break;
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
        break;
      case EXCEPTION_DEBUG_EVENT:
        // The loader's breakpoint is the debugger's to take; everything else is the program's.
        if (firstBreakpoint && event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT) {
          firstBreakpoint = false;
        } else {
          status = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        m_dwExitCode = event.u.ExitProcess.dwExitCode;
        InterlockedExchange(&m_bExited, 1);
        break;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  }
  if (!m_bExited) DebugActiveProcessStop(m_dwProcessId);
  CloseHandle(m_hProcess);
  m_hProcess = nullptr;
}

void CTellbudRun::OnOutput(const DEBUG_EVENT& event) {
  const OUTPUT_DEBUG_STRING_INFO& info = event.u.DebugString;
  WORD length = info.nDebugStringLength;
  if (!length) return;
  std::string line;
  SIZE_T read = 0;
  if (info.fUnicode) {
    std::wstring text(length, L'\0');
    ReadProcessMemory(m_hProcess, info.lpDebugStringData, text.data(), length * sizeof(wchar_t), &read);
    text.resize(read / sizeof(wchar_t));
    line = Narrow(text.c_str(), static_cast<int>(wcsnlen(text.c_str(), text.size())));
  } else {
    std::string text(length, '\0');
    ReadProcessMemory(m_hProcess, info.lpDebugStringData, text.data(), length, &read);
    text.resize(read);
    line = text.c_str();
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  EnterCriticalSection(&m_lock);
  m_lstOutput.push_back(line);
  LeaveCriticalSection(&m_lock);
}

DWORD CTellbudRun::RunAnother(const std::wstring& args, DWORD timeoutMs) {
  std::wstring command = L"\"" + ExePath() + L"\" " + args;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, m_strFolder.c_str(),
                      &startup, &info))
    return STILL_ACTIVE;
  CloseHandle(info.hThread);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(info.hProcess, &code);
  } else {
    TerminateProcess(info.hProcess, 1);
  }
  CloseHandle(info.hProcess);
  return code;
}

HWND CTellbudRun::WaitMainWindow(DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        HWND hWnd = FindWindowW(nullptr, L"Tellbud<1.0>");
        DWORD pid = 0;
        if (hWnd) GetWindowThreadProcessId(hWnd, &pid);
        if (hWnd && pid == m_dwProcessId && IsWindowVisible(hWnd)) found = hWnd;
        return found != nullptr || HasExited();
      },
      timeoutMs);
  return found;
}

bool CTellbudRun::HasExited() const { return m_bExited != 0; }

bool CTellbudRun::WaitExit(DWORD timeoutMs) {
  return WaitFor([&] { return HasExited(); }, timeoutMs);
}

std::vector<std::string> CTellbudRun::DebugOutput() const {
  EnterCriticalSection(&m_lock);
  std::vector<std::string> copy = m_lstOutput;
  LeaveCriticalSection(&m_lock);
  return copy;
}

std::string CTellbudRun::DebugOutputText() const {
  constexpr size_t kShown = 40;
  std::vector<std::string> lines = DebugOutput();
  std::string text;
  if (lines.size() > kShown) text = "  (" + std::to_string(lines.size() - kShown) + " lines before)\n";
  for (size_t i = lines.size() > kShown ? lines.size() - kShown : 0; i < lines.size(); ++i)
    text += "  " + lines[i] + "\n";
  return text.empty() ? "  (no debugger output)\n" : text;
}

std::string CTellbudRun::CurrentOutputText() {
  CTellbudRun* run = g_pCurrentRun;
  return run ? "debugger output of Tellbud.exe:\n" + run->DebugOutputText() : std::string();
}

bool CTellbudRun::WaitDebugOutput(const std::string& text, DWORD timeoutMs) {
  return WaitFor(
      [&] {
        for (const std::string& line : DebugOutput())
          if (line.find(text) != std::string::npos) return true;
        return false;
      },
      timeoutMs);
}

}  // namespace wine_test
