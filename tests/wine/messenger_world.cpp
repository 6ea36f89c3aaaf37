#include "messenger_world.h"

#include <tlhelp32.h>

#include "tests/wine/tellbud_run.h"
#include "world/pipes/pipe_lines.h"

namespace wine_test {

namespace {

// msnmsgr.exe is built beside the test program.
std::wstring MessengerExe() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L'\\') + 1) + L"msnmsgr.exe";
}

// Wine keeps a killed local server's class registered in its RPC service, refusing the next
// server's registration; the service starts afresh on the next request, without it.
void RestartRpcService() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, L"rpcss.exe") != 0) continue;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
}

bool IsKeptWhileStopped(const std::string& line) {
  for (const char* verb : {"messenger language ", "messenger fail ", "messenger vanish "})
    if (line.rfind(verb, 0) == 0) return true;
  return line == "messenger heal";
}

}  // namespace

CMessengerWorld::CMessengerWorld() {
  std::wstring unique = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
  m_strBase = L"\\\\.\\pipe\\tellbud-messenger-" + unique;
  m_strStore = FreshFolder(L"messenger-" + unique) + L"\\settings.txt";
  m_hCommands = CreateNamedPipeW((m_strBase + L".world").c_str(), PIPE_ACCESS_OUTBOUND,
                                 PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
  m_hReports = CreateNamedPipeW((m_strBase + L".report").c_str(), PIPE_ACCESS_INBOUND,
                                PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
  SetEnvironmentVariableW(L"TELLBUD_MESSENGER_PIPE", m_strBase.c_str());
  SetEnvironmentVariableW(L"TELLBUD_MESSENGER_STORE", m_strStore.c_str());
  m_hThread = CreateThread(nullptr, 0, ReadReports, this, 0, nullptr);
}

CMessengerWorld::~CMessengerWorld() {
  if (IsRunning() && !Quit(5000)) Kill();
  InterlockedExchange(&m_bStop, 1);
  // The reader waits for the next msnmsgr.exe: connect as one would, so that its wait ends.
  HANDLE a =
      CreateFileW((m_strBase + L".world").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE b =
      CreateFileW((m_strBase + L".report").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (a != INVALID_HANDLE_VALUE) CloseHandle(a);
  if (b != INVALID_HANDLE_VALUE) CloseHandle(b);
  if (m_hThread) {
    WaitForSingleObject(m_hThread, 5000);
    CloseHandle(m_hThread);
  }
  if (m_hProcess) CloseHandle(m_hProcess);
  CloseHandle(m_hCommands);
  CloseHandle(m_hReports);
  SetEnvironmentVariableW(L"TELLBUD_MESSENGER_PIPE", nullptr);
  SetEnvironmentVariableW(L"TELLBUD_MESSENGER_STORE", nullptr);
}

// One msnmsgr.exe after another connects to the pipes, reports until it ends and leaves them
// for the next.
DWORD WINAPI CMessengerWorld::ReadReports(LPVOID param) {
  auto* self = static_cast<CMessengerWorld*>(param);
  auto connect = [](HANDLE pipe) {
    return ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
  };
  while (!self->m_bStop) {
    if (!connect(self->m_hCommands) || !connect(self->m_hReports)) return 0;
    if (self->m_bStop) break;
    world::pipes::ReadLines(self->m_hReports, [self](std::string line) { self->m_log.Add(line); });
    DisconnectNamedPipe(self->m_hReports);
    DisconnectNamedPipe(self->m_hCommands);
  }
  return 0;
}

bool CMessengerWorld::IsRunning() const {
  return m_hProcess && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

bool CMessengerWorld::Start(DWORD timeoutMs) {
  if (IsRunning()) return false;
  // A run that ended other than by quitting (killed, or vanished inside a call) left its class
  // registered with Wine's RPC service.
  DWORD code = 0;
  if (m_hProcess && GetExitCodeProcess(m_hProcess, &code) && code != 0) RestartRpcService();
  if (m_hProcess) CloseHandle(m_hProcess);
  m_hProcess = nullptr;
  size_t before = Lines().size();
  std::wstring exe = MessengerExe();
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    m_log.Add("driver: msnmsgr.exe did not start (error " + std::to_string(GetLastError()) + ")");
    return false;
  }
  CloseHandle(pi.hThread);
  m_hProcess = pi.hProcess;
  if (WaitOutcome("messenger start", before, timeoutMs) != "ok") return false;
  std::vector<std::string> pending;
  pending.swap(m_lstPending);
  bool ok = true;
  for (const std::string& line : pending) ok = Command(line) && ok;
  return ok;
}

bool CMessengerWorld::Quit(DWORD timeoutMs) {
  if (!IsRunning()) return false;
  Command("messenger quit", timeoutMs);
  return WaitForSingleObject(m_hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool CMessengerWorld::Kill() {
  if (!IsRunning()) return false;
  TerminateProcess(m_hProcess, 1);
  return WaitForSingleObject(m_hProcess, 10000) == WAIT_OBJECT_0;
}

bool CMessengerWorld::KeepForNextStart(const std::string& line) {
  bool kept = IsKeptWhileStopped(line);
  if (kept) m_lstPending.push_back(line);
  m_log.Add("world " + line + (kept ? " -> ok" : " -> refused"));
  return kept;
}

bool CMessengerWorld::Command(const std::string& line, DWORD timeoutMs) {
  if (line == "messenger start") return Start(timeoutMs);
  if (!IsRunning()) return KeepForNextStart(line);
  size_t before = Lines().size();
  if (!world::pipes::WriteLine(m_hCommands, line)) return false;
  return WaitOutcome(line, before, timeoutMs) == "ok";
}

std::string CMessengerWorld::WaitOutcome(const std::string& line, size_t from, DWORD timeoutMs) const {
  std::string prefix = "world " + line + " -> ";
  std::string outcome;
  WaitFor(
      [&] {
        std::vector<std::string> lines = Lines();
        for (size_t i = from; i < lines.size() && outcome.empty(); ++i)
          if (lines[i].rfind(prefix, 0) == 0) outcome = lines[i].substr(prefix.size());
        return !outcome.empty() || (m_hProcess && WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0 &&
                                    line != "messenger quit");
      },
      timeoutMs);
  return outcome;
}

bool CMessengerWorld::WaitLine(const std::string& text, DWORD timeoutMs) {
  return m_log.Wait(text, timeoutMs);
}

size_t CMessengerWorld::CountLines(const std::string& text, size_t from) const {
  return m_log.Count(text, from);
}

std::vector<std::string> CMessengerWorld::Lines() const { return m_log.Lines(); }

std::string CMessengerWorld::Transcript() const { return m_log.Transcript(); }

}  // namespace wine_test
