// The handset maker's control as the program hosts it: IDispatch for the methods (by dispatch
// id only; see methods.h), IConnectionPointContainer with one connection point for the event
// dispinterface kDiidHandsetEvents, announced as the default source by IProvideClassInfo2, and
// IOleObject for its client site: events are raised only while it has one. Portable over the Windows API and COM headers, so that it
// can also be served in-process on Windows.
//
// The control raises its events on the thread that created it: the device tells the control
// on the world's thread, the control posts the event to a hidden message-only window of its
// creating thread, and that window's procedure fires it to every advised sink when the
// thread's message loop runs (key codes as VT_I2, flags as VT_BOOL).
#pragma once

#include <ocidl.h>

#include <memory>

#include "world/handset/device.h"

namespace world::handset {

// Creates a control over `device` on the calling thread and asks it for `riid`. On failure
// *ppv is null: E_NOINTERFACE for an interface it lacks, E_FAIL when its window could not be
// made.
HRESULT CreateHandsetControl(std::shared_ptr<Device> device, REFIID riid, void** ppv);

}  // namespace world::handset
