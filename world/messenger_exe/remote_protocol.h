// How the forwarding DLL in a program's process reaches the Messenger stand-in process
// (msnmsgr.exe) under Windows: msnmsgr.exe serves a private class whose objects are late-bound
// fronts (IDispatch only, so that standard marshalling carries them without a type library) to
// Messenger's objects. A front's member ids are the vtable slots of the interface it fronts;
// a few ids above them serve the forwarding itself.
#pragma once

#include <ole2.h>

namespace world::messenger::remote {

// {D09F2D90-6D81-43BD-830C-55338F39EC9B}, registered as a local server (msnmsgr.exe).
inline constexpr CLSID kClsidMessengerFront = {
    0xD09F2D90, 0x6D81, 0x43BD, {0x83, 0x0C, 0x55, 0x33, 0x8F, 0x39, 0xEC, 0x9B}};
#define TELLBUD_CLSID_MESSENGER_FRONT_TEXT L"{D09F2D90-6D81-43BD-830C-55338F39EC9B}"

// A named event that exists exactly while msnmsgr.exe serves its class: the DLL looks for it
// before it asks COM, so that COM never starts a Messenger of its own.
#define TELLBUD_MESSENGER_SERVING_EVENT L"TellbudMessengerStandIn.Serving"

// What a front stands for, answered by kDispidKind.
enum class FrontKind : LONG {
  kMessenger = 1,     // IMessenger (and its events' connection point)
  kMainWindow = 2,    // IMessengerWindow
  kConversation = 3,  // IMessengerConversationWnd
  kContacts = 4,      // IMessengerContacts
  kContact = 5,       // IMessengerContact
};

// Property: the front's FrontKind (VT_I4).
constexpr DISPID kDispidKind = 0x7001;
// On the Messenger front: Advise(VT_DISPATCH sink) -> VT_I4 cookie; Unadvise(VT_I4 cookie).
// Events reach the sink as Invoke(event dispid, args) with objects as fronts.
constexpr DISPID kDispidAdvise = 0x7002;
constexpr DISPID kDispidUnadvise = 0x7003;

}  // namespace world::messenger::remote
