// The control's methods by dispatch id: how each one's VARIANT arguments are read, what it asks
// of the device, the transcript line it reports and the VARIANT result it gives back.
//
// Arguments arrive in DISPPARAMS in reverse order. Numbers and flags accept VT_I2, VT_I4 and
// VT_BOOL (also by reference); a flag is TRUE when nonzero, VARIANT_TRUE reads as -1. Text is
// VT_BSTR (a null BSTR is empty text). Failures, with *arg_err set to the rgvarg index of the
// offending argument: DISP_E_TYPEMISMATCH for another type, DISP_E_OVERFLOW for a VT_I4 value
// outside a short's range. An unknown dispid or a call without DISPATCH_METHOD gives
// DISP_E_MEMBERNOTFOUND, named arguments DISP_E_NONAMEDARGS, a wrong count DISP_E_BADPARAMCOUNT.
#pragma once

#include <ole2.h>

#include "world/handset/device.h"

namespace world::handset {

// Runs one call of the program on `session`; reports it as "handset Name(args) -> result"
// through the device's reporter when it ran.
HRESULT InvokeMethod(Session& session, DISPID dispid, WORD flags, const DISPPARAMS* params, VARIANT* result,
                     UINT* arg_err);

// Whether `dispid` names one of the control's methods.
bool IsMethod(DISPID dispid);

}  // namespace world::handset
