// The owned VARIANT.
#include "world/common/variant.h"

namespace world {

Variant::Variant(const Variant& other) {
  VariantInit(&v_);
  VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
}

Variant Variant::Copy(const VARIANT& value) {
  Variant result;
  VariantCopy(&result.v_, const_cast<VARIANT*>(&value));
  return result;
}

Variant Variant::Adopt(VARIANT* value) {
  Variant result;
  if (value) {
    result.v_ = *value;
    VariantInit(value);
  }
  return result;
}

Variant Variant::String(const OLECHAR* text) {
  Variant result;
  result.v_.bstrVal = SysAllocString(text);
  result.v_.vt = VT_BSTR;
  return result;
}

Variant Variant::String(const ComString& text) {
  Variant result;
  result.v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  result.v_.vt = VT_BSTR;
  return result;
}

Variant Variant::FromCode(SCODE code) {
  Variant result;
  result.v_.vt = VT_ERROR;
  result.v_.scode = code;
  return result;
}

VARIANT* Variant::Receive() {
  VariantClear(&v_);
  return &v_;
}

VARIANT Variant::Detach() {
  VARIANT out = v_;
  VariantInit(&v_);
  return out;
}

}  // namespace world
