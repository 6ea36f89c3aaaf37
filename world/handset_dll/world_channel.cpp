#include "world_channel.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "world/core/reporter.h"
#include "world/pipes/pipe_lines.h"

namespace world::handset {

namespace {

constexpr UINT kRunCommand = WM_APP + 1;

class PipeChannel final : public Reporter {
 public:
  PipeChannel(std::shared_ptr<Device> device, HANDLE commands, HANDLE reports)
      : device_(std::move(device)), commands_(commands), reports_(reports) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TellbudHandsetWorld";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                              nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    HANDLE reader = CreateThread(nullptr, 0, ReadCommands, this, 0, nullptr);
    if (reader) CloseHandle(reader);
  }

  void Report(const std::string& source, const std::string& text) override { WriteLine(source + " " + text); }

 private:
  void WriteLine(const std::string& line) { pipes::WriteLine(reports_, line); }

  static DWORD WINAPI ReadCommands(LPVOID param) {
    auto* self = static_cast<PipeChannel*>(param);
    pipes::ReadLines(self->commands_, [self](std::string line) {
      DWORD_PTR unused = 0;
      SendMessageTimeoutW(self->window_, kRunCommand, 0, reinterpret_cast<LPARAM>(&line), SMTO_NORMAL, 30000,
                          &unused);
    });
    return 0;
  }

  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunCommand) {
      auto* self = reinterpret_cast<PipeChannel*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
      const auto& line = *reinterpret_cast<const std::string*>(lParam);
      if (self) self->WriteLine("world " + line + (self->Run(line) ? " -> ok" : " -> refused"));
      return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
  }

  bool Run(const std::string& line) {
    std::string verb = line.substr(0, line.find(' '));
    std::string rest = line.size() > verb.size() ? line.substr(verb.size() + 1) : std::string();
    long number = rest.empty() ? 0 : std::strtol(rest.c_str(), nullptr, 0);
    Device& d = *device_;
    if (verb == "plug") return rest.empty() ? d.Plug() : d.Plug(static_cast<int32_t>(number));
    if (verb == "unplug") return d.Unplug();
    if (verb == "lift") return d.Hook(true);
    if (verb == "down") return d.Hook(false);
    if (verb == "key" && !rest.empty()) return d.Key(static_cast<short>(number));
    if (verb == "line") return d.LineActivity();
    if (verb == "level") return d.LevelKey();
    if (verb == "setlevel" && !rest.empty()) return d.SetLevel(static_cast<short>(number));
    return false;
  }

  std::shared_ptr<Device> device_;
  HANDLE commands_;
  HANDLE reports_;
  HWND window_ = nullptr;
};

}  // namespace

std::shared_ptr<Device> ProcessDevice() {
  static std::shared_ptr<Device> device;
  if (device) return device;
  device = std::make_shared<Device>();
  wchar_t base[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(L"TELLBUD_HANDSET_PIPE", base, MAX_PATH);
  if (!n || n >= MAX_PATH) return device;
  HANDLE commands = pipes::OpenPipe(std::wstring(base) + L".world", GENERIC_READ);
  HANDLE reports = commands ? pipes::OpenPipe(std::wstring(base) + L".report", GENERIC_WRITE) : nullptr;
  if (!commands || !reports) {
    if (commands) CloseHandle(commands);
    return device;
  }
  // The channel lives as long as the process: the device keeps reporting through it.
  auto* channel = new PipeChannel(device, commands, reports);
  device->set_reporter(channel);
  return device;
}

}  // namespace world::handset
