// Automation by dispatch identifier, both ways. Portable over the Windows COM headers.
//
// Calling: DispatchArguments holds arguments given in call order and hands IDispatch::Invoke
// the DISPPARAMS it expects, last argument first. CallMethod does the whole call.
//
// Answering: a DispatchTable maps dispatch ids (and names) to handlers, checks what Invoke
// gets, and passes the arguments back in call order. Typed handlers take and return the C++
// types of world/common/variant.h:
//
//   members.Method(1, TEXT("OpenDevice"), [this](LONG reserved) { return Open(reserved); });
//
// DispatchImpl<Base> implements IDispatch over such a table for a ComObject; DispatchObject<I...>
// is the usual combination.
#pragma once

#include <functional>
#include <map>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "world/common/com_object.h"
#include "world/common/variant.h"

namespace world {

class DispatchArguments {
 public:
  DispatchArguments() = default;
  explicit DispatchArguments(const std::vector<Variant>& in_call_order);
  ~DispatchArguments();
  DispatchArguments(const DispatchArguments&) = delete;
  DispatchArguments& operator=(const DispatchArguments&) = delete;

  template <typename... A>
  static std::vector<Variant> List(const A&... args) {
    return std::vector<Variant>{Variant::From(args)...};
  }

  // Valid while this object lives.
  DISPPARAMS* Params();

 private:
  std::vector<VARIANT> reversed_;
  DISPPARAMS params_{};
};

// Calls member `id` of `target` with `flags` (DISPATCH_METHOD, ...). `result` and `excep` may be
// null; exception texts are freed when `excep` is null.
HRESULT InvokeDispatch(IDispatch* target, DISPID id, WORD flags, const std::vector<Variant>& args,
                       Variant* result = nullptr, EXCEPINFO* excep = nullptr);

template <typename... A>
HRESULT CallMethod(IDispatch* target, DISPID id, const A&... args) {
  return InvokeDispatch(target, id, DISPATCH_METHOD, DispatchArguments::List(args...));
}

// One incoming Invoke as a handler sees it.
class DispatchCall {
 public:
  DispatchCall(WORD flags, const DISPPARAMS& params, VARIANT* result)
      : flags_(flags), params_(params), result_(result) {}

  WORD Flags() const { return flags_; }
  UINT ArgCount() const { return params_.cArgs; }
  // Argument `index` in call order (the first argument the caller wrote is 0).
  const VARIANT& Arg(UINT index) const { return params_.rgvarg[params_.cArgs - 1 - index]; }
  // Reads argument `index` as T (see variant.h). A failure is remembered for the caller's
  // puArgErr and returned (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW, DISP_E_PARAMNOTOPTIONAL).
  template <typename T>
  HRESULT Get(UINT index, T* out);
  // The value the caller receives; ignored when the caller asked for none.
  void SetResult(Variant value);
  // The DISPPARAMS position of the argument that could not be read.
  UINT FailedArgument() const { return failed_argument_; }

 private:
  WORD flags_;
  const DISPPARAMS& params_;
  VARIANT* result_;
  UINT failed_argument_ = 0;
};

using DispatchHandler = std::function<HRESULT(DispatchCall&)>;

class DispatchTable {
 public:
  // Adds (or replaces) member `id`, answering the call kinds in `kinds` (DISPATCH_METHOD, ...).
  void Add(DISPID id, const OLECHAR* name, WORD kinds, DispatchHandler handler);
  template <typename F>
  void Method(DISPID id, const OLECHAR* name, F f) {
    Add(id, name, DISPATCH_METHOD, Typed(std::function(std::move(f))));
  }
  template <typename F>
  void PropertyGet(DISPID id, const OLECHAR* name, F f) {
    Add(id, name, DISPATCH_PROPERTYGET, Typed(std::function(std::move(f))));
  }

  // IDispatch::GetIDsOfNames: the member's id for the first name (letter case ignored);
  // parameter names are not known (DISP_E_UNKNOWNNAME, DISPID_UNKNOWN).
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) const;
  // IDispatch::Invoke.
  HRESULT Invoke(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 UINT* arg_err) const;

 private:
  struct Member {
    ComString name;
    WORD kinds = 0;
    DispatchHandler handler;
  };

  template <typename R, typename... A>
  static DispatchHandler Typed(std::function<R(A...)> f);

  std::map<DISPID, Member> members_;
};

// IDispatch over a DispatchTable, for a ComObject whose interfaces include one derived from
// IDispatch. There is no type information.
template <typename Base>
class DispatchImpl : public Base {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
  }
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return members_.GetIDsOfNames(riid, names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT* arg_err) override {
    return members_.Invoke(id, riid, flags, params, result, arg_err);
  }

 protected:
  DispatchTable& Members() { return members_; }

 private:
  DispatchTable members_;
};

template <typename... Interfaces>
using DispatchObject = DispatchImpl<ComObject<Interfaces...>>;

// ---- Templates --------------------------------------------------------------------------------------

template <typename T>
HRESULT DispatchCall::Get(UINT index, T* out) {
  HRESULT hr = DISP_E_PARAMNOTOPTIONAL;
  if (index < ArgCount()) {
    const VARIANT& arg = Arg(index);
    // An omitted optional argument arrives as VT_ERROR DISP_E_PARAMNOTFOUND; only a Variant
    // parameter may take it.
    bool omitted = arg.vt == VT_ERROR && arg.scode == DISP_E_PARAMNOTFOUND;
    if (!omitted || std::is_same_v<T, Variant>) hr = Variant::Copy(arg).To(out);
  }
  if (FAILED(hr)) failed_argument_ = index < ArgCount() ? ArgCount() - 1 - index : 0;
  return hr;
}

template <typename R, typename... A>
DispatchHandler DispatchTable::Typed(std::function<R(A...)> f) {
  return [f = std::move(f)](DispatchCall& call) -> HRESULT {
    if (call.ArgCount() != sizeof...(A)) return DISP_E_BADPARAMCOUNT;
    std::tuple<std::decay_t<A>...> args;
    HRESULT hr = S_OK;
    [&]<size_t... I>(std::index_sequence<I...>) {
      ((hr = SUCCEEDED(hr) ? call.Get(static_cast<UINT>(I), &std::get<I>(args)) : hr), ...);
    }
    (std::index_sequence_for<A...>{});
    if (FAILED(hr)) return hr;
    if constexpr (std::is_void_v<R>) {
      std::apply(f, args);
    } else {
      call.SetResult(Variant::From(std::apply(f, args)));
    }
    return S_OK;
  };
}

}  // namespace world
