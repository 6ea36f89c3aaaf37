// What the stand-ins' COM server DLLs share: one static class factory per DLL, and the registry
// writes of DllRegisterServer.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

namespace world::com_server {

// A class factory that lives as long as its DLL (a static object); CreateInstance is the DLL's.
class StaticClassFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

// The full path of the module, or "" when it does not fit.
std::wstring ModulePath(HINSTANCE module);
// Writes a string value (`name` null: the key's default value), creating the key. Returns true
// on failure, so that a chain of writes reads `if (SetText(...) || SetText(...)) fail`.
bool SetText(HKEY root, const std::wstring& subkey, const wchar_t* name, const std::wstring& value);
// Deletes the key and everything under it; true when it is gone (or was never there).
bool DeleteKey(HKEY root, const std::wstring& subkey);

}  // namespace world::com_server
