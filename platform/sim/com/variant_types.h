// Which VARTYPEs a VARIANT may hold, and moving a value into a variant, shared by the VARIANT
// functions.
#pragma once

#include <oleauto.h>

#include <cstddef>

namespace sim::com {

// Whether `vt` is a type a VARIANT may legally carry (base type plus VT_BYREF / VT_ARRAY).
bool IsValidVariantType(VARTYPE vt);
// Whether this library can clear and copy a variant of type `vt` (valid, and not a SAFEARRAY or
// record held by value: this system never creates those).
bool IsManagedVariantType(VARTYPE vt);
// The size of a plain value of base type `vt` in the VARIANT's union, or 0 for types that need
// more than copying bytes (strings, interfaces, decimals).
size_t PlainValueSize(VARTYPE vt);
// Clears `dest` and moves `value` into it; when `dest` cannot be cleared, `value` is cleared
// instead and the error returned.
HRESULT MoveInto(VARIANTARG* dest, VARIANT& value);

}  // namespace sim::com
