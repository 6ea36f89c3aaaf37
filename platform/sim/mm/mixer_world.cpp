// The world's side of the mixers.
#include <sim/mixers.h>

namespace sim {

const char* MixerLineName(MixerLine line) {
  switch (line) {
    case MixerLine::kSpeakers:
      return "speakers";
    case MixerLine::kWaveIn:
      return "wavein";
    case MixerLine::kWaveOut:
      return "waveout";
  }
  return "";
}
std::optional<MixerLine> ParseMixerLine(const std::string&) { return std::nullopt; }
DWORD MixerLineComponentType(MixerLine) { return 0; }
bool AddMixer(const std::u16string&, DWORD, bool) { return false; }
bool RemoveMixer(const std::u16string&) { return false; }
bool SetMixerVolume(const std::u16string&, MixerLine, const std::vector<DWORD>&) { return false; }
std::optional<std::vector<DWORD>> MixerVolumes(const std::u16string&, MixerLine) { return std::nullopt; }
bool FailMixer(const std::u16string&, bool) { return false; }
std::vector<MixerState> Mixers() { return {}; }

}  // namespace sim
