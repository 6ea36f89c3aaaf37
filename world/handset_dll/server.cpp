// The handset control as an in-process COM server: the class factory for its class id and the
// registration of the DLL under HKEY_CLASSES_ROOT\CLSID, as regsvr32 asks for it.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "world/com_server/registration.h"
#include "world/handset/control.h"
#include "world/handset/handset_ids.h"
#include "world/handset_dll/world_channel.h"

namespace {

HINSTANCE g_hModule = nullptr;

class CHandsetFactory final : public world::com_server::StaticClassFactory {
 public:
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return world::handset::CreateHandsetControl(world::handset::ProcessDevice(), riid, ppv);
  }
};

CHandsetFactory g_factory;

std::wstring ClassKey() { return std::wstring(L"CLSID\\") + TELLBUD_CLSID_HANDSET_CONTROL_TEXT; }

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
  if (!IsEqualCLSID(clsid, world::handset::kClsidHandsetControl)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, ppv);
}

// The device and its channel stay for the life of the process.
HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

HRESULT WINAPI DllRegisterServer() {
  using world::com_server::SetText;
  std::wstring path = world::com_server::ModulePath(g_hModule);
  if (path.empty()) return SELFREG_E_CLASS;
  std::wstring key = ClassKey();
  if (SetText(HKEY_CLASSES_ROOT, key, nullptr, L"USB phone control") ||
      SetText(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", nullptr, path) ||
      SetText(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") ||
      SetText(HKEY_CLASSES_ROOT, key + L"\\Control", nullptr, L""))
    return SELFREG_E_CLASS;
  return S_OK;
}

HRESULT WINAPI DllUnregisterServer() {
  return world::com_server::DeleteKey(HKEY_CLASSES_ROOT, ClassKey()) ? S_OK : SELFREG_E_CLASS;
}

}  // extern "C"
