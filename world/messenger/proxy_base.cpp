#include "world/messenger/proxy_base.h"

namespace world::messenger {

HRESULT CallMessenger(const Link& link, const char* op,
                      const std::function<HRESULT(MessengerServer&)>& body) {
  if (!link || !link->server || !IsWindow(link->server->calls().hwnd())) return ServerUnavailable();
  HRESULT hr = ServerUnavailable();
  bool ran = link->server->calls().Send([&] {
    if (MessengerServer* server = link->server) hr = server->Serve(op, [&] { return body(*server); });
  });
  // Messenger went away while it served this very call.
  return ran ? hr : CallFailed();
}

HRESULT ReturnString(const Text& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace world::messenger
