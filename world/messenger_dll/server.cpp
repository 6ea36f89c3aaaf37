// Messenger's class in a program's process: an in-process server registered under Messenger's
// class id that reaches the running msnmsgr.exe (world/messenger_exe) and forwards to it. Like
// Messenger's own class, it never starts Messenger: while msnmsgr.exe does not serve, creation
// fails with CO_E_SERVER_EXEC_FAILURE.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "messenger/messenger_api.h"
#include "world/com_server/registration.h"
#include "world/messenger_dll/forwarding.h"
#include "world/messenger_exe/remote_protocol.h"

namespace {

using namespace world::messenger::remote;

HINSTANCE g_hModule = nullptr;

class CMessengerFactory final : public world::com_server::StaticClassFactory {
 public:
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // Asked only while msnmsgr.exe says it serves, COM has no reason to start one of its own.
    HANDLE serving = OpenEventW(SYNCHRONIZE, FALSE, TELLBUD_MESSENGER_SERVING_EVENT);
    if (!serving) return CO_E_SERVER_EXEC_FAILURE;
    CloseHandle(serving);
    world::ComPtr<IDispatch> front;
    HRESULT hr =
        CoCreateInstance(kClsidMessengerFront, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, front.PutVoid());
    if (FAILED(hr)) return hr;
    return MakeMessengerClient(front)->QueryInterface(riid, ppv);
  }
};

CMessengerFactory g_factory;

// Under HKLM's classes: Wine reads no class registered under HKCU.
const wchar_t kClasses[] = L"Software\\Classes\\CLSID\\";

std::wstring InprocKey() { return std::wstring(kClasses) + TELLBUD_CLSID_MESSENGER_TEXT; }
std::wstring FrontKey() { return std::wstring(kClasses) + TELLBUD_CLSID_MESSENGER_FRONT_TEXT; }

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_hModule = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_Messenger)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, ppv);
}

// Forwarding objects may be alive in the program whenever COM asks.
HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

// Messenger's class served here, and the front class served by msnmsgr.exe beside this DLL.
HRESULT WINAPI DllRegisterServer() {
  using world::com_server::SetText;
  std::wstring dll = world::com_server::ModulePath(g_hModule);
  if (dll.empty()) return SELFREG_E_CLASS;
  std::wstring exe = L"\"" + dll.substr(0, dll.find_last_of(L'\\') + 1) + L"msnmsgr.exe\"";
  if (SetText(HKEY_LOCAL_MACHINE, InprocKey(), nullptr, L"Messenger (Tellbud's test stand-in)") ||
      SetText(HKEY_LOCAL_MACHINE, InprocKey() + L"\\InprocServer32", nullptr, dll) ||
      SetText(HKEY_LOCAL_MACHINE, InprocKey() + L"\\InprocServer32", L"ThreadingModel", L"Apartment") ||
      SetText(HKEY_LOCAL_MACHINE, FrontKey(), nullptr, L"Messenger's objects in msnmsgr.exe") ||
      SetText(HKEY_LOCAL_MACHINE, FrontKey() + L"\\LocalServer32", nullptr, exe))
    return SELFREG_E_CLASS;
  return S_OK;
}

HRESULT WINAPI DllUnregisterServer() {
  bool ok = world::com_server::DeleteKey(HKEY_LOCAL_MACHINE, InprocKey()) &&
            world::com_server::DeleteKey(HKEY_LOCAL_MACHINE, FrontKey());
  return ok ? S_OK : SELFREG_E_CLASS;
}

}  // extern "C"
