#include "world/messenger/sim_glue.h"

#include <sim/com.h>
#include <sim/desktop.h>

#include <cstdlib>

#include "messenger/messenger_api.h"

namespace world::messenger::glue {

DWORD StartMessengerProcess(std::function<void()> body) {
  sim::Desktop& desktop = sim::Desktop::Current();
  DWORD pid = desktop.AddProcess(
      sim::ProcessInfo{0, u"msnmsgr.exe", u"C:\\Program Files\\Windows Live\\Messenger\\msnmsgr.exe",
                       u"\"C:\\Program Files\\Windows Live\\Messenger\\msnmsgr.exe\"", 0});
  if (!desktop.StartThread(pid, std::move(body))) {
    desktop.EndProcess(pid);
    return 0;
  }
  return pid;
}

bool IsProcessRunning(DWORD pid) { return pid && sim::Desktop::Current().IsProcessRunning(pid); }

void RunUntilIdle() { sim::Desktop::Current().RunUntilIdle(); }

void RegisterMessengerClass(std::function<HRESULT(REFIID riid, void** ppv)> create) {
  sim::ComClassOptions options;
  options.contexts = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;
  options.server_image = u"msnmsgr.exe";
  sim::RegisterComClass(
      CLSID_Messenger,
      [create = std::move(create)](IUnknown*, REFIID riid, void** ppv) { return create(riid, ppv); },
      options);
}

void UnregisterMessengerClass() {
  if (sim::Desktop::Exists()) sim::UnregisterComClass(CLSID_Messenger);
}

void VanishNow() {
  sim::Desktop::Current().EndProcess(GetCurrentProcessId(), 1);
  ExitThread(1);
  std::abort();  // not reached: ExitThread unwinds the thread
}

}  // namespace world::messenger::glue
