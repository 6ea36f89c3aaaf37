// Numeric conversions between VARIANT types.
#include "com/variant_number.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <type_traits>

namespace sim::com {

namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;
constexpr double kCurrencyScale = 10000.0;
// The dates a DATE can hold: 1 January 100 to 31 December 9999.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958465.99999999;

// Rounds half to even, as automation does when a real becomes an integer.
double RoundHalfEven(double d) { return d - std::remainder(d, 1.0); }

// Converts `n` to integer type T, or reports DISP_E_OVERFLOW.
template <typename T>
HRESULT FitInteger(const Number& n, T* out) {
  using Limits = std::numeric_limits<T>;
  switch (n.kind) {
    case Number::Kind::kSigned:
      if constexpr (std::is_signed_v<T>) {
        if (n.s < static_cast<int64_t>(Limits::min()) || n.s > static_cast<int64_t>(Limits::max()))
          return DISP_E_OVERFLOW;
      } else {
        if (n.s < 0 || static_cast<uint64_t>(n.s) > static_cast<uint64_t>(Limits::max()))
          return DISP_E_OVERFLOW;
      }
      *out = static_cast<T>(n.s);
      return S_OK;
    case Number::Kind::kUnsigned:
      if (n.u > static_cast<uint64_t>(Limits::max())) return DISP_E_OVERFLOW;
      *out = static_cast<T>(n.u);
      return S_OK;
    case Number::Kind::kReal: {
      if (!std::isfinite(n.d)) return DISP_E_OVERFLOW;
      double r = RoundHalfEven(n.d);
      if constexpr (std::is_signed_v<T>) {
        if (r < -kTwoTo63 || r >= kTwoTo63) return DISP_E_OVERFLOW;
        return FitInteger(Number::Signed(static_cast<int64_t>(r)), out);
      } else {
        if (r < 0 || r >= kTwoTo64) return DISP_E_OVERFLOW;
        return FitInteger(Number::Unsigned(static_cast<uint64_t>(r)), out);
      }
    }
  }
  return DISP_E_TYPEMISMATCH;
}

double AsDouble(const Number& n) {
  switch (n.kind) {
    case Number::Kind::kSigned:
      return static_cast<double>(n.s);
    case Number::Kind::kUnsigned:
      return static_cast<double>(n.u);
    case Number::Kind::kReal:
      return n.d;
  }
  return 0;
}

template <typename T>
HRESULT Store(const Number& n, T* field) {
  T value;
  HRESULT hr = FitInteger(n, &value);
  if (SUCCEEDED(hr)) *field = value;
  return hr;
}

std::string FormatReal(double d, int significant_digits) {
  char buffer[40];
  std::snprintf(buffer, sizeof(buffer), "%.*G", significant_digits, d);
  return buffer;
}

// Currency keeps four decimals; the text shows only those that are not zero.
std::string FormatCurrency(double d) {
  char buffer[48];
  std::snprintf(buffer, sizeof(buffer), "%.4f", d);
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

bool Number::IsZero() const {
  switch (kind) {
    case Kind::kSigned:
      return s == 0;
    case Kind::kUnsigned:
      return u == 0;
    case Kind::kReal:
      return d == 0;
  }
  return true;
}

HRESULT NumberFromValue(const VARIANT& value, Number* out) {
  switch (value.vt) {
    case VT_EMPTY:
      *out = Number::Signed(0);
      return S_OK;
    case VT_BOOL:  // automation treats a boolean as the 16-bit integer 0 or -1
    case VT_I2:
      *out = Number::Signed(value.iVal);
      return S_OK;
    case VT_I1:
      *out = Number::Signed(static_cast<signed char>(value.cVal));
      return S_OK;
    case VT_I4:
      *out = Number::Signed(value.lVal);
      return S_OK;
    case VT_INT:
      *out = Number::Signed(value.intVal);
      return S_OK;
    case VT_I8:
      *out = Number::Signed(value.llVal);
      return S_OK;
    case VT_UI1:
      *out = Number::Unsigned(value.bVal);
      return S_OK;
    case VT_UI2:
      *out = Number::Unsigned(value.uiVal);
      return S_OK;
    case VT_UI4:
      *out = Number::Unsigned(value.ulVal);
      return S_OK;
    case VT_UINT:
      *out = Number::Unsigned(value.uintVal);
      return S_OK;
    case VT_UI8:
      *out = Number::Unsigned(value.ullVal);
      return S_OK;
    case VT_R4:
      *out = Number::Real(value.fltVal);
      out->single_precision = true;
      return S_OK;
    case VT_R8:
    case VT_DATE:
      *out = Number::Real(value.dblVal);
      return S_OK;
    case VT_CY:
      *out = Number::Real(static_cast<double>(value.cyVal.int64) / kCurrencyScale);
      out->currency = true;
      return S_OK;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

HRESULT NumberFromText(const std::u16string& text, Number* out) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  // Rebuild the number as plain ASCII without group separators, checking its shape.
  std::string ascii;
  size_t i = begin;
  if (i < end && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') ascii += '-';
    ++i;
  }
  size_t int_digits = 0, frac_digits = 0;
  for (; i < end; ++i) {
    if (IsDigit(text[i])) {
      ascii += static_cast<char>(text[i]);
      ++int_digits;
    } else if (text[i] == u',' && int_digits > 0 && i + 1 < end && IsDigit(text[i + 1])) {
      continue;
    } else {
      break;
    }
  }
  bool integral = true;
  if (i < end && text[i] == u'.') {
    integral = false;
    ascii += '.';
    for (++i; i < end && IsDigit(text[i]); ++i, ++frac_digits) ascii += static_cast<char>(text[i]);
  }
  if (int_digits + frac_digits == 0) return DISP_E_TYPEMISMATCH;
  if (i < end && (text[i] == u'e' || text[i] == u'E')) {
    integral = false;
    ascii += 'e';
    ++i;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) ascii += static_cast<char>(text[i++]);
    size_t exp_digits = 0;
    for (; i < end && IsDigit(text[i]); ++i, ++exp_digits) ascii += static_cast<char>(text[i]);
    if (exp_digits == 0) return DISP_E_TYPEMISMATCH;
  }
  if (i != end) return DISP_E_TYPEMISMATCH;

  const char* first = ascii.data();
  const char* last = ascii.data() + ascii.size();
  if (integral) {
    // Exact when it fits 64 bits; larger integers go on as reals.
    if (ascii[0] == '-') {
      int64_t v;
      if (std::from_chars(first, last, v).ec == std::errc()) {
        *out = Number::Signed(v);
        return S_OK;
      }
    } else {
      uint64_t v;
      if (std::from_chars(first, last, v).ec == std::errc()) {
        *out = Number::Unsigned(v);
        return S_OK;
      }
    }
  }
  double d;
  auto result = std::from_chars(first, last, d);
  if (result.ec == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
  if (result.ec != std::errc() || result.ptr != last) return DISP_E_TYPEMISMATCH;
  *out = Number::Real(d);
  return S_OK;
}

HRESULT NumberToValue(const Number& n, VARTYPE vt, VARIANT* out) {
  VariantInit(out);
  HRESULT hr = S_OK;
  switch (vt) {
    case VT_I1: {
      signed char v = 0;
      hr = FitInteger(n, &v);
      out->cVal = static_cast<CHAR>(v);
      break;
    }
    case VT_UI1:
      hr = Store(n, &out->bVal);
      break;
    case VT_I2:
      hr = Store(n, &out->iVal);
      break;
    case VT_UI2:
      hr = Store(n, &out->uiVal);
      break;
    case VT_I4:
      hr = Store(n, &out->lVal);
      break;
    case VT_UI4:
      hr = Store(n, &out->ulVal);
      break;
    case VT_INT:
      hr = Store(n, &out->intVal);
      break;
    case VT_UINT:
      hr = Store(n, &out->uintVal);
      break;
    case VT_I8:
      hr = Store(n, &out->llVal);
      break;
    case VT_UI8:
      hr = Store(n, &out->ullVal);
      break;
    case VT_R4: {
      double d = AsDouble(n);
      if (std::isfinite(d) && std::fabs(d) > FLT_MAX) return DISP_E_OVERFLOW;
      out->fltVal = static_cast<float>(d);
      break;
    }
    case VT_R8:
      out->dblVal = AsDouble(n);
      break;
    case VT_DATE: {
      double d = AsDouble(n);
      if (!(d >= kMinDate && d <= kMaxDate)) return DISP_E_OVERFLOW;
      out->date = d;
      break;
    }
    case VT_CY: {
      double scaled = RoundHalfEven(AsDouble(n) * kCurrencyScale);
      if (!(scaled >= -kTwoTo63 && scaled < kTwoTo63)) return DISP_E_OVERFLOW;
      out->cyVal.int64 = static_cast<LONGLONG>(scaled);
      break;
    }
    case VT_BOOL:
      out->boolVal = n.IsZero() ? VARIANT_FALSE : VARIANT_TRUE;
      break;
    default:
      return DISP_E_TYPEMISMATCH;
  }
  if (FAILED(hr)) return hr;
  out->vt = vt;
  return S_OK;
}

std::u16string NumberToText(const Number& n) {
  std::string text;
  switch (n.kind) {
    case Number::Kind::kSigned:
      text = std::to_string(n.s);
      break;
    case Number::Kind::kUnsigned:
      text = std::to_string(n.u);
      break;
    case Number::Kind::kReal:
      text = n.currency ? FormatCurrency(n.d) : FormatReal(n.d, n.single_precision ? 7 : 15);
      break;
  }
  return std::u16string(text.begin(), text.end());
}

}  // namespace sim::com
