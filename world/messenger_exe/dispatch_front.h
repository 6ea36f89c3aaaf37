// The late-bound fronts msnmsgr.exe hands out over COM: each wraps one of the stand-in's objects
// (world/messenger) and turns Invoke(slot, args) into the call of that vtable slot, returning
// the method's own HRESULT. Objects the method returns are wrapped in fronts too. On the
// Messenger front, Advise connects a remote sink through an adapter that hands it every event
// with its objects wrapped likewise.
#pragma once

#include <ole2.h>

#include "world/common/com_ptr.h"

namespace world::messenger::remote {

// The front of `object` (any interface of a stand-in object); null for an object of no known
// interface.
ComPtr<IDispatch> MakeFront(IUnknown* object);

}  // namespace world::messenger::remote
