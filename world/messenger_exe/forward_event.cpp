#include "world/messenger_exe/forward_event.h"

#include <vector>

namespace world::messenger::remote {

HRESULT ForwardEvent(IDispatch* sink, DISPID id, const DISPPARAMS* params,
                     const std::function<ComPtr<IDispatch>(IDispatch*)>& convert) {
  UINT count = params ? params->cArgs : 0;
  std::vector<VARIANT> args(count);
  for (UINT i = 0; i < count; ++i) {
    VariantInit(&args[i]);
    const VARIANT& in = params->rgvarg[i];
    if (in.vt == VT_DISPATCH && in.pdispVal) {
      if (ComPtr<IDispatch> converted = convert(in.pdispVal)) {
        args[i].vt = VT_DISPATCH;
        args[i].pdispVal = converted.Detach();
      }
    } else {
      VariantCopy(&args[i], const_cast<VARIANT*>(&in));  // older headers lack const
    }
  }
  DISPPARAMS out{args.empty() ? nullptr : args.data(), nullptr, count, 0};
  HRESULT hr = sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &out, nullptr, nullptr, nullptr);
  for (VARIANT& v : args) VariantClear(&v);
  return hr;
}

}  // namespace world::messenger::remote
