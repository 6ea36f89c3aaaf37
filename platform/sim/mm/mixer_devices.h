// The desktop's mixer devices and the handles open on them, shared by the mixer API and the
// world's side.
#pragma once

#include <mmsystem.h>
#include <windows.h>

#include <sim/mixers.h>

#include <map>
#include <memory>
#include <vector>

namespace sim::mm {

constexpr int kLineCount = 3;

struct Device {
  MixerState state;
};

// A mixer handle names the device it was opened on; the device may go away while it is open.
struct Devices {
  std::vector<std::shared_ptr<Device>> list;  // index = mixer id
  std::map<uintptr_t, std::weak_ptr<Device>> handles;
  uintptr_t next_handle = 0x10000;  // above every device id, as the API tells them apart by value
};

Devices& CurrentDevices();
std::shared_ptr<Device> FindDevice(const std::u16string& name);
std::optional<UINT> DeviceId(const Device& device);

// The fixed layout of every mixer: which destination and source each line is, and its ids.
struct LineLayout {
  MixerLine line;
  DWORD component_type;
  DWORD destination;
  DWORD source;  // only for source lines
  bool is_source;
  DWORD line_id;
  DWORD control_id;
  DWORD target_type;
  const char16_t* short_name;
  const char16_t* name;
};
const LineLayout& Layout(MixerLine line);
const LineLayout* LayoutByLineId(DWORD line_id);
const LineLayout* LayoutByControlId(DWORD control_id);
const LineLayout* LayoutByComponentType(DWORD component_type);

// Sets all of a line's channels from `values` (one for all, or one per channel), clipping each
// to 0xFFFF.
void StoreVolumes(Device& device, MixerLine line, const std::vector<DWORD>& values);

}  // namespace sim::mm
