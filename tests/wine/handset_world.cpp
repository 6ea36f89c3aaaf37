#include "handset_world.h"

#include "tests/wine/tellbud_run.h"
#include "world/pipes/pipe_lines.h"

namespace wine_test {

CHandsetWorld::CHandsetWorld() {
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
}

DWORD WINAPI CHandsetWorld::ReadReports(LPVOID param) {
  auto* self = static_cast<CHandsetWorld*>(param);
  auto connect = [](HANDLE pipe) {
    return ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
  };
  if (!connect(self->m_hCommands) || !connect(self->m_hReports)) return 0;
  InterlockedExchange(&self->m_bConnected, 1);
  world::pipes::ReadLines(self->m_hReports, [self](std::string line) { self->m_log.Add(line); });
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

bool CHandsetWorld::WaitLine(const std::string& text, DWORD timeoutMs) { return m_log.Wait(text, timeoutMs); }

std::vector<std::string> CHandsetWorld::Lines() const { return m_log.Lines(); }

std::string CHandsetWorld::Transcript() const { return m_log.Transcript(); }

}  // namespace wine_test
