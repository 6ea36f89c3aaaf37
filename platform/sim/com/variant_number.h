// Numbers on their way between VARIANT types: reading a value as a number, storing a number as
// a given type with Windows' range checks and rounding, and the text forms of numbers.
#pragma once

#include <oleauto.h>

#include <cstdint>
#include <string>

namespace sim::com {

struct Number {
  enum class Kind { kSigned, kUnsigned, kReal };
  Kind kind = Kind::kSigned;
  int64_t s = 0;
  uint64_t u = 0;
  double d = 0;
  bool single_precision = false;  // came from VT_R4: formats with 7 significant digits
  bool currency = false;          // came from VT_CY: formats with at most 4 decimals

  static Number Signed(int64_t v) { return Number{Kind::kSigned, v, 0, 0, false, false}; }
  static Number Unsigned(uint64_t v) { return Number{Kind::kUnsigned, 0, v, 0, false, false}; }
  static Number Real(double v) { return Number{Kind::kReal, 0, 0, v, false, false}; }
  bool IsZero() const;
};

// Reads a numeric, boolean or empty value (by value, not VT_BYREF) as a number.
// DISP_E_TYPEMISMATCH for other types.
HRESULT NumberFromValue(const VARIANT& value, Number* out);
// Parses decimal text: blanks around it, a sign, digits with optional thousands commas, a
// fraction and an exponent. DISP_E_TYPEMISMATCH when it is not a number.
HRESULT NumberFromText(const std::u16string& text, Number* out);
// Stores `n` as numeric type `vt` (not VT_BSTR) in `out`: DISP_E_OVERFLOW when it does not fit;
// reals round half to even when they become integers.
HRESULT NumberToValue(const Number& n, VARTYPE vt, VARIANT* out);
// The text of a number as a string variant shows it.
std::u16string NumberToText(const Number& n);

}  // namespace sim::com
