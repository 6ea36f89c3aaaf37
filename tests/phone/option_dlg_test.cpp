// The Option dialog when the devices change under it: a handset unplugged while it is open is not
// called, and the sliders act only on the sound device whose volumes they show.
#include <sim/dialogs.h>

#include "phone/handset_fixture.h"

namespace {

class OptionDlgTest : public HandsetFixture {
 protected:
  void Open() {
    RunAll({"tray rclick", "menu Option"});
    ASSERT_TRUE(sim::FindDialog(u"Ring style")) << Transcript();
    Forget();
  }
};

TEST_F(OptionDlgTest, AnUnpluggedHandsetIsNotCalledButTheStyleIsKeptForItsReturn) {
  StartWorld();
  Open();
  Run("handset unplug");
  Run("choose \"Ring style\" 1000 \"5\"");
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
  Run("slide \"Ring style\" 1003 20");
  EXPECT_PRINTED("mixer \"USB Audio Device\" wavein 13107");
  Run("mixer remove \"USB Audio Device\"");
  Run("slide \"Ring style\" 1002 80");
  EXPECT_FALSE(PrintedSinceMark("mixer \""));
  Run("button \"Ring style\" OK");
  Run("mixer add \"USB Audio Device\"");
  Open();
  Run("slide \"Ring style\" 1002 80");
  EXPECT_PRINTED("mixer \"USB Audio Device\" speakers 52428");
}

}  // namespace
