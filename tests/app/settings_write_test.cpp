// The program's own writes to its settings file (the ring style stepped by the handset's hash
// key): only the key's line changes, the file keeps its comments, byte order mark and encoding,
// and a crash half-way through the write leaves the old file as it was.
#include "support/program_fixture.h"

#include <sim/files.h>

#include "app/paths.h"
#include "config/profile_file.h"
#include "world/core/text.h"

namespace {

class SettingsWriteTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    RunAll({"messenger start", "messenger signin", "handset plug"});
  }
  // Tellbud with the handset open and Messenger connected, its window out of the foreground,
  // so that the hash key steps the ring style.
  void StartReadyForTheRingKey() {
    RunAll({"start", "wait 3s", "window close"});
    ASSERT_NE(Dialog(), nullptr);
    ASSERT_EQ(Dialog()->m_nCallState, CALL_READY);
    ASSERT_TRUE(Dialog()->m_bMSNConnected);
  }
};

std::string Utf16Le(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

TEST_F(SettingsWriteTest, RingKeyRewritesOnlyTheRingTypeLineKeepingCommentsBomAndEncoding) {
  const std::u16string before =
      u"; R\u00e9glages \u2014 hand edited\r\n[LanguageType]\r\n0=English\r\n\r\n[OPTION]\r\n"
      u"; the ring style\r\nRingType = 3 \r\nChannelType=0\r\n[SHORTCUT_KEY]\r\nAccept=Alt+C\r\n";
  std::u16string after = before;
  after.replace(after.find(u"RingType = 3 "), 13, u"RingType = 4");

  struct Encoding {
    const char* name;
    std::string (*encode)(const std::u16string&);
  } encodings[] = {
      {"UTF-8 with byte order mark", [](const std::u16string& t) { return "\xEF\xBB\xBF" + world::Utf8(t); }},
      {"UTF-16LE", Utf16Le},
  };
  for (const Encoding& e : encodings) {
    SCOPED_TRACE(e.name);
    WriteFile("Tellbud.ini", e.encode(before));
    StartReadyForTheRingKey();
    Run("handset key #");
    EXPECT_PRINTED("handset SetRing(TRUE, 4)");
    EXPECT_EQ(ReadFile("Tellbud.ini"), e.encode(after));
    Run("start *exit*");
  }
}

TEST_F(SettingsWriteTest, CrashInTheMiddleOfTheRingStyleWriteLeavesTheOldSettingsFile) {
  StartReadyForTheRingKey();
  const std::string original = ReadFile("Tellbud.ini");
  const DWORD pid = world.RunningTellbuds().at(0);

  // The temporary file Tellbud's write will use now: named in Tellbud's own process.
  std::u16string temporary;
  world.desktop().StartThread(pid, [&] { temporary = config::TemporaryPathBeside(g_szSettingsPath, 0); });
  world.Settle();
  ASSERT_FALSE(temporary.empty());
  ASSERT_TRUE(sim::InjectFileFault(temporary, sim::FileOperation::kWrite, 1, sim::FaultEffect::kCrash));

  Run("handset key #");
  EXPECT_FALSE(world.desktop().IsProcessRunning(pid));
  EXPECT_EQ(world.desktop().ProcessExitCode(pid), static_cast<int>(0xC0000005));
  EXPECT_EQ(ReadFile("Tellbud.ini"), original);

  // The next run reads the old ring style and writes the new one beside the leftover file.
  sim::ClearFileFaults();
  StartReadyForTheRingKey();
  Run("handset key #");
  EXPECT_NE(ReadFile("Tellbud.ini").find("RingType=1"), std::string::npos);
}

}  // namespace
