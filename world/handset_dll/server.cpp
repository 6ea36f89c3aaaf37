// The handset control as an in-process COM server: the class factory for its class id and the
// registration of the DLL under HKEY_CLASSES_ROOT\CLSID, as regsvr32 asks for it.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <shlwapi.h>

#include <string>

#include "world/handset/control.h"
#include "world/handset/handset_ids.h"
#include "world/handset_dll/world_channel.h"

namespace {

HINSTANCE g_hModule = nullptr;
volatile LONG g_nLocks = 0;

class CHandsetFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // One static factory, alive as long as the DLL.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return world::handset::CreateHandsetControl(world::handset::ProcessDevice(), riid, ppv);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&g_nLocks);
    else
      InterlockedDecrement(&g_nLocks);
    return S_OK;
  }
};

CHandsetFactory g_factory;

std::wstring ClassKey() { return std::wstring(L"CLSID\\") + TELLBUD_CLSID_HANDSET_CONTROL_TEXT; }

LONG SetText(HKEY parent, const std::wstring& subkey, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  LONG result = RegCreateKeyExW(parent, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return result;
}

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
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(g_hModule, path, MAX_PATH);
  if (!n || n >= MAX_PATH) return SELFREG_E_CLASS;
  std::wstring key = ClassKey();
  if (SetText(HKEY_CLASSES_ROOT, key, nullptr, L"USB phone control") != ERROR_SUCCESS ||
      SetText(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", nullptr, path) != ERROR_SUCCESS ||
      SetText(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") !=
          ERROR_SUCCESS ||
      SetText(HKEY_CLASSES_ROOT, key + L"\\Control", nullptr, L"") != ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  return S_OK;
}

HRESULT WINAPI DllUnregisterServer() {
  LONG result = SHDeleteKeyW(HKEY_CLASSES_ROOT, ClassKey().c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

}  // extern "C"
