// The Option dialog: the ring style (played for a moment, stored at once), an adaptor's default
// line, and the volumes of the handset's own sound device.
#include <sim/controls.h>
#include <sim/dialogs.h>

#include "phone/handset_fixture.h"
#include "res/resource.h"

namespace {

class OptionDlgTest : public HandsetFixture {
 protected:
  void Open() {
    RunAll({"tray rclick", "menu Option"});
    ASSERT_TRUE(sim::FindDialog(u"Ring style")) << Transcript();
  }
  HWND Control(int id) { return sim::FindControl(sim::FindDialog(u"Ring style")->hwnd, id); }
  int SliderPos(int id) {
    auto info = sim::InspectTrackbar(Control(id));
    return info ? static_cast<int>(info->position) : -1;
  }
  bool Enabled(int id) {
    auto info = sim::InspectControl(Control(id));
    return info && info->enabled;
  }
  int Selection(int id) {
    auto info = sim::InspectComboBox(Control(id));
    return info ? info->selection : -2;
  }
};

TEST_F(OptionDlgTest, ARingStyleRingsAtOnceIsStoredAndStopsWhenTheDialogCloses) {
  StartWorld();
  std::string before = ReadFile("Tellbud.ini");
  Open();
  EXPECT_TRUE(Enabled(IDC_RING_COMBO));
  EXPECT_FALSE(Enabled(IDC_CHANNEL_COMBO));
  EXPECT_EQ(Selection(IDC_CHANNEL_COMBO), 0) << "the disabled combo shows index 0";
  Run("choose \"Ring style\" 1000 \"3\"");
  EXPECT_PRINTED("handset SetRing(TRUE, 3)");
  EXPECT_TRUE(Handset().ringing);
  std::string expected = before;
  expected.replace(expected.find("RingType=0"), 10, "RingType=3");
  EXPECT_EQ(ReadFile("Tellbud.ini"), expected) << "only the RingType line changes";
  EXPECT_EQ(Dialog()->m_nRingType, 3);
  Run("wait 1s");
  Run("button \"Ring style\" OK");
  EXPECT_FALSE(Handset().ringing) << "the preview ends with the dialog";
  EXPECT_EQ(Handset().ring_style, 3);
}

TEST_F(OptionDlgTest, AnUnpluggedHandsetIsNotCalledButTheStyleIsKeptForItsReturn) {
  StartWorld();
  Open();
  Run("handset unplug");
  Forget();
  Run("choose \"Ring style\" 1000 \"5\"");
  EXPECT_FALSE(PrintedSinceMark("SetRing"));
  EXPECT_NE(ReadFile("Tellbud.ini").find("RingType=5"), std::string::npos);
  Run("button \"Ring style\" OK");
  Run("handset plug");
  Run("wait 2s");
  EXPECT_PRINTED("handset SetRing(FALSE, 5)");
}

class OptionAdaptorTest : public OptionDlgTest, public ::testing::WithParamInterface<const char*> {};

INSTANTIATE_TEST_SUITE_P(ChannelGroups, OptionAdaptorTest, ::testing::Values("0520", "0540"));

// The default line and the line now, for each channel group, then the stored value.
TEST_P(OptionAdaptorTest, TheLineComboSetsTheChannel) {
  bool group2 = std::string(GetParam()) == "0540";
  StartWorld(GetParam());
  Open();
  EXPECT_FALSE(Enabled(IDC_RING_COMBO));
  EXPECT_TRUE(Enabled(IDC_CHANNEL_COMBO));
  EXPECT_EQ(Selection(IDC_RING_COMBO), 0) << "the disabled combo shows index 0";
  Run("choose \"Ring style\" 1001 \"USB\"");
  EXPECT_PRINTED(group2 ? "handset SetDefaultChannel2(1)" : "handset SetDefaultChannel(1)");
  EXPECT_PRINTED(group2 ? "handset SetChannel2(1)" : "handset SetChannel(1)");
  EXPECT_NE(ReadFile("Tellbud.ini").find("ChannelType=1"), std::string::npos);
  EXPECT_EQ(Dialog()->m_nChannel, 1);
  EXPECT_FALSE(PrintedSinceMark("SetRing(TRUE"));
}

TEST_F(OptionDlgTest, SlidersShowAndSetTheHandsetsSoundDevice) {
  StartWorld();
  Run("mixer set \"USB Audio Device\" speakers 65535");
  Run("mixer set \"USB Audio Device\" wavein 32767");
  Open();
  EXPECT_EQ(SliderPos(IDC_SPEAKER_SLIDER), 100);
  EXPECT_EQ(SliderPos(IDC_MIC_SLIDER), 49);
  Run("slide \"Ring style\" 1002 50");
  EXPECT_PRINTED("mixer \"USB Audio Device\" speakers 32767");
  EXPECT_PRINTED("mixer \"USB Audio Device\" waveout 32767");
  Run("slide \"Ring style\" 1003 1");
  EXPECT_PRINTED("mixer \"USB Audio Device\" wavein 655");
}

// A webcam's microphone ("USB Camera") listed before the handset's device is left alone.
TEST_F(OptionDlgTest, TheSlidersActOnTheDeviceTheyShow) {
  Run("mixer add \"USB Camera\"");
  StartWorld();
  Open();
  Forget();
  Run("slide \"Ring style\" 1003 20");
  EXPECT_PRINTED("mixer \"USB Audio Device\" wavein");
  EXPECT_FALSE(PrintedSinceMark("USB Camera"));
}

TEST_F(OptionDlgTest, WithoutTheHandsetsSoundDeviceTheSlidersStayAtZero) {
  StartWorld();
  Run("mixer remove \"USB Audio Device\"");
  Open();
  EXPECT_EQ(SliderPos(IDC_SPEAKER_SLIDER), 0);
  EXPECT_EQ(SliderPos(IDC_MIC_SLIDER), 0);
  Forget();
  Run("slide \"Ring style\" 1002 80");
  EXPECT_FALSE(PrintedSinceMark("mixer \""));
}

// The device going away between the dialog's start and a slider's release changes nothing.
TEST_F(OptionDlgTest, ADeviceThatVanishedMeanwhileIsNotWritten) {
  Run("mixer add \"USB Camera\"");
  StartWorld();
  Open();
  Run("mixer remove \"USB Audio Device\"");
  Forget();
  Run("slide \"Ring style\" 1002 80");
  EXPECT_FALSE(PrintedSinceMark("mixer \""));
}

}  // namespace
