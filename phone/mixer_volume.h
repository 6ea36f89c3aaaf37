// The volumes of a sound device's mixer, as the Option dialog shows and sets them: a line's
// volume control, found by the line's component type, with one value of 0..65535 per channel.
#pragma once

#include <windows.h>
#include <mmsystem.h>

// The first mixer whose product name contains `namePart`, with the letters a-z compared without
// regard to case (no other folding), or -1.
int FindMixer(LPCWSTR namePart);
// Whether the mixer at `index` has a product name containing `namePart` (compared as above).
BOOL MixerNameContains(int index, LPCWSTR namePart);

// The average of the channels of the volume control of the line of `componentType`; 0 when the
// mixer has no such line or control.
DWORD GetLineVolume(HMIXER hMixer, DWORD componentType);
// Sets every channel of that control to `volume`; nothing when there is no such control.
void SetLineVolume(HMIXER hMixer, DWORD componentType, DWORD volume);

// A mixer volume as a slider position of 0..100, and back.
int VolumeToPosition(DWORD volume);
DWORD PositionToVolume(int position);
