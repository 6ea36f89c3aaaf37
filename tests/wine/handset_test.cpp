// The handset control served from its DLL, as Tellbud.exe hosts it on Wine: the world plays the
// device through the control's channel and reads back every call the program makes.
#include "tests/wine/harness.h"

#include <string>

#include "tests/wine/desktop.h"
#include "tests/wine/handset_world.h"
#include "tests/wine/tellbud_run.h"

namespace wine_test {
namespace {

// A fingerprint of the notification area's pixels: the icons' pictures.
std::string TrayPicture() {
  RECT area = TrayIconsArea();
  if (area.right <= area.left) return {};
  Screen screen = CaptureScreen();
  std::string picture;
  for (int y = area.top; y < area.bottom && y < screen.height; ++y)
    for (int x = area.left; x < area.right && x < screen.width; ++x)
      picture += std::to_string(screen.At(x, y)) + ",";
  return picture;
}

TEST(WineHandset, PlugOpensTheDeviceUnplugAndLevelKeyReachTheProgram) {
  CHandsetWorld world;
  CTellbudRun run(L"handset");
  ASSERT_TRUE(run.Start());
  ASSERT_TRUE(run.WaitMainWindow(30000)) << run.DebugOutputText();
  ASSERT_TRUE(world.WaitConnected(10000))
      << "the control never connected; is TellbudHandset.dll registered?\n"
      << run.DebugOutputText();
  ASSERT_TRUE(WaitFor([] { return TrayIconsArea().right > TrayIconsArea().left; }, 10000));
  // The search finds nothing while the handset is away.
  EXPECT_TRUE(world.WaitLine("handset OpenDevice(0) -> FALSE", 10000)) << world.Transcript();
  Sleep(300);
  std::string searching = TrayPicture();

  ASSERT_TRUE(world.Play("plug"));
  EXPECT_TRUE(world.WaitLine("handset OpenDevice(0) -> TRUE", 10000)) << world.Transcript();
  EXPECT_TRUE(world.WaitLine("handset GetModelCode() -> 512", 5000)) << world.Transcript();
  // The ring style comes from Tellbud.ini ([OPTION] RingType, 0 as shipped).
  EXPECT_TRUE(world.WaitLine("handset SetRing(FALSE, 0)", 5000)) << world.Transcript();
  // Without Messenger the icon now says so instead of the missing handset.
  EXPECT_TRUE(WaitFor([&] { return TrayPicture() != searching; }, 10000)) << "the tray icon did not change";

  ASSERT_TRUE(world.Play("level"));
  EXPECT_TRUE(world.WaitLine("handset GetLevel() -> 10", 5000)) << world.Transcript();
  EXPECT_TRUE(world.WaitLine("handset SetLevel(", 5000)) << world.Transcript();

  std::string ready = TrayPicture();
  ASSERT_TRUE(world.Play("unplug"));
  EXPECT_TRUE(WaitFor([&] { return TrayPicture() != ready; }, 10000)) << "the tray icon did not change back";
  EXPECT_TRUE(world.Play("plug"));
  EXPECT_TRUE(WaitFor(
      [&] {
        int opened = 0;
        for (const std::string& line : world.Lines()) opened += line == "handset OpenDevice(0) -> TRUE";
        return opened == 2;
      },
      10000))
      << "the search did not start again after the removal\n"
      << world.Transcript();
  run.RunAnother(L"*exit*", 30000);
  EXPECT_TRUE(run.WaitExit(30000));
  EXPECT_TRUE(world.WaitLine("handset CloseDevice()", 5000)) << world.Transcript();
}

}  // namespace
}  // namespace wine_test
