// The mixers as the world handles them: added, removed, set and made to fail by name.
#include <algorithm>

#include "mm/mixer_devices.h"

#include "core/core.h"

namespace sim {
namespace mm {

Devices& CurrentDevices() { return Desktop::Current().Module<Devices>(); }

std::shared_ptr<Device> FindDevice(const std::u16string& name) {
  for (auto& device : CurrentDevices().list)
    if (device->state.name == name) return device;
  return nullptr;
}

std::optional<UINT> DeviceId(const Device& device) {
  const auto& list = CurrentDevices().list;
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == &device) return static_cast<UINT>(i);
  return std::nullopt;
}

namespace {

constexpr LineLayout kLayouts[kLineCount] = {
    {MixerLine::kSpeakers, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 0, 0, false, 0x00000000, 1,
     MIXERLINE_TARGETTYPE_WAVEOUT, u"Volume", u"Volume Control"},
    {MixerLine::kWaveIn, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, 1, 0, false, 0x00000001, 2,
     MIXERLINE_TARGETTYPE_WAVEIN, u"Recording", u"Recording Control"},
    {MixerLine::kWaveOut, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, 0, 0, true, 0x00010000, 3,
     MIXERLINE_TARGETTYPE_WAVEOUT, u"Wave", u"Wave"},
};

template <typename Pred>
const LineLayout* FindLayout(Pred pred) {
  for (const LineLayout& layout : kLayouts)
    if (pred(layout)) return &layout;
  return nullptr;
}

}  // namespace

const LineLayout& Layout(MixerLine line) { return kLayouts[static_cast<int>(line)]; }
const LineLayout* LayoutByLineId(DWORD id) {
  return FindLayout([id](const LineLayout& l) { return l.line_id == id; });
}
const LineLayout* LayoutByControlId(DWORD id) {
  return FindLayout([id](const LineLayout& l) { return l.control_id == id; });
}
const LineLayout* LayoutByComponentType(DWORD type) {
  return FindLayout([type](const LineLayout& l) { return l.component_type == type; });
}

void StoreVolumes(Device& device, MixerLine line, const std::vector<DWORD>& values) {
  std::vector<DWORD>& stored = device.state.volumes[static_cast<int>(line)];
  for (size_t i = 0; i < stored.size(); ++i) {
    DWORD value = values.size() == 1 || device.state.uniform ? values[0] : values[i];
    stored[i] = std::min<DWORD>(value, 0xFFFF);
  }
}

}  // namespace mm

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

std::optional<MixerLine> ParseMixerLine(const std::string& word) {
  for (MixerLine line : {MixerLine::kSpeakers, MixerLine::kWaveIn, MixerLine::kWaveOut})
    if (word == MixerLineName(line)) return line;
  return std::nullopt;
}

DWORD MixerLineComponentType(MixerLine line) { return mm::Layout(line).component_type; }

bool AddMixer(const std::u16string& name, DWORD channels, bool uniform) {
  if (name.empty() || name.size() >= MAXPNAMELEN || channels > kMaxMixerChannels || mm::FindDevice(name))
    return false;
  auto device = std::make_shared<mm::Device>();
  device->state.name = name;
  device->state.channels = channels;
  device->state.uniform = uniform;
  // A uniform control holds one value even on a line that reports no channels.
  size_t stored = uniform ? std::max<DWORD>(channels, 1) : channels;
  for (auto& line : device->state.volumes) line.assign(stored, 0xFFFF);
  mm::CurrentDevices().list.push_back(std::move(device));
  return true;
}

bool RemoveMixer(const std::u16string& name) {
  auto& list = mm::CurrentDevices().list;
  auto it = std::find_if(list.begin(), list.end(), [&](auto& d) { return d->state.name == name; });
  if (it == list.end()) return false;
  list.erase(it);  // open handles hold only a weak reference and fail from now on
  return true;
}

bool SetMixerVolume(const std::u16string& name, MixerLine line, const std::vector<DWORD>& values) {
  auto device = mm::FindDevice(name);
  if (!device || values.empty()) return false;
  if (values.size() != 1 && values.size() != device->state.volumes[static_cast<int>(line)].size())
    return false;
  mm::StoreVolumes(*device, line, values);
  return true;
}

std::optional<std::vector<DWORD>> MixerVolumes(const std::u16string& name, MixerLine line) {
  auto device = mm::FindDevice(name);
  if (!device) return std::nullopt;
  return device->state.volumes[static_cast<int>(line)];
}

bool FailMixer(const std::u16string& name, bool fail) {
  auto device = mm::FindDevice(name);
  if (!device) return false;
  device->state.failing = fail;
  return true;
}

std::vector<MixerState> Mixers() {
  std::vector<MixerState> states;
  for (auto& device : mm::CurrentDevices().list) states.push_back(device->state);
  return states;
}

}  // namespace sim
