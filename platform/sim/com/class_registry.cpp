// The desktop's class registry and object creation: CoGetClassObject hands out a class object
// (IClassFactory) for a registered class; CoCreateInstance creates through it.
#include <ole2.h>

#include <atomic>

#include "com/com_state.h"

namespace sim::com {

ClassRegistry& Registry() { return Desktop::Current().Module<ClassRegistry>(); }

bool ServerRunning(const ClassEntry& entry) {
  if (entry.options.server_image.empty()) return true;
  for (const ProcessInfo& p : Desktop::Current().Processes())
    if (p.image_name == entry.options.server_image) return true;
  return false;
}

namespace {

// The class object of a registered class. It keeps the registration it was made from, so a
// class unregistered later still creates through objects handed out before.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(std::shared_ptr<const ClassEntry> entry) : entry_(std::move(entry)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    // An aggregated object must hand its own IUnknown to the outer object first.
    if (outer && (!entry_->options.aggregatable || riid != IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    if (!ServerRunning(*entry_)) return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    HRESULT hr = entry_->factory(outer, riid, ppv);
    if (FAILED(hr)) *ppv = nullptr;  // a failure never hands out a pointer, whatever the factory left
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  std::shared_ptr<const ClassEntry> entry_;
  std::atomic<ULONG> refs_{1};
};

constexpr DWORD kServerContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

}  // namespace

}  // namespace sim::com

namespace sim {

void RegisterComClass(const CLSID& clsid, ComFactory factory, ComClassOptions options) {
  auto entry = std::make_shared<com::ClassEntry>();
  entry->factory = std::move(factory);
  entry->options = std::move(options);
  com::Registry().classes[clsid] = std::move(entry);
}

bool UnregisterComClass(const CLSID& clsid) { return com::Registry().classes.erase(clsid) > 0; }

bool IsComClassRegistered(const CLSID& clsid) { return com::Registry().classes.count(clsid) > 0; }

}  // namespace sim

HRESULT WINAPI CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  if (!sim::com::IsThreadInitialized()) return CO_E_NOTINITIALIZED;
  auto& classes = sim::com::Registry().classes;
  auto it = classes.find(rclsid);
  if (it == classes.end()) return REGDB_E_CLASSNOTREG;
  const auto& entry = it->second;
  if ((dwClsContext & entry->options.contexts & sim::com::kServerContexts) == 0) return REGDB_E_CLASSNOTREG;
  if (!sim::com::ServerRunning(*entry)) return CO_E_SERVER_EXEC_FAILURE;
  auto* factory = new sim::com::ClassFactory(entry);
  HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT hr =
      CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  return hr;
}
