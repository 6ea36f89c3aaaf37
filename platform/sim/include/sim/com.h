// COM as the world sees it: the desktop's class registry, where the stand-ins register the
// classes that programs create with CoCreateInstance, and the apartments of threads.
// Call these with the baton held (from the world's thread or a stand-in's simulated thread).
#pragma once

#include <objbase.h>

#include <functional>
#include <string>

namespace sim {

// Creates an object of a registered class and answers for `riid`: on success *ppv holds the
// interface with one reference; on failure *ppv is null. `outer` is the controlling unknown
// when the caller aggregates the object (only for classes registered as aggregatable; it then
// always asks for IID_IUnknown). Runs on the creating thread.
using ComFactory = std::function<HRESULT(IUnknown* outer, REFIID riid, void** ppv)>;

struct ComClassOptions {
  // The class contexts (CLSCTX_*) the class is registered for; a request that shares none of
  // them fails with REGDB_E_CLASSNOTREG.
  DWORD contexts = CLSCTX_INPROC_SERVER;
  bool aggregatable = false;
  // For a class served by another program: that program's image name (e.g. u"server.exe").
  // While no process of that name runs, creation fails with CO_E_SERVER_EXEC_FAILURE, and a
  // class object obtained earlier fails with RPC_S_SERVER_UNAVAILABLE. Empty: no such check.
  std::u16string server_image;
};

// Registers (or replaces) the class `clsid` on the current desktop.
void RegisterComClass(const CLSID& clsid, ComFactory factory, ComClassOptions options = {});
// Removes the class, as uninstalling its program does. Returns whether it was registered.
bool UnregisterComClass(const CLSID& clsid);
bool IsComClassRegistered(const CLSID& clsid);

enum class ComApartment { kNone, kSingleThreaded, kMultiThreaded };
// The apartment a thread has entered with CoInitialize(Ex), or kNone.
ComApartment ThreadApartment(DWORD thread_id);

}  // namespace sim
