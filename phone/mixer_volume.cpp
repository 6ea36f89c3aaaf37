#include "phone/mixer_volume.h"

#include <vector>

namespace {

const DWORD kMaxVolume = 65535;
// More channels than any sound device has: a mixer reporting more is not believed.
const DWORD kMaxChannels = 64;

WCHAR FoldAsciiLetter(WCHAR c) { return c >= 'a' && c <= 'z' ? static_cast<WCHAR>(c - 'a' + 'A') : c; }

BOOL ContainsFolded(LPCWSTR text, LPCWSTR part) {
  for (LPCWSTR start = text; *start; ++start) {
    LPCWSTR t = start;
    LPCWSTR p = part;
    while (*p && *t && FoldAsciiLetter(*t) == FoldAsciiLetter(*p)) {
      ++t;
      ++p;
    }
    if (!*p) return TRUE;
  }
  return FALSE;
}

// The volume control of the line of `componentType` and how many values it takes; FALSE when
// the mixer has none.
BOOL FindVolumeControl(HMIXER hMixer, DWORD componentType, MIXERCONTROLW& control, DWORD& channels) {
  MIXERLINEW line;
  ZeroMemory(&line, sizeof line);
  line.cbStruct = sizeof line;
  line.dwComponentType = componentType;
  HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(hMixer);
  if (mixerGetLineInfoW(object, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
      MMSYSERR_NOERROR)
    return FALSE;
  ZeroMemory(&control, sizeof control);
  MIXERLINECONTROLSW controls;
  ZeroMemory(&controls, sizeof controls);
  controls.cbStruct = sizeof controls;
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = &control;
  if (mixerGetLineControlsW(object, &controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
      MMSYSERR_NOERROR)
    return FALSE;
  channels = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : line.cChannels;
  // A line without channels has no volume to read or set.
  return channels > 0 && channels <= kMaxChannels;
}

MIXERCONTROLDETAILS Details(const MIXERCONTROLW& control, DWORD channels,
                            std::vector<MIXERCONTROLDETAILS_UNSIGNED>& values) {
  MIXERCONTROLDETAILS details;
  ZeroMemory(&details, sizeof details);
  details.cbStruct = sizeof details;
  details.dwControlID = control.dwControlID;
  details.cChannels = channels;
  details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
  details.paDetails = values.data();
  return details;
}

}  // namespace

BOOL MixerNameContains(int index, LPCWSTR namePart) {
  if (index < 0) return FALSE;
  MIXERCAPSW caps;
  ZeroMemory(&caps, sizeof caps);
  if (mixerGetDevCapsW(static_cast<UINT_PTR>(index), &caps, sizeof caps) != MMSYSERR_NOERROR) return FALSE;
  caps.szPname[MAXPNAMELEN - 1] = 0;
  return caps.szPname[0] && ContainsFolded(caps.szPname, namePart);
}

int FindMixer(LPCWSTR namePart) {
  UINT count = mixerGetNumDevs();
  for (UINT i = 0; i < count; ++i)
    if (MixerNameContains(static_cast<int>(i), namePart)) return static_cast<int>(i);
  return -1;
}

DWORD GetLineVolume(HMIXER hMixer, DWORD componentType) {
  MIXERCONTROLW control;
  DWORD channels = 0;
  if (!FindVolumeControl(hMixer, componentType, control, channels)) return 0;
  std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(channels);
  MIXERCONTROLDETAILS details = Details(control, channels, values);
  if (mixerGetControlDetailsW(reinterpret_cast<HMIXEROBJ>(hMixer), &details,
                              MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
    return 0;
  double sum = 0;
  for (const MIXERCONTROLDETAILS_UNSIGNED& v : values) sum += v.dwValue;
  return static_cast<DWORD>(sum / channels);
}

void SetLineVolume(HMIXER hMixer, DWORD componentType, DWORD volume) {
  MIXERCONTROLW control;
  DWORD channels = 0;
  if (!FindVolumeControl(hMixer, componentType, control, channels)) return;
  std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(channels);
  for (MIXERCONTROLDETAILS_UNSIGNED& v : values) v.dwValue = volume;
  MIXERCONTROLDETAILS details = Details(control, channels, values);
  mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(hMixer), &details,
                         MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

int VolumeToPosition(DWORD volume) {
  if (volume > kMaxVolume) volume = kMaxVolume;
  return static_cast<int>(volume * 100 / kMaxVolume);
}

DWORD PositionToVolume(int position) {
  if (position < 0) position = 0;
  if (position > 100) position = 100;
  return static_cast<DWORD>(position) * kMaxVolume / 100;
}
