// The world's sound devices over the desktop's mixers.
#include "world/core/sound_devices.h"

#include "world/core/text.h"

namespace world {

SoundDevices::SoundDevices() { sim::AddMixer(Utf16(kBuiltInMixerName)); }
bool SoundDevices::AddMixer(const std::string& name, DWORD channels, bool uniform) {
  return sim::AddMixer(Utf16(name), channels, uniform);
}
bool SoundDevices::RemoveMixer(const std::string& name) { return sim::RemoveMixer(Utf16(name)); }
bool SoundDevices::SetMixerVolume(const std::string& name, sim::MixerLine line,
                                  const std::vector<DWORD>& values) {
  return sim::SetMixerVolume(Utf16(name), line, values);
}
std::optional<std::vector<DWORD>> SoundDevices::MixerVolumes(const std::string& name,
                                                             sim::MixerLine line) const {
  return sim::MixerVolumes(Utf16(name), line);
}
bool SoundDevices::FailMixer(const std::string& name, bool fail) { return sim::FailMixer(Utf16(name), fail); }
std::vector<std::string> SoundDevices::MixerNames() const {
  std::vector<std::string> names;
  for (const sim::MixerState& m : sim::Mixers()) names.push_back(Utf8(m.name));
  return names;
}
void SoundDevices::HandsetPlugged(bool plugged) {
  if (plugged)
    AddMixer(kHandsetMixerName);
  else
    RemoveMixer(kHandsetMixerName);
}

}  // namespace world
