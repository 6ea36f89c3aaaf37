// The person in Tellbud's dialogs through the console (type, choose, slide, key, button) and
// the sound devices (mixer commands, the handset's own mixer, the transcript of volumes the
// program sets, message boxes), against a small program that opens a dialog over its main
// window as Tellbud does.
#include <gtest/gtest.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <windows.h>

#include <sim/controls.h>
#include <sim/dialogs.h>

#include <algorithm>

#include "platform/sim/user/dialog_template_writer.h"
#include "world/console/show.h"
#include "world/console_fixture.h"
#include "world/handset/stand_in.h"

namespace {

constexpr int kCombo = 1000, kSlider = 1002, kNumber = 1004;

struct Seen {
  std::vector<std::string> events;
  INT_PTR result = -1;
  int message_box = -1;
};
Seen* g_seen = nullptr;

INT_PTR CALLBACK SettingsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      for (const char16_t* item : {u"PSTN", u"USB"})
        SendDlgItemMessageW(dlg, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      SendDlgItemMessageW(dlg, kCombo, CB_SETCURSEL, 0, 0);
      SendDlgItemMessageW(dlg, kNumber, EM_LIMITTEXT, 3, 0);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wp) == CBN_SELCHANGE) g_seen->events.push_back("selchange " + std::to_string(LOWORD(wp)));
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        if (LOWORD(wp) == IDOK)
          g_seen->message_box = MessageBoxW(dlg, u"Saved.\nReally?", u"Tellbud", MB_OKCANCEL);
        EndDialog(dlg, LOWORD(wp));
      }
      return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lp)->code == static_cast<UINT>(NM_RELEASEDCAPTURE))
        g_seen->events.push_back("released " + std::to_string(reinterpret_cast<NMHDR*>(lp)->idFrom));
      return TRUE;
  }
  return FALSE;
}

class DialogCommandsTest : public ConsoleFixture {
 protected:
  Seen seen;

  void SetUp() override {
    g_seen = &seen;
    ConsoleFixture::SetUp();
  }
  void TearDown() override { g_seen = nullptr; }

  // Tellbud.exe with a visible main window; its dialog "Settings" opens over it at once.
  void StartProgram() {
    sim::ProcessInfo info{0, u"Tellbud.exe", world.ModulePath(), u"\"" + world.ModulePath() + u"\""};
    world.desktop().StartProcess(info, [this] {
      HWND main = CreateWindowExW(0, u"#32770", u"Tellbud", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                  0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
      sim::user::DialogTemplateWriter t(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 150, 120,
                                        u"Settings");
      DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
      t.AddItem(0x0085, u"", kCombo, child | CBS_DROPDOWNLIST, 7, 7, 80, 60);
      t.AddItem(TRACKBAR_CLASSW, u"", kSlider, child, 7, 30, 100, 15);
      t.AddItem(0x0081, u"", kNumber, child | ES_NUMBER | WS_BORDER, 7, 50, 50, 12);
      t.AddItem(0x0080, u"OK", IDOK, child | BS_DEFPUSHBUTTON, 50, 90, 50, 14);
      seen.result = DialogBoxIndirectParamW(nullptr, t.Get(), main, SettingsProc, 0);
      DestroyWindow(main);
      return 0;
    });
    world.Settle();
  }
  HWND Control(int id) { return sim::FindControl(sim::FindDialog(u"Settings")->hwnd, id); }
};

TEST_F(DialogCommandsTest, TypingChoosingAndSlidingActAsAPersonWould) {
  StartProgram();
  ASSERT_TRUE(sim::FindDialog(u"Settings"));

  // Digits only and three at most; an empty text clears the edit.
  EXPECT_EQ(Run("type \"Settings\" 1004 \"12a34\""), console::Outcome::kOk);
  EXPECT_EQ(sim::InspectEdit(Control(kNumber))->text, u"123");
  EXPECT_EQ(Run("type \"Settings\" 1004 \"\""), console::Outcome::kOk);
  EXPECT_EQ(sim::InspectEdit(Control(kNumber))->text, u"");

  EXPECT_EQ(Run("choose \"Settings\" 1000 \"USB\""), console::Outcome::kOk);
  EXPECT_EQ(sim::InspectComboBox(Control(kCombo))->selection, 1);
  EXPECT_EQ(Run("choose \"Settings\" 1000 \"ISDN\""), console::Outcome::kFailed);

  EXPECT_EQ(Run("slide \"Settings\" 1002 49"), console::Outcome::kOk);
  EXPECT_EQ(sim::InspectTrackbar(Control(kSlider))->position, 49);
  EXPECT_EQ(seen.events, (std::vector<std::string>{"selchange 1000", "released 1002"}));

  // Wrong controls and dialogs are refused without acting.
  EXPECT_EQ(Run("type \"Settings\" 1000 \"1\""), console::Outcome::kFailed);
  EXPECT_EQ(Run("slide \"Settings\" 1004 1"), console::Outcome::kFailed);
  EXPECT_EQ(Run("slide \"Nowhere\" 1002 1"), console::Outcome::kFailed);
  EXPECT_EQ(Run("choose \"Settings\" 77 \"USB\""), console::Outcome::kFailed);

  std::vector<std::string> shown = console::DescribeWorld(world);
  auto has = [&](const std::string& text) {
    return std::any_of(shown.begin(), shown.end(),
                       [&](const std::string& l) { return l.find(text) != l.npos; });
  };
  EXPECT_TRUE(has("dialog \"Settings\""));
  EXPECT_TRUE(has("control 1000 ComboBox \"USB\" selection 1"));
  EXPECT_TRUE(has("control 1002 msctls_trackbar32 \"\" position 49"));
}

TEST_F(DialogCommandsTest, KeysGoToTheOpenDialogAndAMessageBoxIsReportedAndClicked) {
  StartProgram();
  EXPECT_EQ(Run("key enter"), console::Outcome::kOk);  // OK of "Settings": the message box opens
  EXPECT_TRUE(Printed("messagebox \"Tellbud\" \"Saved.\\nReally?\""));
  EXPECT_EQ(Run("button \"Tellbud\" \"Cancel\""), console::Outcome::kOk);
  EXPECT_EQ(seen.message_box, IDCANCEL);
  EXPECT_EQ(seen.result, IDOK);
  EXPECT_FALSE(sim::FindDialog(u"Settings"));
}

TEST_F(DialogCommandsTest, TheHandsetBringsItsMixerAndTheProgramsVolumesArePrinted) {
  auto names = [&] { return world.sound().MixerNames(); };
  ASSERT_FALSE(names().empty());
  EXPECT_EQ(names()[0], world::kBuiltInMixerName);
  EXPECT_EQ(names(), (std::vector<std::string>{world::kBuiltInMixerName}));
  ASSERT_TRUE(world.handset().Plug());
  EXPECT_EQ(names(), (std::vector<std::string>{world::kBuiltInMixerName, world::kHandsetMixerName}));
  ASSERT_TRUE(world.handset().Unplug());
  EXPECT_EQ(names(), (std::vector<std::string>{world::kBuiltInMixerName}));
  ASSERT_TRUE(world.handset().Plug());

  // A program sets the handset's speaker volume: one transcript line with every channel.
  sim::ProcessInfo info{0, u"Tellbud.exe", world.ModulePath(), u"\"" + world.ModulePath() + u"\""};
  world.desktop().StartProcess(info, [] {
    HMIXER h = nullptr;
    if (mixerOpen(&h, 1, 0, 0, MIXER_OBJECTF_MIXER)) return 1;
    MIXERCONTROLDETAILS_UNSIGNED value{32767};
    MIXERCONTROLDETAILS d{sizeof d, 1, 1, {}, sizeof value, &value};
    mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(h), &d, MIXER_OBJECTF_HMIXER);
    mixerClose(h);
    return 0;
  });
  world.Settle();
  EXPECT_TRUE(Printed("mixer \"USB Audio Device\" speakers 32767 32767"));
}

TEST_F(DialogCommandsTest, MixerCommandsAddSetFailAndRemove) {
  ASSERT_TRUE(world.handset().Plug());
  EXPECT_EQ(Run("mixer add \"Webcam USB Mic\" 1 uniform"), console::Outcome::kOk);
  EXPECT_EQ(Run("mixer add \"Webcam USB Mic\""), console::Outcome::kFailed);
  EXPECT_EQ(Run("mixer add \"Big\" 100000"), console::Outcome::kBadCommand);
  EXPECT_EQ(Run("mixer set \"USB Audio Device\" wavein 100 200"), console::Outcome::kOk);
  EXPECT_EQ(world.sound().MixerVolumes("USB Audio Device", sim::MixerLine::kWaveIn),
            (std::vector<DWORD>{100, 200}));
  EXPECT_EQ(Run("mixer set \"USB Audio Device\" wavein 1 2 3"), console::Outcome::kBadCommand);
  EXPECT_EQ(Run("mixer set \"USB Audio Device\" mic 1"), console::Outcome::kBadCommand);
  EXPECT_EQ(Run("mixer set \"USB Audio Device\" speakers 65536"), console::Outcome::kBadCommand);
  EXPECT_EQ(Run("mixer set \"Nobody\" speakers 5"), console::Outcome::kFailed);
  EXPECT_EQ(Run("mixer fail \"Webcam USB Mic\""), console::Outcome::kOk);
  std::vector<std::string> shown = console::DescribeWorld(world);
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const std::string& l) {
    return l ==
           "mixer \"Webcam USB Mic\": 1 channels uniform failing, speakers 65535, wavein 65535, waveout "
           "65535";
  }));
  EXPECT_EQ(Run("mixer heal \"Webcam USB Mic\""), console::Outcome::kOk);
  EXPECT_EQ(Run("mixer remove \"Webcam USB Mic\""), console::Outcome::kOk);
  EXPECT_EQ(Run("mixer remove \"Webcam USB Mic\""), console::Outcome::kFailed);
  EXPECT_FALSE(Printed("mixer \""));  // the world's own changes are not the program's
}

}  // namespace
