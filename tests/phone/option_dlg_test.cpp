// The Option dialog when the devices change under it: a handset unplugged while it is open is not
// called, and the sliders act only on the sound device whose volumes they show.
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
    Forget();
  }
  HWND Control(int id) { return sim::FindControl(sim::FindDialog(u"Ring style")->hwnd, id); }
  void Choose(int id, const std::u16string& item) {
    ASSERT_TRUE(sim::ChooseComboBoxItem(Control(id), item));
    world.Settle();
  }
  void Slide(int id, LONG position) {
    ASSERT_TRUE(sim::DragTrackbar(Control(id), position));
    world.Settle();
  }
};

TEST_F(OptionDlgTest, AnUnpluggedHandsetIsNotCalledButTheStyleIsKeptForItsReturn) {
  StartWorld();
  Open();
  Run("handset unplug");
  Choose(IDC_RING_COMBO, u"5");
  EXPECT_FALSE(PrintedSinceMark("SetRing"));
  EXPECT_NE(ReadFile("Tellbud.ini").find("RingType=5"), std::string::npos);
  Run("button \"Ring style\" OK");
  Run("handset plug");
  Run("wait 2s");
  EXPECT_PRINTED("handset SetRing(FALSE, 5)");
}

// A webcam's microphone ("USB Camera") listed before the handset's device is left alone, also
// once the handset's device is gone.
TEST_F(OptionDlgTest, TheSlidersActOnlyOnTheDeviceTheyShow) {
  Run("mixer add \"USB Camera\"");
  StartWorld();
  Open();
  Slide(IDC_MIC_SLIDER, 20);
  EXPECT_PRINTED("mixer \"USB Audio Device\" wavein 13107");
  Run("mixer remove \"USB Audio Device\"");
  Slide(IDC_SPEAKER_SLIDER, 80);
  EXPECT_FALSE(PrintedSinceMark("mixer \""));
  Run("button \"Ring style\" OK");
  Run("mixer add \"USB Audio Device\"");
  Open();
  Slide(IDC_SPEAKER_SLIDER, 80);
  EXPECT_PRINTED("mixer \"USB Audio Device\" speakers 52428");
}

}  // namespace
