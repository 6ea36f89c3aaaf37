// The handset's model code decides which channel and speaker operations it has.
#pragma once

#include <windows.h>

// USB/PSTN line adaptors.
inline bool IsAdaptor(DWORD model) { return model >= 0x500 && model <= 0x58F; }
// Adaptors whose line is read and switched with GetChannel/SetChannel.
inline bool IsChannelGroup1(DWORD model) {
  return (model >= 0x520 && model <= 0x53F) || (model >= 0x570 && model <= 0x58F);
}
// Adaptors whose line is read and switched with GetChannel2/SetChannel2.
inline bool IsChannelGroup2(DWORD model) { return model >= 0x540 && model <= 0x56F; }
// Handsets with a speaker switched by SetSpeakerA.
inline bool IsSpeakerGroupA(DWORD model) { return model >= 0x200 && model <= 0x4FF; }
// Handsets of the second kind: hook events come as HookChangedB, speaker by SetSpeakerB.
inline bool IsSpeakerGroupB(DWORD model) { return model >= 0xAB0 && model <= 0xAFF; }

// Channel values of the adaptors.
const SHORT CHANNEL_PSTN = 0;
const SHORT CHANNEL_USB = 1;
