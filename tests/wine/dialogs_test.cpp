// The Option and Select language dialogs on Wine, used with the mouse and the keyboard: what
// each choice sends to the handset control from its DLL and writes to Tellbud.ini, and the main
// window's keys once the dialog has closed.
#include <gtest/gtest.h>

#include "tests/wine/tellbud_fixture.h"

namespace wine_test {
namespace {

constexpr int kRingCombo = 1000;
constexpr int kChannelCombo = 1001;
constexpr int kSpeakerSlider = 1002;
constexpr int kMicSlider = 1003;
constexpr int kLanguageCombo = 1005;

class WineDialogs : public WineTellbud {
 protected:
  // Plugs the handset in (MODEL in hexadecimal, or the default) and opens Option from the tray.
  HWND OpenOption(const std::string& model = "") {
    EXPECT_TRUE(m_world->Play(model.empty() ? "plug" : "plug " + model)) << Seen();
    EXPECT_TRUE(m_world->WaitLine("handset OpenDevice(0) -> TRUE", kUiTimeout)) << Seen();
    ChooseTrayItem(TrayItem::kOption);
    HWND option = WaitWindow(L"Ring style");
    EXPECT_TRUE(option) << "Option did not open\n" << Seen();
    return option;
  }
  // Drops a combo's list with a click, picks the item starting with LETTER and closes the list.
  void PickInCombo(HWND dialog, int id, WORD letter) {
    ClickControl(dialog, id);
    PressKey(letter);
    PressKey(VK_RETURN);
  }
};

TEST_F(WineDialogs, OptionRingStyleReachesTheHandsetAndTheFileSlidersDoNoHarm) {
  HWND option = OpenOption();
  ASSERT_TRUE(option);
  Screenshot(option, L"option");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(option, kRingCombo)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(option, kChannelCombo)));
  PickInCombo(option, kRingCombo, '3');
  EXPECT_TRUE(m_world->WaitLine("handset SetRing(TRUE, 3)", kUiTimeout)) << Seen();
  EXPECT_TRUE(WaitFor([&] { return IniValue(L"Tellbud.ini", L"OPTION", L"RingType") == L"3"; }, kUiTimeout))
      << Seen();

  // Without a USB sound device the sliders change nothing and break nothing.
  ClickControl(option, kSpeakerSlider);
  ClickControl(option, kMicSlider);
  EXPECT_FALSE(m_run->HasExited()) << Seen();
  ClickControl(option, IDOK);
  EXPECT_TRUE(WaitGone(option)) << "OK did not close Option\n" << Seen();
  EXPECT_EQ(L"0", IniValue(L"Tellbud.ini", L"OPTION", L"ChannelType"));
  ExpectKeysHideTheMainWindow("after Option closed");
}

TEST_F(WineDialogs, OptionOnAnAdaptorSetsTheDefaultChannel) {
  HWND option = OpenOption("0x0520");
  ASSERT_TRUE(option);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(option, kRingCombo)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(option, kChannelCombo)));
  PickInCombo(option, kChannelCombo, 'U');
  EXPECT_TRUE(m_world->WaitLine("handset SetDefaultChannel(1)", kUiTimeout)) << Seen();
  EXPECT_TRUE(m_world->WaitLine("handset SetChannel(1)", kUiTimeout)) << Seen();
  EXPECT_TRUE(
      WaitFor([&] { return IniValue(L"Tellbud.ini", L"OPTION", L"ChannelType") == L"1"; }, kUiTimeout))
      << Seen();
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitGone(option)) << "Escape did not close Option\n" << Seen();
}

TEST_F(WineDialogs, SelectLanguageWritesTheChoiceAndTheKeysHideTheWindowAfterIt) {
  ChooseTrayItem(TrayItem::kSelectLanguage);
  HWND dialog = WaitWindow(L"Select language");
  ASSERT_TRUE(dialog) << "Select language did not open\n" << Seen();
  Screenshot(dialog, L"select-language");
  PickInCombo(dialog, kLanguageCombo, 'G');
  ClickControl(dialog, IDOK);
  EXPECT_TRUE(WaitGone(dialog)) << "OK did not close Select language\n" << Seen();
  EXPECT_EQ(L"German", IniValue(L"Tellbud.ini", L"LanguageType", L"0"));
  ExpectKeysHideTheMainWindow("after Select language closed");
}

}  // namespace
}  // namespace wine_test
