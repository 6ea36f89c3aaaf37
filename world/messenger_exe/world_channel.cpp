#include "world/messenger_exe/world_channel.h"

#include "world/pipes/pipe_lines.h"

namespace world::messenger::process {

namespace {

constexpr UINT kRunCommand = WM_APP + 1;  // lParam: the command line

}  // namespace

std::unique_ptr<WorldChannel> WorldChannel::Open() {
  wchar_t base[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(L"TELLBUD_MESSENGER_PIPE", base, MAX_PATH);
  if (!n || n >= MAX_PATH) return nullptr;
  HANDLE commands = pipes::OpenPipe(std::wstring(base) + L".world", GENERIC_READ);
  HANDLE reports = commands ? pipes::OpenPipe(std::wstring(base) + L".report", GENERIC_WRITE) : nullptr;
  if (!reports) {
    if (commands) CloseHandle(commands);
    return nullptr;
  }
  return std::unique_ptr<WorldChannel>(new WorldChannel(commands, reports));
}

WorldChannel::WorldChannel(HANDLE commands, HANDLE reports) : commands_(commands), reports_(reports) {}

WorldChannel::~WorldChannel() {
  if (window_) DestroyWindow(window_);
  CloseHandle(reports_);
  // The reader thread may still be in ReadFile on the commands: the process ends with it.
}

void WorldChannel::Report(const std::string& source, const std::string& text) {
  AcquireSRWLockExclusive(&write_lock_);
  pipes::WriteLine(reports_, source + " " + text);
  ReleaseSRWLockExclusive(&write_lock_);
}

void WorldChannel::Serve(std::function<bool(const std::string&)> run) {
  run_ = std::move(run);
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TellbudMessengerWorld";
  RegisterClassW(&wc);
  window_ =
      CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  HANDLE reader = CreateThread(nullptr, 0, ReadCommands, this, 0, nullptr);
  if (reader) CloseHandle(reader);
}

DWORD WINAPI WorldChannel::ReadCommands(LPVOID param) {
  auto* self = static_cast<WorldChannel*>(param);
  pipes::ReadLines(self->commands_, [self](std::string line) {
    // One command at a time, in order: the next is read once this one is answered.
    SendMessageW(self->window_, kRunCommand, 0, reinterpret_cast<LPARAM>(&line));
  });
  return 0;
}

LRESULT CALLBACK WorldChannel::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kRunCommand) return DefWindowProcW(hwnd, msg, wp, lp);
  auto* self = reinterpret_cast<WorldChannel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const auto& line = *reinterpret_cast<const std::string*>(lp);
  if (self) self->Report("world", line + (self->run_(line) ? " -> ok" : " -> refused"));
  return 0;
}

}  // namespace world::messenger::process
