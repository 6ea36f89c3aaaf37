// The mixer API over the desktop's sound devices: device ids, handles, the three lines with
// their volume controls, and the checks Windows makes on every request.
#include <gtest/gtest.h>
#include <mmsystem.h>
#include <windows.h>

#include <sim/desktop.h>
#include <sim/mixers.h>

#include <vector>

namespace {

using sim::MixerLine;

class MixerTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;

  void SetUp() override {
    ASSERT_TRUE(sim::AddMixer(u"Realtek High Definition Audio"));
    ASSERT_TRUE(sim::AddMixer(u"USB Audio Device", 2));
  }

  HMIXER Open(UINT id) {
    HMIXER h = nullptr;
    EXPECT_EQ(mixerOpen(&h, id, 0, 0, MIXER_OBJECTF_MIXER), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    return h;
  }
  static HMIXEROBJ Obj(HMIXER h) { return reinterpret_cast<HMIXEROBJ>(h); }

  // The volume control of a line found by its component type, as a program looks it up.
  static MMRESULT VolumeControl(HMIXER h, DWORD component, MIXERLINEW& line, MIXERCONTROLW& control,
                                DWORD flags = MIXER_OBJECTF_HMIXER) {
    line = {};
    line.cbStruct = sizeof line;
    line.dwComponentType = component;
    if (MMRESULT r = mixerGetLineInfoW(Obj(h), &line, flags | MIXER_GETLINEINFOF_COMPONENTTYPE)) return r;
    MIXERLINECONTROLSW controls{};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    return mixerGetLineControlsW(Obj(h), &controls, flags | MIXER_GETLINECONTROLSF_ONEBYTYPE);
  }

  static MIXERCONTROLDETAILS Details(DWORD control, DWORD channels, MIXERCONTROLDETAILS_UNSIGNED* values) {
    MIXERCONTROLDETAILS d{};
    d.cbStruct = sizeof d;
    d.dwControlID = control;
    d.cChannels = channels;
    d.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    d.paDetails = values;
    return d;
  }
};

TEST_F(MixerTest, DevicesAreNumberedInTheOrderTheyCameAndTellTheirNames) {
  ASSERT_EQ(mixerGetNumDevs(), 2u);
  MIXERCAPSW caps{};
  ASSERT_EQ(mixerGetDevCapsW(1, &caps, sizeof caps), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(std::u16string(caps.szPname), u"USB Audio Device");
  EXPECT_EQ(caps.cDestinations, 2u);

  EXPECT_EQ(mixerGetDevCapsW(2, &caps, sizeof caps), static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
  EXPECT_EQ(mixerGetDevCapsW(0, nullptr, sizeof caps), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  // A short structure receives only what fits.
  MIXERCAPSW part{};
  part.szPname[0] = u'x';
  ASSERT_EQ(mixerGetDevCapsW(0, &part, 8), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_NE(part.wMid, 0);
  EXPECT_EQ(part.szPname[0], u'x');

  // Removing a device moves the later ones down.
  ASSERT_TRUE(sim::RemoveMixer(u"Realtek High Definition Audio"));
  ASSERT_EQ(mixerGetDevCapsW(0, &caps, sizeof caps), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(std::u16string(caps.szPname), u"USB Audio Device");
}

TEST_F(MixerTest, OpenRefusesMinusOneAndBadArgumentsAndAHandleClosesOnce) {
  HMIXER h = nullptr;
  // There is no mixer mapper.
  EXPECT_EQ(mixerOpen(&h, 0xFFFFFFFF, 0, 0, MIXER_OBJECTF_MIXER),
            static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(mixerOpen(&h, 2, 0, 0, CALLBACK_NULL), static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
  EXPECT_EQ(mixerOpen(nullptr, 0, 0, 0, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  EXPECT_EQ(mixerOpen(&h, 0, 0, 0, CALLBACK_FUNCTION), static_cast<MMRESULT>(MMSYSERR_INVALFLAG));

  h = Open(1);
  ASSERT_NE(h, nullptr);
  UINT id = 99;
  EXPECT_EQ(mixerGetID(Obj(h), &id, MIXER_OBJECTF_HMIXER), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(id, 1u);
  // The handle also names its device for mixerGetDevCaps and without MIXER_OBJECTF_HMIXER.
  MIXERCAPSW caps{};
  EXPECT_EQ(mixerGetDevCapsW(reinterpret_cast<UINT_PTR>(h), &caps, sizeof caps),
            static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(std::u16string(caps.szPname), u"USB Audio Device");
  EXPECT_EQ(mixerClose(h), static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(mixerClose(h), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
  MIXERLINEW line{};
  line.cbStruct = sizeof line;
  EXPECT_EQ(mixerGetLineInfoW(Obj(h), &line, MIXER_OBJECTF_HMIXER),
            static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}

TEST_F(MixerTest, TheThreeLinesEachHaveAVolumeControl) {
  HMIXER h = Open(1);
  MIXERLINEW line{};
  MIXERCONTROLW control{};
  struct Expected {
    DWORD component;
    DWORD flags;
  };
  for (Expected e :
       {Expected{MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 0}, Expected{MIXERLINE_COMPONENTTYPE_DST_WAVEIN, 0},
        Expected{MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, static_cast<DWORD>(MIXERLINE_LINEF_SOURCE)}}) {
    // The handle is accepted with and without MIXER_OBJECTF_HMIXER.
    for (DWORD object : {static_cast<DWORD>(MIXER_OBJECTF_HMIXER), static_cast<DWORD>(MIXER_OBJECTF_MIXER)}) {
      ASSERT_EQ(VolumeControl(h, e.component, line, control, object),
                static_cast<MMRESULT>(MMSYSERR_NOERROR));
      EXPECT_EQ(line.dwComponentType, e.component);
      EXPECT_EQ(line.fdwLine & MIXERLINE_LINEF_SOURCE, e.flags);
      EXPECT_EQ(line.cChannels, 2u);
      EXPECT_EQ(std::u16string(line.Target.szPname), u"USB Audio Device");
      EXPECT_EQ(control.dwControlType, static_cast<DWORD>(MIXERCONTROL_CONTROLTYPE_VOLUME));
      EXPECT_EQ(control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM, 0u);
      EXPECT_EQ(control.Bounds.dwMaximum, 0xFFFFu);
    }
  }
  // The wave-out source is the speakers destination's connection.
  MIXERLINEW source{};
  source.cbStruct = sizeof source;
  source.dwDestination = 0;
  source.dwSource = 0;
  ASSERT_EQ(mixerGetLineInfoW(Obj(h), &source, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE),
            static_cast<MMRESULT>(MMSYSERR_NOERROR));
  EXPECT_EQ(source.dwComponentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT));
  mixerClose(h);
}

TEST_F(MixerTest, LineAndControlRequestsAreChecked) {
  HMIXER h = Open(0);
  MIXERLINEW line{};
  line.cbStruct = sizeof line - 4;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  EXPECT_EQ(mixerGetLineInfoW(Obj(h), &line, MIXER_GETLINEINFOF_COMPONENTTYPE),
            static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  EXPECT_EQ(mixerGetLineInfoW(Obj(h), nullptr, MIXER_GETLINEINFOF_COMPONENTTYPE),
            static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_HEADPHONES;
  EXPECT_EQ(mixerGetLineInfoW(Obj(h), &line, MIXER_GETLINEINFOF_COMPONENTTYPE),
            static_cast<MMRESULT>(MIXERR_INVALLINE));
  EXPECT_EQ(mixerGetLineInfoW(Obj(h), &line, 0x7), static_cast<MMRESULT>(MMSYSERR_INVALFLAG));
  line.dwDestination = 2;
  EXPECT_EQ(mixerGetLineInfoW(Obj(h), &line, MIXER_GETLINEINFOF_DESTINATION),
            static_cast<MMRESULT>(MIXERR_INVALLINE));

  MIXERCONTROLW control{};
  MIXERLINECONTROLSW controls{};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = 0x1234;
  controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = &control;
  EXPECT_EQ(mixerGetLineControlsW(Obj(h), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE),
            static_cast<MMRESULT>(MIXERR_INVALLINE));
  controls.dwLineID = 0;
  controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
  EXPECT_EQ(mixerGetLineControlsW(Obj(h), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE),
            static_cast<MMRESULT>(MIXERR_INVALCONTROL));
  controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  controls.cbmxctrl = sizeof control - 1;
  EXPECT_EQ(mixerGetLineControlsW(Obj(h), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE),
            static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = nullptr;
  EXPECT_EQ(mixerGetLineControlsW(Obj(h), &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE),
            static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  mixerClose(h);
}

TEST_F(MixerTest, VolumesAreReadAndSetPerChannelAndTheSetIsReported) {
  struct Recorder : sim::Observer {
    std::vector<std::pair<std::string, std::vector<DWORD>>> sets;
    void OnMixerVolumeSet(const std::u16string&, const char* line, const std::vector<DWORD>& v) override {
      sets.emplace_back(line, v);
    }
  } recorder;
  desktop.AddObserver(&recorder);
  ASSERT_TRUE(sim::SetMixerVolume(u"USB Audio Device", MixerLine::kWaveIn, {100, 300}));
  HMIXER h = Open(1);
  MIXERLINEW line{};
  MIXERCONTROLW control{};
  ASSERT_EQ(VolumeControl(h, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, line, control), 0u);

  MIXERCONTROLDETAILS_UNSIGNED values[2] = {};
  MIXERCONTROLDETAILS d = Details(control.dwControlID, 2, values);
  ASSERT_EQ(mixerGetControlDetailsW(Obj(h), &d, MIXER_GETCONTROLDETAILSF_VALUE), 0u);
  EXPECT_EQ(values[0].dwValue, 100u);
  EXPECT_EQ(values[1].dwValue, 300u);
  // One channel reads all of them as one: the loudest.
  d.cChannels = 1;
  ASSERT_EQ(mixerGetControlDetailsW(Obj(h), &d, MIXER_GETCONTROLDETAILSF_VALUE), 0u);
  EXPECT_EQ(values[0].dwValue, 300u);

  values[0].dwValue = 32767;
  values[1].dwValue = 70000;  // beyond the range: the top of it
  d.cChannels = 2;
  ASSERT_EQ(mixerSetControlDetails(Obj(h), &d, MIXER_SETCONTROLDETAILSF_VALUE), 0u);
  EXPECT_EQ(sim::MixerVolumes(u"USB Audio Device", MixerLine::kWaveIn), (std::vector<DWORD>{32767, 65535}));
  // One value for a non-uniform control sets every channel.
  values[0].dwValue = 655;
  d.cChannels = 1;
  ASSERT_EQ(mixerSetControlDetails(Obj(h), &d, MIXER_SETCONTROLDETAILSF_VALUE), 0u);
  EXPECT_EQ(sim::MixerVolumes(u"USB Audio Device", MixerLine::kWaveIn), (std::vector<DWORD>{655, 655}));
  ASSERT_EQ(recorder.sets.size(), 2u);
  EXPECT_EQ(recorder.sets[1].first, "wavein");
  EXPECT_EQ(recorder.sets[1].second, (std::vector<DWORD>{655, 655}));

  // Other lines keep their volumes.
  EXPECT_EQ(sim::MixerVolumes(u"USB Audio Device", MixerLine::kSpeakers), (std::vector<DWORD>{65535, 65535}));

  d.cChannels = 3;
  EXPECT_EQ(mixerSetControlDetails(Obj(h), &d, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  d.cChannels = 0;
  EXPECT_EQ(mixerGetControlDetailsW(Obj(h), &d, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  d.cChannels = 1;
  d.cbStruct = sizeof d - 1;
  EXPECT_EQ(mixerGetControlDetailsW(Obj(h), &d, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  d.cbStruct = sizeof d;
  d.paDetails = nullptr;
  EXPECT_EQ(mixerGetControlDetailsW(Obj(h), &d, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  d.paDetails = values;
  d.dwControlID = 77;
  EXPECT_EQ(mixerGetControlDetailsW(Obj(h), &d, 0), static_cast<MMRESULT>(MIXERR_INVALCONTROL));
  EXPECT_EQ(recorder.sets.size(), 2u);  // refused requests change nothing
  mixerClose(h);
  desktop.RemoveObserver(&recorder);
}

TEST_F(MixerTest, AUniformControlHoldsOneValueForAllChannels) {
  ASSERT_TRUE(sim::AddMixer(u"Webcam USB Microphone", 2, true));
  HMIXER h = Open(2);
  MIXERLINEW line{};
  MIXERCONTROLW control{};
  ASSERT_EQ(VolumeControl(h, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, line, control), 0u);
  EXPECT_EQ(control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM,
            static_cast<DWORD>(MIXERCONTROL_CONTROLF_UNIFORM));
  EXPECT_EQ(line.cChannels, 2u);
  MIXERCONTROLDETAILS_UNSIGNED value{1000};
  MIXERCONTROLDETAILS d = Details(control.dwControlID, 1, &value);
  ASSERT_EQ(mixerSetControlDetails(Obj(h), &d, 0), 0u);
  EXPECT_EQ(sim::MixerVolumes(u"Webcam USB Microphone", MixerLine::kWaveIn),
            (std::vector<DWORD>{1000, 1000}));
  mixerClose(h);
}

TEST_F(MixerTest, ADeviceWithoutChannelsHasLinesButNoValuesToReadOrSet) {
  ASSERT_TRUE(sim::AddMixer(u"Silent", 0));
  HMIXER h = Open(2);
  MIXERLINEW line{};
  MIXERCONTROLW control{};
  ASSERT_EQ(VolumeControl(h, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, line, control), 0u);
  EXPECT_EQ(line.cChannels, 0u);
  MIXERCONTROLDETAILS_UNSIGNED value{};
  MIXERCONTROLDETAILS d = Details(control.dwControlID, 1, &value);
  EXPECT_EQ(mixerGetControlDetailsW(Obj(h), &d, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  EXPECT_EQ(mixerSetControlDetails(Obj(h), &d, 0), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
  mixerClose(h);
  EXPECT_FALSE(sim::AddMixer(u"Too many", sim::kMaxMixerChannels + 1));
  EXPECT_FALSE(sim::AddMixer(u"Silent"));
  EXPECT_FALSE(sim::AddMixer(u"A name longer than thirty-one chars"));
}

TEST_F(MixerTest, AHandleOfARemovedDeviceFailsUntilClosedAndAFailingDeviceFailsEverything) {
  HMIXER usb = Open(1);
  ASSERT_TRUE(sim::RemoveMixer(u"USB Audio Device"));
  MIXERLINEW line{};
  MIXERCONTROLW control{};
  EXPECT_EQ(VolumeControl(usb, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, line, control),
            static_cast<MMRESULT>(MMSYSERR_NODRIVER));
  MIXERCONTROLDETAILS_UNSIGNED value{5};
  MIXERCONTROLDETAILS d = Details(1, 1, &value);
  EXPECT_EQ(mixerSetControlDetails(Obj(usb), &d, MIXER_OBJECTF_HMIXER),
            static_cast<MMRESULT>(MMSYSERR_NODRIVER));
  UINT id = 0;
  EXPECT_EQ(mixerGetID(Obj(usb), &id, MIXER_OBJECTF_HMIXER), static_cast<MMRESULT>(MMSYSERR_NODRIVER));
  EXPECT_EQ(id, 0xFFFFFFFFu);
  // Plugging the device in again gives a new device; the old handle stays dead.
  ASSERT_TRUE(sim::AddMixer(u"USB Audio Device"));
  EXPECT_EQ(VolumeControl(usb, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, line, control),
            static_cast<MMRESULT>(MMSYSERR_NODRIVER));
  EXPECT_EQ(mixerClose(usb), static_cast<MMRESULT>(MMSYSERR_NOERROR));

  HMIXER card = Open(0);
  ASSERT_TRUE(sim::FailMixer(u"Realtek High Definition Audio", true));
  EXPECT_EQ(VolumeControl(card, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, line, control),
            static_cast<MMRESULT>(MMSYSERR_ERROR));
  MIXERCAPSW caps{};
  EXPECT_EQ(mixerGetDevCapsW(0, &caps, sizeof caps), static_cast<MMRESULT>(MMSYSERR_ERROR));
  HMIXER again = nullptr;
  EXPECT_EQ(mixerOpen(&again, 0, 0, 0, 0), static_cast<MMRESULT>(MMSYSERR_ERROR));
  ASSERT_TRUE(sim::FailMixer(u"Realtek High Definition Audio", false));
  EXPECT_EQ(VolumeControl(card, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, line, control), 0u);
  EXPECT_EQ(mixerClose(card), static_cast<MMRESULT>(MMSYSERR_NOERROR));
}

TEST(PerformanceCounterTest, CountsTheVirtualClockAndIdsAreMultiplesOfFour) {
  sim::Desktop desktop;
  LARGE_INTEGER frequency{}, before{}, after{};
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  ASSERT_GT(frequency.QuadPart, 0);
  ASSERT_TRUE(QueryPerformanceCounter(&before));
  desktop.AdvanceBy(250);
  ASSERT_TRUE(QueryPerformanceCounter(&after));
  EXPECT_EQ((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart, 250);
  EXPECT_FALSE(QueryPerformanceCounter(nullptr));

  DWORD pid = 0, tid = 0;
  desktop.StartProcess(sim::ProcessInfo{0, u"a.exe", u"Z:\\a.exe", u"a.exe"}, [&] {
    pid = GetCurrentProcessId();
    tid = GetCurrentThreadId();
    return 0;
  });
  desktop.RunUntilIdle();
  EXPECT_NE(pid, 0u);
  EXPECT_NE(tid, 0u);
  EXPECT_EQ(pid % 4, 0u);
  EXPECT_EQ(tid % 4, 0u);
}

}  // namespace
