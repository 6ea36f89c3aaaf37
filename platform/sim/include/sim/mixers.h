// The sound mixers of the desktop as the world sees them. Each mixer has the three lines a
// sound card offers for calls: the speakers destination, the wave-in (recording) destination,
// and the wave-out source connected to the speakers. Each line carries one volume control of
// `channels` channels (0..65535 each); a uniform control has one value for all its channels.
// Mixer ids are 0..n-1 in the order the mixers were added; removing one moves the later ones
// down, and handles open on the removed mixer fail from then on.
// Names are matched exactly; the world functions return false for an unknown name.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace sim {

enum class MixerLine { kSpeakers, kWaveIn, kWaveOut };

// "speakers", "wavein", "waveout" (as the transcript and the console write them).
const char* MixerLineName(MixerLine line);
std::optional<MixerLine> ParseMixerLine(const std::string& word);
// The component type of a line (MIXERLINE_COMPONENTTYPE_...).
DWORD MixerLineComponentType(MixerLine line);

struct MixerState {
  std::u16string name;
  DWORD channels = 2;
  bool uniform = false;
  bool failing = false;
  // One value per channel for each line (one value when uniform), indexed by MixerLine.
  std::vector<DWORD> volumes[3];
};

// Channel counts above this are refused (AddMixer returns false).
constexpr DWORD kMaxMixerChannels = 32;

// Adds a mixer at the end of the device list with every volume at 0xFFFF. False when the name
// is empty, longer than a product name can hold (31 characters), already used, or the channel
// count is above kMaxMixerChannels. A count of 0 makes a mixer whose lines report no channels.
bool AddMixer(const std::u16string& name, DWORD channels = 2, bool uniform = false);
bool RemoveMixer(const std::u16string& name);
// Sets a line's values as a person would with the sound settings (no transcript line). Values
// above 0xFFFF are clipped. `values` has one value per channel; a single value sets them all.
bool SetMixerVolume(const std::u16string& name, MixerLine line, const std::vector<DWORD>& values);
std::optional<std::vector<DWORD>> MixerVolumes(const std::u16string& name, MixerLine line);
// While failing, every call on the mixer (by id or by handle) fails with MMSYSERR_ERROR,
// except mixerClose, and its capabilities cannot be read.
bool FailMixer(const std::u16string& name, bool fail);
std::vector<MixerState> Mixers();  // in id order

}  // namespace sim
