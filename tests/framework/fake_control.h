// A fake ActiveX control for the host's tests: an automation object with one event source. It
// records the calls it receives (arguments as they arrive, i.e. in reverse order), answers with
// results the test sets, and fires events at the sink advised on its connection point. The test
// owns it; the reference count only tells what the host did with it.
#pragma once

#include <ole2.h>
#include <ocidl.h>

#include <map>
#include <vector>

namespace framework_test {

// {6C1E9D02-5B3A-4F7C-8D21-3E4F5A6B7C8D}: the fake control's event interface.
constexpr IID kPhoneEventsIid = {
    0x6C1E9D02, 0x5B3A, 0x4F7C, {0x8D, 0x21, 0x3E, 0x4F, 0x5A, 0x6B, 0x7C, 0x8D}};

class FakePhone final : public IDispatch, public IConnectionPointContainer {
 public:
  struct Call {
    DISPID dispid;
    WORD flags;
    std::vector<VARIANT> args;  // as received: rgvarg[0] is the last argument
  };

  ~FakePhone() {
    for (Call& call : calls) {
      for (VARIANT& v : call.args) VariantClear(&v);
    }
    for (auto& [dispid, v] : results) VariantClear(&v);
  }

  LONG refs = 0;  // references held by others
  std::vector<Call> calls;
  std::map<DISPID, VARIANT> results;
  IDispatch* sink = nullptr;
  bool sinkAnsweredEventIid = false;

  // Takes over `value` as the result of method `dispid`.
  void SetResult(DISPID dispid, VARIANT value) {
    VariantClear(&results[dispid]);
    results[dispid] = value;
  }

  // Fires event `dispid` with the arguments in call order; returns the sink's answer.
  HRESULT Fire(DISPID dispid, std::vector<VARIANT> args) {
    if (!sink) return CONNECT_E_NOCONNECTION;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                      static_cast<UINT>(reversed.size()), 0};
    HRESULT hr = sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                              nullptr, nullptr);
    for (VARIANT& v : args) VariantClear(&v);
    return hr;
  }

  // ---- IUnknown / IDispatch ----
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *ppv = static_cast<IDispatch*>(this);
    } else if (riid == IID_IConnectionPointContainer) {
      *ppv = static_cast<IConnectionPointContainer*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    ++refs;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    Call call{dispid, flags, {}};
    for (UINT i = 0; params && i < params->cArgs; ++i) {
      VARIANT copy;
      VariantInit(&copy);
      VariantCopy(&copy, &params->rgvarg[i]);
      call.args.push_back(copy);
    }
    calls.push_back(std::move(call));
    auto it = results.find(dispid);
    if (it == results.end()) return DISP_E_MEMBERNOTFOUND;
    if (result) VariantCopy(result, &it->second);
    return S_OK;
  }

  // ---- IConnectionPointContainer ----
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override {
    if (!ppEnum) return E_POINTER;
    enumerator.position = 0;
    enumerator.AddRef();
    *ppEnum = &enumerator;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
    if (!ppCP) return E_POINTER;
    *ppCP = nullptr;
    if (riid != kPhoneEventsIid) return CONNECT_E_NOCONNECTION;
    point.AddRef();
    *ppCP = &point;
    return S_OK;
  }

 private:
  struct Point final : IConnectionPoint {
    FakePhone* owner;
    explicit Point(FakePhone* o) : owner(o) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
      if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
      *ppv = this;
      AddRef();
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++owner->refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--owner->refs); }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override {
      *pIID = kPhoneEventsIid;
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** pp) override {
      return owner->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(pp));
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override {
      if (owner->sink) return CONNECT_E_ADVISELIMIT;
      IUnknown* events = nullptr;
      owner->sinkAnsweredEventIid =
          SUCCEEDED(pUnkSink->QueryInterface(kPhoneEventsIid, reinterpret_cast<void**>(&events)));
      if (events) events->Release();
      IDispatch* dispatch = nullptr;
      if (FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
      owner->sink = dispatch;
      *pdwCookie = 1;
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override {
      if (dwCookie != 1 || !owner->sink) return CONNECT_E_NOCONNECTION;
      owner->sink->Release();
      owner->sink = nullptr;
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
  };

  struct Enumerator final : IEnumConnectionPoints {
    FakePhone* owner;
    ULONG position = 0;
    explicit Enumerator(FakePhone* o) : owner(o) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
      if (riid != IID_IUnknown && riid != IID_IEnumConnectionPoints) return E_NOINTERFACE;
      *ppv = this;
      AddRef();
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++owner->refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--owner->refs); }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, LPCONNECTIONPOINT* points, ULONG* fetched) override {
      ULONG n = 0;
      if (count > 0 && position == 0) {
        owner->point.AddRef();
        points[0] = &owner->point;
        n = 1;
        position = 1;
      }
      if (fetched) *fetched = n;
      return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
      position += count;
      return position <= 1 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
      position = 0;
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  };

  Point point{this};
  Enumerator enumerator{this};
};

inline VARIANT MakeVariant(VARTYPE vt, LONG value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  if (vt == VT_I2) v.iVal = static_cast<SHORT>(value);
  if (vt == VT_I4) v.lVal = value;
  if (vt == VT_BOOL) v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

inline VARIANT MakeVariant(LPCWSTR text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(text);
  return v;
}

}  // namespace framework_test
