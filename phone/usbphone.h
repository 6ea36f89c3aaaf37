// CUSBPHONE: the USB phone control hosted in the main window, called by dispatch id. It keeps
// no data of its own; results of the control's methods are used as returned.
#pragma once

#include <windows.h>

#include <framework/activex.h>
#include <framework/cstring.h>

// Events of the control, by dispatch id.
enum UsbPhoneEvent : DISPID {
  USBPHONE_EVENT_DEVICE_REMOVED = 1,
  USBPHONE_EVENT_KEY_PRESSED = 2,
  USBPHONE_EVENT_HOOK_CHANGED = 4,
  USBPHONE_EVENT_LINE_ACTIVITY = 5,
  USBPHONE_EVENT_HOOK_CHANGED_B = 7,
  USBPHONE_EVENT_LEVEL_KEY_PRESSED = 8,
};

class CUSBPHONE : public CActiveXControl {
 public:
  BOOL OpenDevice(long reserved) { return InvokeMethod<BOOL>(1, reserved); }
  void CloseDevice() { InvokeMethod(2); }
  long GetModelCode() { return InvokeMethod<long>(3); }
  void SetRing(BOOL ring, short style) { InvokeMethod(11, ring, style); }
  void AcknowledgeKey(short key) { InvokeMethod(12, key); }
  void SetIdle() { InvokeMethod(13); }
  void ShowDialString(LPCWSTR text) { InvokeMethod(14, text); }
  void ShowIncomingCall(LPCWSTR caller) { InvokeMethod(18, caller); }
  void ShowTalking(LPCWSTR contact) { InvokeMethod(19, contact); }
  short GetChannel() { return InvokeMethod<short>(23); }
  void SetChannel(short channel) { InvokeMethod(24, channel); }
  short GetChannel2() { return InvokeMethod<short>(28); }
  void SetChannel2(short channel) { InvokeMethod(29, channel); }
  void SetSpeakerB(BOOL on) { InvokeMethod(41, on); }
  void SetSpeakerA(short on) { InvokeMethod(43, on); }
  short GetLevel() { return InvokeMethod<short>(45); }
  void SetLevel(short level) { InvokeMethod(46, level); }
  void SetDefaultChannel(short channel) { InvokeMethod(48, channel); }
  void SetDefaultChannel2(short channel) { InvokeMethod(49, channel); }
};
