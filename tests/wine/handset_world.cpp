#include "handset_world.h"

#include "tests/wine/tellbud_run.h"

namespace wine_test {

CHandsetWorld::CHandsetWorld() {
  InitializeCriticalSection(&m_lock);
  m_strBase = L"\\\\.\\pipe\\tellbud-handset-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount());
  m_hCommands = CreateNamedPipeW((m_strBase + L".world").c_str(), PIPE_ACCESS_OUTBOUND,
                                 PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
  m_hReports = CreateNamedPipeW((m_strBase + L".report").c_str(), PIPE_ACCESS_INBOUND,
                                PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
  SetEnvironmentVariableW(L"TELLBUD_HANDSET_PIPE", m_strBase.c_str());
  m_hThread = CreateThread(nullptr, 0, ReadReports, this, 0, nullptr);
}

CHandsetWorld::~CHandsetWorld() {
  SetEnvironmentVariableW(L"TELLBUD_HANDSET_PIPE", nullptr);
  if (!m_bConnected) {
    // Nobody came: connect as the control would, so that the reader's waits end.
    HANDLE a =
        CreateFileW((m_strBase + L".world").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE b =
        CreateFileW((m_strBase + L".report").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (a != INVALID_HANDLE_VALUE) CloseHandle(a);
    if (b != INVALID_HANDLE_VALUE) CloseHandle(b);
  }
  DisconnectNamedPipe(m_hReports);
  DisconnectNamedPipe(m_hCommands);
  if (m_hThread) {
    WaitForSingleObject(m_hThread, 5000);
    CloseHandle(m_hThread);
  }
  CloseHandle(m_hCommands);
  CloseHandle(m_hReports);
  DeleteCriticalSection(&m_lock);
}

DWORD WINAPI CHandsetWorld::ReadReports(LPVOID param) {
  auto* self = static_cast<CHandsetWorld*>(param);
  auto connect = [](HANDLE pipe) {
    return ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
  };
  if (!connect(self->m_hCommands) || !connect(self->m_hReports)) return 0;
  InterlockedExchange(&self->m_bConnected, 1);
  std::string pending;
  char buffer[512];
  DWORD read = 0;
  while (ReadFile(self->m_hReports, buffer, sizeof buffer, &read, nullptr) && read) {
    pending.append(buffer, read);
    for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
      EnterCriticalSection(&self->m_lock);
      self->m_lstLines.push_back(pending.substr(0, end));
      LeaveCriticalSection(&self->m_lock);
      pending.erase(0, end + 1);
    }
  }
  return 0;
}

bool CHandsetWorld::WaitConnected(DWORD timeoutMs) {
  return WaitFor([&] { return m_bConnected != 0; }, timeoutMs);
}

bool CHandsetWorld::Play(const std::string& command, DWORD timeoutMs) {
  if (!m_bConnected) return false;
  size_t before = Lines().size();
  std::string line = command + "\n";
  DWORD written = 0;
  if (!WriteFile(m_hCommands, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) return false;
  std::string prefix = "world " + command + " -> ";
  std::string outcome;
  WaitFor(
      [&] {
        std::vector<std::string> lines = Lines();
        for (size_t i = before; i < lines.size(); ++i)
          if (lines[i].rfind(prefix, 0) == 0) outcome = lines[i].substr(prefix.size());
        return !outcome.empty();
      },
      timeoutMs);
  return outcome == "ok";
}

bool CHandsetWorld::WaitLine(const std::string& text, DWORD timeoutMs) {
  return WaitFor(
      [&] {
        for (const std::string& line : Lines())
          if (line.find(text) != std::string::npos) return true;
        return false;
      },
      timeoutMs);
}

std::vector<std::string> CHandsetWorld::Lines() const {
  EnterCriticalSection(&m_lock);
  std::vector<std::string> copy = m_lstLines;
  LeaveCriticalSection(&m_lock);
  return copy;
}

std::string CHandsetWorld::Transcript() const {
  std::string text;
  for (const std::string& line : Lines()) text += "  " + line + "\n";
  return text.empty() ? "  (nothing reported)\n" : text;
}

}  // namespace wine_test
