// Messenger's objects in a program's process, forwarding every call to msnmsgr.exe: each holds
// the late-bound front of its counterpart there (world/messenger_exe/remote_protocol.h) and turns
// a call of its vtable slot into Invoke(slot, args) on it, returning the front's HRESULT (or the
// failure of the call itself, when msnmsgr.exe is gone). Objects the front returns come back as
// forwarding objects of their own interface; so do the objects of events, which reach the
// program's sink on the thread that advised it.
#pragma once

#include <ole2.h>

#include "world/common/com_ptr.h"

namespace world::messenger::remote {

// Messenger's root object (IMessenger, IConnectionPointContainer) over its front.
ComPtr<IDispatch> MakeMessengerClient(ComPtr<IDispatch> front);

}  // namespace world::messenger::remote
