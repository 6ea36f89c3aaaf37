// msnmsgr.exe: the Messenger stand-in as a process of its own under Windows. Messenger's windows
// run on a thread of theirs (world/messenger); this, the main thread, is the single-threaded
// apartment that serves Messenger's class to other processes (the forwarding DLL in Tellbud's
// process), delivers Messenger's events to their sinks and runs the world's commands.
//
// Started by COM (-Embedding) it exits at once: Messenger is started by the world only, as a
// user starts it, never on a program's request.
#include <ole2.h>

#include <memory>

#include "world/messenger/stand_in.h"
#include "world/messenger_exe/window_report.h"
#include "world/messenger_exe/process.h"
#include "world/messenger_exe/remote_protocol.h"
#include "world/messenger_exe/store.h"
#include "world/messenger_exe/world_channel.h"
#include "world/messenger_exe/world_commands.h"

namespace {

using namespace world::messenger;

std::wstring StorePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(L"TELLBUD_MESSENGER_STORE", path, MAX_PATH);
  return n && n < MAX_PATH ? std::wstring(path) : std::wstring();
}

// Runs this thread's messages until Messenger's thread has ended.
void RunUntilMessengerEnds() {
  HANDLE thread = process::MessengerThread();
  for (;;) {
    DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
    if (r != WAIT_OBJECT_0 + 1) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

int Serve() {
  std::unique_ptr<process::WorldChannel> channel = process::WorldChannel::Open();
  std::wstring store = StorePath();
  process::SetWindowReporter(channel.get());
  MessengerStandIn messenger(channel.get());
  // A Messenger no program can reach is no Messenger started.
  if (FAILED(process::ClassRegistration()) || !messenger.Start()) {
    if (channel) channel->Report("world", "messenger start -> refused");
    return 1;
  }
  if (!store.empty()) process::LoadStore(store, messenger);
  HANDLE serving = CreateEventW(nullptr, TRUE, TRUE, TELLBUD_MESSENGER_SERVING_EVENT);
  if (channel) {
    channel->Report("world", "messenger start -> ok");
    channel->Serve([&](const std::string& line) {
      bool ok = process::RunWorldCommand(messenger, line);
      if (!store.empty()) process::SaveStore(store, messenger);
      return ok;
    });
  }
  RunUntilMessengerEnds();
  // Programs stop finding Messenger before its class goes.
  if (serving) CloseHandle(serving);
  if (!store.empty()) process::SaveStore(store, messenger);
  return 0;
}

bool StartedByCom(const wchar_t* command_line) { return wcsstr(command_line, L"Embedding") != nullptr; }

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  if (StartedByCom(command_line)) return 3;
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  int code = Serve();
  CoUninitialize();
  return code;
}
