// Counted references to Messenger's objects and the raising rules of Messenger calls: a failed
// call becomes a thrown _com_error carrying the HRESULT and the interface id; calling through an
// empty reference raises E_POINTER; taking an object as an interface it does not have
// (E_NOINTERFACE) leaves the reference empty without raising.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <exception>
#include <utility>

#include "messenger/messenger_api.h"

class _com_error : public std::exception {
 public:
  _com_error(HRESULT hr, const IID& iid) : m_hr(hr), m_iid(iid) {}
  HRESULT Error() const { return m_hr; }
  const IID& InterfaceId() const { return m_iid; }
  const char* what() const noexcept override { return "a Messenger call failed"; }

 private:
  HRESULT m_hr;
  IID m_iid;
};

[[noreturn]] inline void RaiseComError(HRESULT hr, const IID& iid) { throw _com_error(hr, iid); }

// Raises when a call failed.
inline void CheckComResult(HRESULT hr, const IID& iid) {
  if (FAILED(hr)) RaiseComError(hr, iid);
}

// The interface id that goes with each interface type.
inline const IID& InterfaceIdOf(IUnknown*) { return IID_IUnknown; }
inline const IID& InterfaceIdOf(IDispatch*) { return IID_IDispatch; }
inline const IID& InterfaceIdOf(IMessenger*) { return IID_IMessenger; }
inline const IID& InterfaceIdOf(IMessengerWindow*) { return IID_IMessengerWindow; }
inline const IID& InterfaceIdOf(IMessengerConversationWnd*) { return IID_IMessengerConversationWnd; }
inline const IID& InterfaceIdOf(IMessengerContacts*) { return IID_IMessengerContacts; }
inline const IID& InterfaceIdOf(IMessengerContact*) { return IID_IMessengerContact; }
inline const IID& InterfaceIdOf(IConnectionPointContainer*) { return IID_IConnectionPointContainer; }
inline const IID& InterfaceIdOf(IConnectionPoint*) { return IID_IConnectionPoint; }

template <class T>
class CComRef {
 public:
  CComRef() = default;
  // Takes a reference of its own to p.
  explicit CComRef(T* p) : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  CComRef(const CComRef& other) : CComRef(other.m_p) {}
  CComRef(CComRef&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  CComRef& operator=(CComRef other) noexcept {
    std::swap(m_p, other.m_p);
    return *this;
  }
  ~CComRef() { Release(); }

  static const IID& Iid() { return InterfaceIdOf(static_cast<T*>(nullptr)); }

  // Calls through the reference; an empty one raises E_POINTER.
  T* operator->() const {
    if (!m_p) RaiseComError(E_POINTER, Iid());
    return m_p;
  }
  T* Get() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  bool IsEmpty() const { return m_p == nullptr; }

  // Drops the object held (if any) and empties the reference.
  void Release() {
    if (T* p = std::exchange(m_p, nullptr)) p->Release();
  }
  // Drops what is held and gives the address for an out parameter that hands over a reference.
  T** Receive() {
    Release();
    return &m_p;
  }
  // Takes over a reference the caller owns.
  void Attach(T* p) {
    Release();
    m_p = p;
  }

  // Holds `source` as this interface. E_NOINTERFACE leaves the reference empty; any other
  // failure raises; a missing source raises E_POINTER.
  void QueryFrom(IUnknown* source) {
    Release();
    if (!source) RaiseComError(E_POINTER, Iid());
    HRESULT hr = source->QueryInterface(Iid(), reinterpret_cast<void**>(&m_p));
    if (hr == E_NOINTERFACE) {
      m_p = nullptr;
      return;
    }
    if (FAILED(hr)) {
      m_p = nullptr;
      RaiseComError(hr, Iid());
    }
  }
  // As QueryFrom, and raises E_POINTER when the object lacks the interface.
  void RequireFrom(IUnknown* source) {
    QueryFrom(source);
    if (!m_p) RaiseComError(E_POINTER, Iid());
  }

 private:
  T* m_p = nullptr;
};

// A VARIANT holding a sign-in name, cleared when it goes out of scope.
class CContactVariant {
 public:
  explicit CContactVariant(LPCWSTR signin) {
    VariantInit(&m_v);
    m_v.vt = VT_BSTR;
    m_v.bstrVal = SysAllocString(signin ? signin : TEXT(""));
  }
  ~CContactVariant() { VariantClear(&m_v); }
  CContactVariant(const CContactVariant&) = delete;
  CContactVariant& operator=(const CContactVariant&) = delete;
  const VARIANT& Get() const { return m_v; }

 private:
  VARIANT m_v;
};

// A BSTR filled by a getter, freed when it goes out of scope.
class CBstrResult {
 public:
  CBstrResult() = default;
  ~CBstrResult() { SysFreeString(m_b); }
  CBstrResult(const CBstrResult&) = delete;
  CBstrResult& operator=(const CBstrResult&) = delete;
  BSTR* Receive() {
    SysFreeString(m_b);
    m_b = nullptr;
    return &m_b;
  }
  LPCWSTR Text() const { return m_b ? m_b : TEXT(""); }
  UINT Length() const { return m_b ? SysStringLen(m_b) : 0; }

 private:
  BSTR m_b = nullptr;
};
