// The mixer API over the desktop's mixer devices.
//
// Objects: with MIXER_OBJECTF_MIXER the object is a device id below mixerGetNumDevs; a value
// that is not one but is an open mixer handle is taken as that handle, as Windows does for
// programs that pass a handle without MIXER_OBJECTF_HMIXER. With MIXER_OBJECTF_HMIXER it must be
// a handle from mixerOpen. Other object kinds (wave, MIDI, aux devices) do not exist here.
// A handle whose device was removed fails with MMSYSERR_NODRIVER until it is closed.
// A device the world made to fail answers MMSYSERR_ERROR to everything but mixerClose.
#include <mmsystem.h>
#include <windows.h>

#include <sim/desktop.h>

#include <algorithm>
#include <cstring>

#include "mm/mixer_devices.h"

namespace {

using sim::mm::Device;
using sim::mm::LineLayout;

constexpr DWORD kObjectTypeMask = 0xF0000000;
constexpr WORD kManufacturerId = 1;
constexpr WORD kProductId = 104;
constexpr MMVERSION kDriverVersion = 0x0501;

struct Resolved {
  MMRESULT result = MMSYSERR_NOERROR;
  std::shared_ptr<Device> device;
};

Resolved ByHandle(uintptr_t value) {
  auto& handles = sim::mm::CurrentDevices().handles;
  auto it = handles.find(value);
  if (it == handles.end()) return {MMSYSERR_INVALHANDLE, nullptr};
  auto device = it->second.lock();
  if (!device) return {MMSYSERR_NODRIVER, nullptr};
  return {MMSYSERR_NOERROR, device};
}

Resolved ByIdOrHandle(uintptr_t value) {
  auto& list = sim::mm::CurrentDevices().list;
  if (value < list.size()) return {MMSYSERR_NOERROR, list[value]};
  Resolved by_handle = ByHandle(value);
  if (by_handle.result == MMSYSERR_INVALHANDLE) by_handle.result = MMSYSERR_BADDEVICEID;
  return by_handle;
}

Resolved Resolve(uintptr_t value, DWORD flags) {
  Resolved r;
  switch (flags & kObjectTypeMask) {
    case MIXER_OBJECTF_MIXER:
      r = ByIdOrHandle(value);
      break;
    case MIXER_OBJECTF_HMIXER:
      r = ByHandle(value);
      break;
    default:
      r.result = (flags & MIXER_OBJECTF_HANDLE) ? MMSYSERR_INVALHANDLE : MMSYSERR_BADDEVICEID;
      return r;
  }
  if (r.device && r.device->state.failing) return {MMSYSERR_ERROR, nullptr};
  return r;
}

template <size_t N>
void CopyName(WCHAR (&to)[N], const std::u16string& from) {
  size_t n = std::min(from.size(), N - 1);
  std::copy_n(from.data(), n, to);
  std::fill(to + n, to + N, u'\0');
}

const std::vector<DWORD>& Volumes(const Device& device, const LineLayout& layout) {
  return device.state.volumes[static_cast<int>(layout.line)];
}

// The most channels a details request may name for a line's control.
DWORD MaxChannels(const Device& device) {
  return device.state.uniform ? std::max<DWORD>(device.state.channels, 1) : device.state.channels;
}

void FillLine(const Device& device, const LineLayout& layout, MIXERLINEW& line) {
  DWORD cb = line.cbStruct;
  std::memset(&line, 0, sizeof line);
  line.cbStruct = cb;
  line.dwDestination = layout.destination;
  line.dwSource = layout.source;
  line.dwLineID = layout.line_id;
  line.fdwLine = MIXERLINE_LINEF_ACTIVE | (layout.is_source ? MIXERLINE_LINEF_SOURCE : 0);
  line.dwComponentType = layout.component_type;
  line.cChannels = device.state.channels;
  line.cConnections = layout.line == sim::MixerLine::kSpeakers ? 1 : 0;
  line.cControls = 1;
  CopyName(line.szShortName, layout.short_name);
  CopyName(line.szName, layout.name);
  line.Target.dwType = layout.target_type;
  line.Target.dwDeviceID = sim::mm::DeviceId(device).value_or(0);
  line.Target.wMid = kManufacturerId;
  line.Target.wPid = kProductId;
  line.Target.vDriverVersion = kDriverVersion;
  CopyName(line.Target.szPname, device.state.name);
}

void FillControl(const Device& device, const LineLayout& layout, MIXERCONTROLW& control) {
  std::memset(&control, 0, sizeof control);
  control.cbStruct = sizeof control;
  control.dwControlID = layout.control_id;
  control.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  control.fdwControl = device.state.uniform ? MIXERCONTROL_CONTROLF_UNIFORM : 0;
  CopyName(control.szShortName, u"Volume");
  CopyName(control.szName, std::u16string(layout.name) + u" Volume");
  control.Bounds.dwMinimum = 0;
  control.Bounds.dwMaximum = 0xFFFF;
  control.Metrics.cSteps = 0x10000 / 0x400;  // 64 steps, as sound cards commonly report
}

// The control a details request names, with the request checked as Windows checks it.
MMRESULT CheckDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags, Resolved& r,
                      const LineLayout*& layout) {
  if (!details || details->cbStruct != sizeof(MIXERCONTROLDETAILS)) return MMSYSERR_INVALPARAM;
  r = Resolve(reinterpret_cast<uintptr_t>(object), flags);
  if (r.result != MMSYSERR_NOERROR) return r.result;
  layout = sim::mm::LayoutByControlId(details->dwControlID);
  if (!layout) return MIXERR_INVALCONTROL;
  if (details->cMultipleItems != 0 || details->cChannels == 0 ||
      details->cChannels > MaxChannels(*r.device) ||
      details->cbDetails < sizeof(MIXERCONTROLDETAILS_UNSIGNED) || !details->paDetails)
    return MMSYSERR_INVALPARAM;
  return MMSYSERR_NOERROR;
}

DWORD& Element(LPMIXERCONTROLDETAILS details, DWORD i) {
  auto* base = static_cast<BYTE*>(details->paDetails) + static_cast<size_t>(i) * details->cbDetails;
  return reinterpret_cast<MIXERCONTROLDETAILS_UNSIGNED*>(base)->dwValue;
}

}  // namespace

UINT WINAPI mixerGetNumDevs(void) { return static_cast<UINT>(sim::mm::CurrentDevices().list.size()); }

MMRESULT WINAPI mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) {
  if (!pmxcaps) return MMSYSERR_INVALPARAM;
  Resolved r = Resolve(uMxId, MIXER_OBJECTF_MIXER);
  if (r.result != MMSYSERR_NOERROR) return r.result;
  MIXERCAPSW caps{};
  caps.wMid = kManufacturerId;
  caps.wPid = kProductId;
  caps.vDriverVersion = kDriverVersion;
  CopyName(caps.szPname, r.device->state.name);
  caps.cDestinations = 2;
  // A short structure receives the part that fits.
  std::memcpy(pmxcaps, &caps, std::min<size_t>(cbmxcaps, sizeof caps));
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR, DWORD fdwOpen) {
  if (!phmx) return MMSYSERR_INVALPARAM;
  DWORD callback = fdwOpen & CALLBACK_TYPEMASK;
  if (callback != CALLBACK_NULL && callback != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
  if (callback == CALLBACK_WINDOW && dwCallback && !IsWindow(reinterpret_cast<HWND>(dwCallback)))
    return MMSYSERR_INVALPARAM;
  // There is no mixer mapper: -1 is no device id.
  Resolved r = Resolve(uMxId, fdwOpen & ~CALLBACK_TYPEMASK);
  if (r.result != MMSYSERR_NOERROR) return r.result;
  auto& devices = sim::mm::CurrentDevices();
  uintptr_t value = devices.next_handle;
  devices.next_handle += 4;
  devices.handles[value] = r.device;
  *phmx = reinterpret_cast<HMIXER>(value);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerClose(HMIXER hmx) {
  // Closing a handle whose device is gone (or failing) still releases it.
  return sim::mm::CurrentDevices().handles.erase(reinterpret_cast<uintptr_t>(hmx)) ? MMSYSERR_NOERROR
                                                                                   : MMSYSERR_INVALHANDLE;
}

MMRESULT WINAPI mixerGetID(HMIXEROBJ hmxobj, UINT* puMxId, DWORD fdwId) {
  if (!puMxId) return MMSYSERR_INVALPARAM;
  Resolved r = Resolve(reinterpret_cast<uintptr_t>(hmxobj), fdwId);
  if (r.result == MMSYSERR_NODRIVER) *puMxId = static_cast<UINT>(-1);
  if (r.result != MMSYSERR_NOERROR) return r.result;
  *puMxId = sim::mm::DeviceId(*r.device).value_or(static_cast<UINT>(-1));
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) {
  if (!pmxl || pmxl->cbStruct != sizeof(MIXERLINEW)) return MMSYSERR_INVALPARAM;
  Resolved r = Resolve(reinterpret_cast<uintptr_t>(hmxobj), fdwInfo);
  if (r.result != MMSYSERR_NOERROR) return r.result;
  const LineLayout* layout = nullptr;
  switch (fdwInfo & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
      for (sim::MixerLine line : {sim::MixerLine::kSpeakers, sim::MixerLine::kWaveIn}) {
        if (sim::mm::Layout(line).destination == pmxl->dwDestination) layout = &sim::mm::Layout(line);
      }
      break;
    case MIXER_GETLINEINFOF_SOURCE:
      if (pmxl->dwDestination == 0 && pmxl->dwSource == 0)
        layout = &sim::mm::Layout(sim::MixerLine::kWaveOut);
      break;
    case MIXER_GETLINEINFOF_LINEID:
      layout = sim::mm::LayoutByLineId(pmxl->dwLineID);
      break;
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
      layout = sim::mm::LayoutByComponentType(pmxl->dwComponentType);
      break;
    case MIXER_GETLINEINFOF_TARGETTYPE:
      for (sim::MixerLine line : {sim::MixerLine::kSpeakers, sim::MixerLine::kWaveIn}) {
        if (!layout && sim::mm::Layout(line).target_type == pmxl->Target.dwType)
          layout = &sim::mm::Layout(line);
      }
      break;
    default:
      return MMSYSERR_INVALFLAG;
  }
  if (!layout) return MIXERR_INVALLINE;
  FillLine(*r.device, *layout, *pmxl);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) {
  if (!pmxlc || pmxlc->cbStruct != sizeof(MIXERLINECONTROLSW)) return MMSYSERR_INVALPARAM;
  Resolved r = Resolve(reinterpret_cast<uintptr_t>(hmxobj), fdwControls);
  if (r.result != MMSYSERR_NOERROR) return r.result;
  if (pmxlc->cControls == 0 || pmxlc->cbmxctrl < sizeof(MIXERCONTROLW) || !pmxlc->pamxctrl)
    return MMSYSERR_INVALPARAM;
  const LineLayout* layout = nullptr;
  switch (fdwControls & MIXER_GETLINECONTROLSF_QUERYMASK) {
    case MIXER_GETLINECONTROLSF_ALL:
      layout = sim::mm::LayoutByLineId(pmxlc->dwLineID);
      if (!layout) return MIXERR_INVALLINE;
      if (pmxlc->cControls != 1) return MMSYSERR_INVALPARAM;  // must be the line's count
      break;
    case MIXER_GETLINECONTROLSF_ONEBYID:
      layout = sim::mm::LayoutByControlId(pmxlc->dwControlID);
      if (!layout) return MIXERR_INVALCONTROL;
      pmxlc->dwLineID = layout->line_id;
      break;
    case MIXER_GETLINECONTROLSF_ONEBYTYPE:
      layout = sim::mm::LayoutByLineId(pmxlc->dwLineID);
      if (!layout) return MIXERR_INVALLINE;
      if (pmxlc->dwControlType != MIXERCONTROL_CONTROLTYPE_VOLUME) return MIXERR_INVALCONTROL;
      break;
    default:
      return MMSYSERR_INVALFLAG;
  }
  FillControl(*r.device, *layout, *pmxlc->pamxctrl);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  Resolved r;
  const LineLayout* layout = nullptr;
  if (MMRESULT check = CheckDetails(hmxobj, pmxcd, fdwDetails, r, layout)) return check;
  switch (fdwDetails & MIXER_GETCONTROLDETAILSF_QUERYMASK) {
    case MIXER_GETCONTROLDETAILSF_VALUE:
      break;
    case MIXER_GETCONTROLDETAILSF_LISTTEXT:
      return MMSYSERR_INVALPARAM;  // a volume is no list
    default:
      return MMSYSERR_INVALFLAG;
  }
  const std::vector<DWORD>& volumes = Volumes(*r.device, *layout);
  if (pmxcd->cChannels == 1 && volumes.size() > 1) {
    // All channels read as one: the loudest.
    Element(pmxcd, 0) = *std::max_element(volumes.begin(), volumes.end());
  } else {
    for (DWORD i = 0; i < pmxcd->cChannels; ++i)
      Element(pmxcd, i) = volumes[std::min<size_t>(i, volumes.size() - 1)];
  }
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  Resolved r;
  const LineLayout* layout = nullptr;
  if (MMRESULT check = CheckDetails(hmxobj, pmxcd, fdwDetails, r, layout)) return check;
  switch (fdwDetails & MIXER_SETCONTROLDETAILSF_QUERYMASK) {
    case MIXER_SETCONTROLDETAILSF_VALUE:
      break;
    case MIXER_SETCONTROLDETAILSF_CUSTOM:
      return MMSYSERR_NOTSUPPORTED;
    default:
      return MMSYSERR_INVALFLAG;
  }
  std::vector<DWORD> values = Volumes(*r.device, *layout);
  if (pmxcd->cChannels == 1) {
    values.assign(values.size(), Element(pmxcd, 0));  // one value for every channel
  } else {
    for (DWORD i = 0; i < pmxcd->cChannels && i < values.size(); ++i) values[i] = Element(pmxcd, i);
  }
  sim::mm::StoreVolumes(*r.device, layout->line, values);
  std::u16string name = r.device->state.name;
  std::vector<DWORD> stored = Volumes(*r.device, *layout);
  const char* line = sim::MixerLineName(layout->line);
  sim::Desktop::Current().Notify([&](sim::Observer& o) { o.OnMixerVolumeSet(name, line, stored); });
  return MMSYSERR_NOERROR;
}
