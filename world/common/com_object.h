// A reference-counted COM object implementing one or more interfaces, for the stand-ins.
// Portable over the Windows COM headers.
//
//   class Widget final : public world::ComObject<IDispatch, IConnectionPointContainer> { ... };
//   auto widget = world::MakeCom<Widget>(...);   // one reference, held by the ComPtr
//
// QueryInterface answers IID_IUnknown with the first interface (the object's identity) and the
// IIDs that InterfaceIds<I> lists for each interface I. The stand-ins list their own interfaces:
//
//   WORLD_INTERFACE_IDS(IGadgetWindow, &IID_IGadgetWindow, &IID_IDispatch);
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <atomic>
#include <initializer_list>
#include <utility>

#include "world/common/com_ptr.h"

namespace world {

// The interface identifiers that reach interface I: its own and those of its bases other than
// IUnknown. Specialise with WORLD_INTERFACE_IDS.
template <typename I>
struct InterfaceIds;

inline bool MatchesAny(REFIID riid, std::initializer_list<const IID*> ids) {
  for (const IID* id : ids)
    if (IsEqualIID(riid, *id)) return true;
  return false;
}

// Lists the identifiers (as pointers) that reach `Interface`; use at global scope.
#define WORLD_INTERFACE_IDS(Interface, ...)                                               \
  template <>                                                                             \
  struct world::InterfaceIds<Interface> {                                                 \
    static bool Matches(REFIID riid) { return ::world::MatchesAny(riid, {__VA_ARGS__}); } \
  }

// The stand-ins' COM objects alive in this process (all desktops), for bounds on leaks.
inline std::atomic<long>& LiveComObjectCounter() {
  static std::atomic<long> count{0};
  return count;
}
inline long LiveComObjects() { return LiveComObjectCounter().load(); }

template <typename First, typename... Rest>
class ComObject : public First, public Rest... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    IUnknown* found = IsEqualIID(riid, IID_IUnknown) ? Identity() : FindInterface(riid);
    if (!found) return E_NOINTERFACE;
    found->AddRef();
    *ppv = found;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // The object's IUnknown, the same whichever interface it is reached through.
  IUnknown* Identity() { return static_cast<First*>(this); }

 protected:
  // A new object starts with one reference, owned by its creator.
  ComObject() { ++LiveComObjectCounter(); }
  virtual ~ComObject() { --LiveComObjectCounter(); }

  // The interface that answers `riid` (other than IID_IUnknown), or nullptr. Override to answer
  // more identifiers, e.g. an event interface that is dispatched through IDispatch.
  virtual IUnknown* FindInterface(REFIID riid) {
    if (InterfaceIds<First>::Matches(riid)) return static_cast<First*>(this);
    IUnknown* found = nullptr;
    ((found = found ? found : (InterfaceIds<Rest>::Matches(riid) ? static_cast<Rest*>(this) : nullptr)), ...);
    return found;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

// Creates a COM object and hands its first reference to a ComPtr.
template <typename T, typename... Args>
ComPtr<T> MakeCom(Args&&... args) {
  return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace world

template <>
struct world::InterfaceIds<IUnknown> {
  static bool Matches(REFIID) { return false; }  // answered by the object itself
};
WORLD_INTERFACE_IDS(IDispatch, &IID_IDispatch);
WORLD_INTERFACE_IDS(IClassFactory, &IID_IClassFactory);
WORLD_INTERFACE_IDS(IConnectionPointContainer, &IID_IConnectionPointContainer);
WORLD_INTERFACE_IDS(IConnectionPoint, &IID_IConnectionPoint);
WORLD_INTERFACE_IDS(IEnumConnections, &IID_IEnumConnections);
WORLD_INTERFACE_IDS(IEnumConnectionPoints, &IID_IEnumConnectionPoints);
WORLD_INTERFACE_IDS(IProvideClassInfo, &IID_IProvideClassInfo);
