// The sound devices of the world: the desktop's mixers, seen by name. A built-in sound card is
// always there; the handset's own "USB Audio Device" mixer comes and goes with the handset.
// Every volume the program sets through mixerSetControlDetails is printed as
//   mixer "NAME" speakers|wavein|waveout V[ V...]
// (one value per channel) by the desktop reporter.
#pragma once

#include <sim/mixers.h>

#include <optional>
#include <string>
#include <vector>

namespace world {

inline constexpr const char* kBuiltInMixerName = "Realtek High Definition Audio";
inline constexpr const char* kHandsetMixerName = "USB Audio Device";

class SoundDevices {
 public:
  // Adds the built-in sound card.
  SoundDevices();

  // Names are UTF-8. All return false for an unknown (or, for AddMixer, unusable) name.
  bool AddMixer(const std::string& name, DWORD channels = 2, bool uniform = false);
  bool RemoveMixer(const std::string& name);
  bool SetMixerVolume(const std::string& name, sim::MixerLine line, const std::vector<DWORD>& values);
  std::optional<std::vector<DWORD>> MixerVolumes(const std::string& name, sim::MixerLine line) const;
  bool FailMixer(const std::string& name, bool fail);
  // Names in device id order.
  std::vector<std::string> MixerNames() const;

  // The handset's mixer follows the handset: added when it is plugged in (if not there yet),
  // removed when it is unplugged. Called by the world.
  void HandsetPlugged(bool plugged);
};

}  // namespace world
