// The handset control's identity as the program sees it: its class id, the id of its event
// dispinterface, and the dispatch ids of its methods (the event ids are EventId in device.h).
#pragma once

#include <ole2.h>

// {797E1292-653D-43DD-AE7E-F6606A73C647}
#define TELLBUD_CLSID_HANDSET_CONTROL_TEXT TEXT("{797E1292-653D-43DD-AE7E-F6606A73C647}")
// {D5135A49-33A6-463C-AA11-DECC69875ACD}: the event dispinterface; the control's only connection
// point, listed by EnumConnectionPoints and found by FindConnectionPoint.
#define TELLBUD_DIID_HANDSET_EVENTS_TEXT TEXT("{D5135A49-33A6-463C-AA11-DECC69875ACD}")

namespace world::handset {

inline constexpr CLSID kClsidHandsetControl = {
    0x797E1292, 0x653D, 0x43DD, {0xAE, 0x7E, 0xF6, 0x60, 0x6A, 0x73, 0xC6, 0x47}};
inline constexpr IID kDiidHandsetEvents = {
    0xD5135A49, 0x33A6, 0x463C, {0xAA, 0x11, 0xDE, 0xCC, 0x69, 0x87, 0x5A, 0xCD}};

enum MethodId : DISPID {
  kOpenDevice = 1,
  kCloseDevice = 2,
  kGetModelCode = 3,
  kSetRing = 11,
  kAcknowledgeKey = 12,
  kSetIdle = 13,
  kShowDialString = 14,
  kShowIncomingCall = 18,
  kShowTalking = 19,
  kGetChannel = 23,
  kSetChannel = 24,
  kGetChannel2 = 28,
  kSetChannel2 = 29,
  kSetSpeakerB = 41,
  kSetSpeakerA = 43,
  kGetLevel = 45,
  kSetLevel = 46,
  kSetDefaultChannel = 48,
  kSetDefaultChannel2 = 49,
};

}  // namespace world::handset
