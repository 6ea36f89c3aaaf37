#include "world/handset/methods.h"

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "world/core/reporter.h"
#include "world/handset/handset_ids.h"
#include "world/common/utf8.h"

namespace world::handset {

namespace {

enum class Type { kNone, kBool, kShort, kLong, kText };

struct Argument {
  LONG number = 0;
  std::string text;  // UTF-8, for kText
};
using Arguments = std::vector<Argument>;

using Run = std::function<LONG(Session&, const Arguments&)>;

struct Method {
  DISPID dispid;
  const char* name;
  std::vector<Type> params;
  Type result;
  Run run;
};

bool Flag(const Argument& a) { return a.number != 0; }
short Short(const Argument& a) { return static_cast<short>(a.number); }

// A method without a result.
template <typename F>
Run Do(F f) {
  return [f](Session& s, const Arguments& a) -> LONG {
    f(s, a);
    return 0;
  };
}

const std::vector<Method>& Methods() {
  using T = Type;
  using A = const Arguments&;
  constexpr auto kFirst = ChannelGroup::kFirst;
  constexpr auto kSecond = ChannelGroup::kSecond;
  // clang-format off
  static const std::vector<Method> methods = {
      {kOpenDevice, "OpenDevice", {T::kLong}, T::kBool, [](Session& s, A) -> LONG { return s.OpenDevice(); }},
      {kCloseDevice, "CloseDevice", {}, T::kNone, Do([](Session& s, A) { s.CloseDevice(); })},
      {kGetModelCode, "GetModelCode", {}, T::kLong, [](Session& s, A) -> LONG { return s.GetModelCode(); }},
      {kSetRing, "SetRing", {T::kBool, T::kShort}, T::kNone,
       Do([](Session& s, A a) { s.SetRing(Flag(a[0]), Short(a[1])); })},
      {kAcknowledgeKey, "AcknowledgeKey", {T::kShort}, T::kNone,
       Do([](Session& s, A a) { s.AcknowledgeKey(Short(a[0])); })},
      {kSetIdle, "SetIdle", {}, T::kNone, Do([](Session& s, A) { s.SetIdle(); })},
      {kShowDialString, "ShowDialString", {T::kText}, T::kNone,
       Do([](Session& s, A a) { s.ShowDialString(a[0].text); })},
      {kShowIncomingCall, "ShowIncomingCall", {T::kText}, T::kNone,
       Do([](Session& s, A a) { s.ShowIncomingCall(a[0].text); })},
      {kShowTalking, "ShowTalking", {T::kText}, T::kNone,
       Do([](Session& s, A a) { s.ShowTalking(a[0].text); })},
      {kGetChannel, "GetChannel", {}, T::kShort,
       [](Session& s, A) -> LONG { return s.GetChannel(kFirst); }},
      {kGetChannel2, "GetChannel2", {}, T::kShort,
       [](Session& s, A) -> LONG { return s.GetChannel(kSecond); }},
      {kSetChannel, "SetChannel", {T::kShort}, T::kNone,
       Do([](Session& s, A a) { s.SetChannel(kFirst, Short(a[0])); })},
      {kSetChannel2, "SetChannel2", {T::kShort}, T::kNone,
       Do([](Session& s, A a) { s.SetChannel(kSecond, Short(a[0])); })},
      {kSetDefaultChannel, "SetDefaultChannel", {T::kShort}, T::kNone,
       Do([](Session& s, A a) { s.SetDefaultChannel(kFirst, Short(a[0])); })},
      {kSetDefaultChannel2, "SetDefaultChannel2", {T::kShort}, T::kNone,
       Do([](Session& s, A a) { s.SetDefaultChannel(kSecond, Short(a[0])); })},
      {kSetSpeakerB, "SetSpeakerB", {T::kBool}, T::kNone,
       Do([](Session& s, A a) { s.SetSpeakerB(Flag(a[0])); })},
      {kSetSpeakerA, "SetSpeakerA", {T::kShort}, T::kNone,
       Do([](Session& s, A a) { s.SetSpeakerA(Flag(a[0])); })},
      {kGetLevel, "GetLevel", {}, T::kShort, [](Session& s, A) -> LONG { return s.GetLevel(); }},
      {kSetLevel, "SetLevel", {T::kShort}, T::kNone,
       Do([](Session& s, A a) { s.SetLevel(Short(a[0])); })},
  };
  // clang-format on
  return methods;
}

const Method* Find(DISPID dispid) {
  for (const Method& m : Methods())
    if (m.dispid == dispid) return &m;
  return nullptr;
}

// Looks through one level of VT_BYREF|VT_VARIANT, as automation callers may pass.
const VARIANT* Unwrap(const VARIANT& v) {
  if (v.vt == (VT_BYREF | VT_VARIANT)) return v.pvarVal;
  return &v;
}

HRESULT ReadNumber(const VARIANT& v, LONG* out) {
  switch (v.vt) {
    case VT_I2:
      *out = v.iVal;
      return S_OK;
    case VT_I4:
      *out = v.lVal;
      return S_OK;
    case VT_BOOL:
      *out = v.boolVal;
      return S_OK;
    case VT_BYREF | VT_I2:
      if (!v.piVal) break;
      *out = *v.piVal;
      return S_OK;
    case VT_BYREF | VT_I4:
      if (!v.plVal) break;
      *out = *v.plVal;
      return S_OK;
    case VT_BYREF | VT_BOOL:
      if (!v.pboolVal) break;
      *out = *v.pboolVal;
      return S_OK;
    default:
      break;
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT ReadText(const VARIANT& v, std::string* out) {
  BSTR text = nullptr;
  if (v.vt == VT_BSTR) {
    text = v.bstrVal;
  } else if (v.vt == (VT_BYREF | VT_BSTR) && v.pbstrVal) {
    text = *v.pbstrVal;
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  *out = text ? Utf8Of(text, SysStringLen(text)) : std::string();
  return S_OK;
}

HRESULT ReadArgument(const VARIANT& raw, Type type, Argument* out) {
  const VARIANT* v = Unwrap(raw);
  if (!v) return DISP_E_TYPEMISMATCH;
  if (type == Type::kText) return ReadText(*v, &out->text);
  HRESULT hr = ReadNumber(*v, &out->number);
  if (FAILED(hr)) return hr;
  if (type == Type::kShort &&
      (out->number < std::numeric_limits<SHORT>::min() || out->number > std::numeric_limits<SHORT>::max()))
    return DISP_E_OVERFLOW;
  return S_OK;
}

std::string FormatValue(Type type, const Argument& a) {
  switch (type) {
    case Type::kBool:
      return a.number ? "TRUE" : "FALSE";
    case Type::kText:
      return Quote(a.text);
    default:
      return std::to_string(a.number);
  }
}

std::string FormatCall(const Method& m, const Arguments& args, LONG result) {
  std::string line = std::string(m.name) + "(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i) line += ", ";
    line += FormatValue(m.params[i], args[i]);
  }
  line += ")";
  if (m.result != Type::kNone) line += " -> " + FormatValue(m.result, Argument{result, {}});
  return line;
}

void StoreResult(Type type, LONG value, VARIANT* out) {
  switch (type) {
    case Type::kBool:
      out->vt = VT_BOOL;
      out->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case Type::kShort:
      out->vt = VT_I2;
      out->iVal = static_cast<SHORT>(value);
      break;
    case Type::kLong:
      out->vt = VT_I4;
      out->lVal = static_cast<LONG>(value);
      break;
    default:
      out->vt = VT_EMPTY;
      break;
  }
}

}  // namespace

bool IsMethod(DISPID dispid) { return Find(dispid) != nullptr; }

HRESULT InvokeMethod(Session& session, DISPID dispid, WORD flags, const DISPPARAMS* params, VARIANT* result,
                     UINT* arg_err) {
  const Method* m = Find(dispid);
  if (!m || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (!params) return E_INVALIDARG;
  if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (params->cArgs != m->params.size()) return DISP_E_BADPARAMCOUNT;
  if (params->cArgs && !params->rgvarg) return E_INVALIDARG;

  Arguments args(m->params.size());
  for (UINT i = 0; i < params->cArgs; ++i) {
    UINT index = params->cArgs - 1 - i;  // the first argument comes last
    HRESULT hr = ReadArgument(params->rgvarg[index], m->params[i], &args[i]);
    if (FAILED(hr)) {
      if (arg_err) *arg_err = index;
      return hr;
    }
  }

  LONG value = m->run(session, args);
  if (Reporter* reporter = session.device().reporter())
    reporter->Report("handset", FormatCall(*m, args, value));
  if (result) StoreResult(m->result, value, result);
  return S_OK;
}

}  // namespace world::handset
