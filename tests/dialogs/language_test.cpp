// The language dialog: the numbered languages up to the first gap, the current one preselected
// by prefix, and the choice effective at once.
#include "dialogs/dialog_fixture.h"

#include <filesystem>

#include "app/paths.h"
#include "res/resource.h"

namespace {

class LanguageTest : public DialogFixture {
 protected:
  std::vector<std::string> Offered() {
    std::vector<std::string> items;
    auto combo = sim::InspectComboBox(sim::FindControl(DialogWindow("Select language"), IDC_LANGUAGE_COMBO));
    if (combo)
      for (const auto& item : combo->items) items.push_back(world::Utf8(item));
    return items;
  }
  int Selected() {
    auto combo = sim::InspectComboBox(sim::FindControl(DialogWindow("Select language"), IDC_LANGUAGE_COMBO));
    return combo ? combo->selection : -2;
  }
  void Choose(const std::string& item) {
    ASSERT_TRUE(sim::ChooseComboBoxItem(sim::FindControl(DialogWindow("Select language"), IDC_LANGUAGE_COMBO),
                                        world::Utf16(item)));
    world.Settle();
  }
  std::string LanguagePath() { return world::Utf8(g_szLanguagePath); }
};

TEST_F(LanguageTest, TheListEndsAtTheFirstGapAndTheCurrentLanguageIsFoundByPrefix) {
  RunAll({"ini Tellbud.ini LanguageType 0 \"english\"", "ini Tellbud.ini LanguageType 1 \"German\"",
          "ini Tellbud.ini LanguageType 2 \"English (UK)\"", "ini Tellbud.ini LanguageType 3 \"\"",
          "ini Tellbud.ini LanguageType 4 \"French\""});
  StartConnected({});
  TrayCommand("SelectLanguage");
  EXPECT_EQ(Offered(), (std::vector<std::string>{"German", "English (UK)"}));
  EXPECT_EQ(Selected(), 1);
  Click("Select language", "Cancel");
  EXPECT_NE(ReadFile("Tellbud.ini").find("0=english"), std::string::npos) << "Cancel changes nothing";
}

// After OK the next scan reads the German phrases: a German invitation rings without a restart.
TEST_F(LanguageTest, ChoosingGermanTakesEffectAtOnce) {
  StartConnected({"bob@example.com \"Bob\" online"});
  Run("messenger language German");
  TrayCommand("SelectLanguage");
  Choose("German");
  Click("Select language", "OK");
  EXPECT_NE(ReadFile("Tellbud.ini").find("0=German"), std::string::npos);
  EXPECT_NE(LanguagePath().find("\\Language\\German.ini"), std::string::npos) << LanguagePath();
  Run("call bob@example.com");
  Tick();
  Tick();
  EXPECT_PRINTED("handset ShowIncomingCall(\"bob@example.com\")");
}

TEST_F(LanguageTest, LongNamesAreCutToThirtyOneCharactersWhenChosen) {
  std::string longName(40, 'L');
  Run("ini Tellbud.ini LanguageType 4 \"" + longName + "\"");
  Run("ini Tellbud.ini LanguageFiles " + longName.substr(0, 31) + " \"\\Language\\French.ini\"");
  StartConnected({});
  TrayCommand("SelectLanguage");
  Choose(longName);
  Click("Select language", "OK");
  EXPECT_NE(ReadFile("Tellbud.ini").find("0=" + longName.substr(0, 31)), std::string::npos);
  EXPECT_EQ(ReadFile("Tellbud.ini").find("0=" + longName.substr(0, 32)), std::string::npos);
  EXPECT_NE(LanguagePath().find("\\Language\\French.ini"), std::string::npos) << LanguagePath();
}

TEST_F(LanguageTest, AReadOnlySettingsFileKeepsTheLanguage) {
  StartConnected({});
  std::string path = LanguagePath();
  std::filesystem::permissions(world.exe_folder() / "Tellbud.ini", std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::replace);
  TrayCommand("SelectLanguage");
  Choose("German");
  Click("Select language", "OK");
  EXPECT_TRUE(IsOpen("Tellbud")) << "a message box tells that nothing was saved";
  Click("Tellbud", "OK");
  EXPECT_EQ(LanguagePath(), path);
  Click("Select language", "Cancel");
}

}  // namespace
