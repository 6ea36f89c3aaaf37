// Calling and answering IDispatch::Invoke.
#include "world/common/dispatch.h"

namespace world {

namespace {

bool SameNameIgnoringCase(const ComString& a, const OLECHAR* b) {
  auto fold = [](OLECHAR c) { return c >= 'A' && c <= 'Z' ? static_cast<OLECHAR>(c - 'A' + 'a') : c; };
  size_t i = 0;
  for (; b[i]; ++i)
    if (i >= a.size() || fold(a[i]) != fold(b[i])) return false;
  return i == a.size();
}

void FreeExceptionTexts(EXCEPINFO& excep) {
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
  excep.bstrSource = excep.bstrDescription = excep.bstrHelpFile = nullptr;
}

}  // namespace

// ---- Calling ----------------------------------------------------------------------------------------

DispatchArguments::DispatchArguments(const std::vector<Variant>& in_call_order) {
  reversed_.resize(in_call_order.size());
  for (size_t i = 0; i < in_call_order.size(); ++i) {
    VARIANT& slot = reversed_[in_call_order.size() - 1 - i];
    VariantInit(&slot);
    VariantCopy(&slot, const_cast<VARIANT*>(&in_call_order[i].Get()));  // older headers lack const
  }
}

DispatchArguments::~DispatchArguments() {
  for (VARIANT& v : reversed_) VariantClear(&v);
}

DISPPARAMS* DispatchArguments::Params() {
  params_.rgvarg = reversed_.empty() ? nullptr : reversed_.data();
  params_.rgdispidNamedArgs = nullptr;
  params_.cArgs = static_cast<UINT>(reversed_.size());
  params_.cNamedArgs = 0;
  return &params_;
}

HRESULT InvokeDispatch(IDispatch* target, DISPID id, WORD flags, const std::vector<Variant>& args,
                       Variant* result, EXCEPINFO* excep) {
  if (!target) return E_POINTER;
  DispatchArguments arguments(args);
  Variant ignored;
  EXCEPINFO local{};
  UINT arg_err = 0;
  HRESULT hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, arguments.Params(),
                              (result ? result : &ignored)->Receive(), excep ? excep : &local, &arg_err);
  FreeExceptionTexts(local);
  return hr;
}

// ---- Answering --------------------------------------------------------------------------------------

void DispatchCall::SetResult(Variant value) {
  if (!result_) return;
  VariantClear(result_);
  *result_ = value.Detach();
}

void DispatchTable::Add(DISPID id, const OLECHAR* name, WORD kinds, DispatchHandler handler) {
  members_[id] = Member{name ? ComString(name) : ComString(), kinds, std::move(handler)};
}

HRESULT DispatchTable::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) const {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (count == 0) return S_OK;
  if (!names || !ids) return E_POINTER;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (!names[0]) return DISP_E_UNKNOWNNAME;
  for (const auto& [id, member] : members_) {
    if (!member.name.empty() && SameNameIgnoringCase(member.name, names[0])) {
      ids[0] = id;
      return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchTable::Invoke(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                              UINT* arg_err) const {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_INVALIDARG;
  if (params->cArgs > 0 && !params->rgvarg) return E_INVALIDARG;
  auto it = members_.find(id);
  if (it == members_.end() || !(it->second.kinds & flags)) return DISP_E_MEMBERNOTFOUND;
  // Only a property put names its one argument (DISPID_PROPERTYPUT).
  bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (params->cNamedArgs > 0 && !(put && params->cNamedArgs == 1 && params->rgdispidNamedArgs &&
                                  params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT))
    return DISP_E_NONAMEDARGS;
  if (result) VariantInit(result);
  DispatchCall call(flags, *params, result);
  HRESULT hr = it->second.handler(call);
  if (FAILED(hr) && arg_err) *arg_err = call.FailedArgument();
  return hr;
}

}  // namespace world
