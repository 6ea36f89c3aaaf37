// Tellbud's start: the files beside the executable it creates and reads, the language file it
// picks, and the main window and tray icon it opens with.
#include "support/program_fixture.h"

#include "app/paths.h"

namespace {

namespace fs = std::filesystem;

class StartupTest : public ProgramFixture {
 protected:
  // The Windows path of a file beside the executable.
  std::u16string Beside(const std::u16string& name) const {
    return world::WindowsPath(world.exe_folder()) + name;
  }
  void WriteSettings(const std::string& text) { WriteFile("Tellbud.ini", text); }
};

TEST_F(StartupTest, StartWithoutSettingsFilesCreatesAnEmptyCustomFileAndPicksTheEnglishLanguageFile) {
  fs::remove(world.exe_folder() / "Tellbud.ini");
  Run("start");

  EXPECT_EQ(std::u16string(g_szSettingsPath), Beside(u"\\Tellbud.ini"));
  EXPECT_EQ(std::u16string(g_szCustomPath), Beside(u"\\Custom.ini"));
  EXPECT_EQ(std::u16string(g_szLanguagePath), Beside(u"\\Language\\English.ini"));
  ASSERT_TRUE(fs::exists(world.exe_folder() / "Custom.ini"));
  EXPECT_EQ(fs::file_size(world.exe_folder() / "Custom.ini"), 0u);
  EXPECT_FALSE(fs::exists(world.exe_folder() / "Tellbud.ini")) << "reading the settings writes no file";

  EXPECT_PRINTED("tray add \"Can't find USB Phone\"");
  EXPECT_PRINTED("tray icon #128");
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
  CTellbudDlg* dlg = Dialog();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(dlg->m_nCallState, CALL_NO_HANDSET);
}

TEST_F(StartupTest, AnExistingCustomFileIsLeftByteForByte) {
  const std::string custom =
      "\xEF\xBB\xBF; mine\r\n[CustomName]\r\nbob@example.com=\"B\xC3\xB6\x62\"\r\ntrailing";
  WriteFile("Custom.ini", custom);
  Run("start");
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(ReadFile("Custom.ini"), custom);
}

TEST_F(StartupTest, CustomFileThatCannotBeCreatedDoesNotStopTheStart) {
  fs::create_directory(world.exe_folder() / "Custom.ini");
  Run("start");
  EXPECT_NE(Dialog(), nullptr);
  EXPECT_PRINTED("window \"Tellbud<1.0>\" shown");
}

TEST_F(StartupTest, LanguageFileFollowsTheSelectedNameOrFallsBackToEnglish) {
  struct Case {
    const char* settings;
    std::u16string expected;
  } cases[] = {
      {"[LanguageType]\n0=German\n[LanguageFiles]\nGerman=\\Language\\German.ini\n",
       u"\\Language\\German.ini"},
      {"[languagetype]\n0=german\n[LANGUAGEFILES]\nGERMAN=\\Language\\German.ini\n",
       u"\\Language\\German.ini"},
      {"[LanguageType]\n0=Klingon\n[LanguageFiles]\nGerman=\\Language\\German.ini\n",
       u"\\Language\\English.ini"},
      {"[LanguageType]\n1=German\n[LanguageFiles]\nGerman=\\Language\\German.ini\n",
       u"\\Language\\English.ini"},
      {"[LanguageFiles]\nEnglish=\\Lang\\En.ini\n", u"\\Lang\\En.ini"},
  };
  for (const Case& c : cases) {
    WriteSettings(c.settings);
    Run("start");
    EXPECT_EQ(std::u16string(g_szLanguagePath), Beside(c.expected)) << c.settings;
    Run("start *exit*");
  }
}

TEST_F(StartupTest, LanguageNameAndRelativePathAreCutTo31Characters) {
  const std::string longName(40, 'N');
  const std::string cutName(31, 'N');
  const std::string longPath = "\\Language\\" + std::string(30, 'p') + ".ini";  // 44 characters
  WriteSettings("[LanguageType]\n0=" + longName + "\n[LanguageFiles]\n" + cutName + "=" + longPath + "\n");
  Run("start");
  EXPECT_EQ(std::u16string(g_szLanguagePath), Beside(u"\\Language\\" + std::u16string(21, u'p')));
}

TEST_F(StartupTest, MalformedSettingsStillYieldTheirWellFormedKeys) {
  const std::string overlong(5000, 'x');
  WriteSettings("text before any section\n0=Before\n[Broken\nno equals sign here\n=no key\n" + overlong +
                "=" + overlong + "\n[LanguageType]\n" + overlong + "\n0=French\n[LanguageFiles]\n" +
                overlong + "=" + overlong + "\nFrench=\\Language\\French.ini\n\xFF\xFE garbage \x01\n");
  Run("start");
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(std::u16string(g_szLanguagePath), Beside(u"\\Language\\French.ini"));
}

TEST_F(StartupTest, UnreadableSettingsFileCountsAsMissing) {
  fs::remove(world.exe_folder() / "Tellbud.ini");
  fs::create_directory(world.exe_folder() / "Tellbud.ini");
  Run("start");
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(std::u16string(g_szLanguagePath), Beside(u"\\Language\\English.ini"));
}

// The handset search: the first tick after one second, then every two seconds until the handset
// opens; the open handset gets the ring style of the settings file.
TEST_F(StartupTest, PluggedHandsetIsOpenedWithinTwoSecondsAndGetsTheRingStyleOfTheSettings) {
  Run("ini Tellbud.ini OPTION RingType \"7\"");
  RunAll({"start", "wait 1500ms", "handset plug", "wait 1500ms"});
  EXPECT_PRINTED("[00:03.000] handset OpenDevice(0) -> TRUE");
  EXPECT_PRINTED("handset GetModelCode() -> 512");
  EXPECT_PRINTED("handset SetRing(FALSE, 7)");
  EXPECT_PRINTED("handset SetIdle()");
  CTellbudDlg* dlg = Dialog();
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(dlg->m_nCallState, CALL_READY);
  EXPECT_EQ(dlg->m_nPhoneModel, 0x200u);
  EXPECT_EQ(dlg->m_nRingType, 7);
}

TEST_F(StartupTest, SearchTicksComeAfterOneSecondThenEveryTwoAndStopOnceTheHandsetOpens) {
  RunAll({"start", "wait 5500ms"});
  EXPECT_PRINTED("[00:01.000] handset OpenDevice(0) -> FALSE");
  EXPECT_PRINTED("[00:03.000] handset OpenDevice(0) -> FALSE");
  EXPECT_PRINTED("[00:05.000] handset OpenDevice(0) -> FALSE");
  EXPECT_FALSE(PrintedSinceMark("OpenDevice"));
  RunAll({"handset plug", "wait 1500ms"});
  EXPECT_PRINTED("[00:07.000] handset OpenDevice(0) -> TRUE");
  Run("wait 20s");
  EXPECT_FALSE(PrintedSinceMark("OpenDevice")) << Transcript();
}

}  // namespace
