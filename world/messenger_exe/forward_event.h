// Passing an event on between processes: msnmsgr.exe hands the stand-in's events to a remote
// sink with their objects as fronts, and the forwarding DLL hands them to the program's sink
// with those fronts as forwarding objects.
#pragma once

#include <ole2.h>

#include <functional>

#include "world/common/com_ptr.h"

namespace world::messenger::remote {

// Calls `sink` with event `id` and the arguments of `params`, each object argument replaced by
// what `convert` makes of it (nothing: the argument goes as VT_EMPTY). Returns the sink's result.
HRESULT ForwardEvent(IDispatch* sink, DISPID id, const DISPPARAMS* params,
                     const std::function<ComPtr<IDispatch>(IDispatch*)>& convert);

}  // namespace world::messenger::remote
