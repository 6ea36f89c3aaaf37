// An event sink for the tests: records every Invoke with its arguments in call order and the
// thread it ran on. Answers IDispatch, and optionally one more interface id.
#pragma once

#include <functional>
#include <vector>

#include "world/common/com_object.h"
#include "world/common/variant.h"

struct RecordedCall {
  DISPID id;
  WORD flags;
  std::vector<world::Variant> args;  // call order
  DWORD thread_id;
};

class RecordingSink final : public world::ComObject<IDispatch> {
 public:
  explicit RecordingSink(const IID* also = nullptr) : also_(also) {}

  std::vector<RecordedCall> calls;
  HRESULT answer = S_OK;
  std::vector<const RecordingSink*>* order = nullptr;  // shared by sinks, to see who came first
  std::function<void()> on_call;                       // runs inside Invoke, after recording

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    RecordedCall call{id, flags, {}, GetCurrentThreadId()};
    for (UINT i = params->cArgs; i > 0; --i) call.args.push_back(world::Variant::Copy(params->rgvarg[i - 1]));
    calls.push_back(std::move(call));
    if (order) order->push_back(this);
    if (on_call) on_call();
    return answer;
  }

 protected:
  IUnknown* FindInterface(REFIID riid) override {
    if (also_ && IsEqualIID(riid, *also_)) return static_cast<IDispatch*>(this);
    return ComObject::FindInterface(riid);
  }

 private:
  const IID* also_;
};

// A plain object that answers no interface but IUnknown.
class PlainObject final : public world::ComObject<IUnknown> {};
