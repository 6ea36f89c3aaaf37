// The profile functions on real files of the simulated desktop.
#include <gtest/gtest.h>

#include "config/profile.h"
#include "config/profile_file.h"

#include <sim/desktop.h>
#include <sim/files.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using Text = std::basic_string<WCHAR>;

class ProfileTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  fs::path folder;

  void SetUp() override {
    folder =
        fs::temp_directory_path() /
        ("tellbud_profile_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  // The Windows name of a file in the test folder (drive Z: is the Linux root).
  Text WinPath(const std::string& name) const {
    Text path = u"Z:";
    for (char c : (folder / name).string()) path.push_back(c == '/' ? u'\\' : static_cast<char16_t>(c));
    return path;
  }
  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }
  std::string ReadBytes(const std::string& name) const {
    std::ifstream in(folder / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    return names;
  }
  Text Read(const Text& section, const Text& key, const Text& file, DWORD length = 256) {
    std::vector<WCHAR> buffer(length + 1, u'#');
    const DWORD copied =
        ReadProfileString(section.c_str(), key.c_str(), u"dflt", buffer.data(), length, file.c_str());
    EXPECT_EQ(buffer[copied], 0);
    return Text(buffer.data(), copied);
  }
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
  WriteBytes("a.ini", "[s]\r\nk=v\r\n");
  EXPECT_EQ(Read(u"s", u"k", WinPath("a.ini")), u"v");
  EXPECT_EQ(Read(u"s", u"k", WinPath("missing.ini")), u"dflt");
  EXPECT_EQ(Read(u"t", u"k", WinPath("a.ini")), u"dflt");
  EXPECT_EQ(Read(u"s", u"x", WinPath("a.ini")), u"dflt");
  WCHAR buffer[8];
  EXPECT_EQ(ReadProfileString(u"s", u"x", nullptr, buffer, 8, WinPath("a.ini").c_str()), 0u);
  EXPECT_EQ(ReadProfileString(u"s", u"x", u"ab  ", buffer, 8, WinPath("a.ini").c_str()), 2u);
  EXPECT_EQ(Text(buffer), u"ab");
}

TEST_F(ProfileTest, AnEditByHandCountsAtTheNextRead) {
  WriteBytes("a.ini", "[s]\r\nk=1\r\n");
  EXPECT_EQ(Read(u"s", u"k", WinPath("a.ini")), u"1");
  WriteBytes("a.ini", "[s]\r\nk=2\r\n");  // the same size, other bytes
  EXPECT_EQ(Read(u"s", u"k", WinPath("a.ini")), u"2");
  fs::remove(folder / "a.ini");
  EXPECT_EQ(Read(u"s", u"k", WinPath("a.ini")), u"dflt");
}

TEST_F(ProfileTest, ValueAndDefaultAreCutToTheBuffer) {
  WriteBytes("a.ini", "[s]\r\nyear=2024\r\n");
  const Text file = WinPath("a.ini");
  EXPECT_EQ(Read(u"s", u"year", file, 4), u"202");
  EXPECT_EQ(Read(u"s", u"year", file, 1), u"");
  EXPECT_EQ(Read(u"s", u"none", file, 3), u"df");
  EXPECT_EQ(ReadProfileString(u"s", u"year", u"", nullptr, 10, file.c_str()), 0u);
  WCHAR untouched[2] = {u'#', u'#'};
  EXPECT_EQ(ReadProfileString(u"s", u"year", u"", untouched, 0, file.c_str()), 0u);
  EXPECT_EQ(untouched[0], u'#');
  WriteBytes("long.ini", "[s]\nk=" + std::string(5000, 'x') + "\n");  // no limit but the buffer's
  EXPECT_EQ(Read(u"s", u"k", WinPath("long.ini"), 6000), Text(5000, u'x'));
}

TEST_F(ProfileTest, NumberReaderTakesTheLeadingDecimalNumber) {
  WriteBytes("n.ini", "[n]\na=7abc\nb=abc\nc=\nd=-12\ne=+5\nf=\"42\"\ng=99999999999\nh=-99999999999\n");
  const Text file = WinPath("n.ini");
  const struct {
    const char16_t* key;
    INT expected;
  } cases[] = {{u"a", 7},  {u"b", 0},       {u"c", 0},       {u"d", -12},     {u"e", 5},
               {u"f", 42}, {u"g", INT_MAX}, {u"h", INT_MIN}, {u"missing", 33}};
  for (const auto& c : cases) {
    EXPECT_EQ(ReadProfileInt(u"N", c.key, 33, file.c_str()), static_cast<UINT>(c.expected));
  }
  EXPECT_EQ(ReadProfileInt(u"n", u"a", 33, WinPath("none.ini").c_str()), 33u);
}

TEST_F(ProfileTest, NullNamesListSectionsOrKeysEndingInTwoTerminators) {
  WriteBytes("a.ini", "[one]\nx=1\nyy=2\n[two]\n");
  const Text file = WinPath("a.ini");
  WCHAR buffer[16];
  EXPECT_EQ(ReadProfileString(nullptr, nullptr, nullptr, buffer, 16, file.c_str()), 8u);
  EXPECT_EQ(Text(buffer, 9), Text(u"one\0two\0\0", 9));
  EXPECT_EQ(ReadProfileString(u"ONE", nullptr, nullptr, buffer, 5, file.c_str()), 3u);
  EXPECT_EQ(Text(buffer, 5), Text(u"x\0y\0\0", 5));
}

TEST_F(ProfileTest, WriteCreatesAUtf8FileAndChangesOnlyItsLineLater) {
  const Text file = WinPath("new.ini");
  ASSERT_TRUE(WriteProfileString(u"Main", u"Name", u"Gr\u00FC\u00DFe", file.c_str()));
  EXPECT_EQ(ReadBytes("new.ini"),
            "[Main]\r\nName=Gr\xC3\xBC\xC3\x9F"
            "e\r\n");

  const std::string kept = "\xEF\xBB\xBF; comment\n\nstray\n[Main]\nName=old\n[Other]\nName=x";
  WriteBytes("new.ini", kept + "\n");
  ASSERT_TRUE(WriteProfileString(u"main", u"name", u"new", file.c_str()));
  ASSERT_TRUE(WriteProfileString(u"Other", u"Name", nullptr, file.c_str()));
  EXPECT_EQ(ReadBytes("new.ini"), "\xEF\xBB\xBF; comment\n\nstray\n[Main]\nName=new\n[Other]\n");
  ASSERT_TRUE(WriteProfileString(u"Other", nullptr, nullptr, file.c_str()));
  EXPECT_EQ(ReadBytes("new.ini"), "\xEF\xBB\xBF; comment\n\nstray\n[Main]\nName=new\n");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"new.ini"});
}

TEST_F(ProfileTest, Windows1252AndUtf16FilesAreReadAsText) {
  WriteBytes("ansi.ini", "[Phrases]\r\n1=Caf\xE9 \x80\r\n");
  WriteBytes("wide.ini", std::string("\xFF\xFE[\0P\0]\0\n\0"
                                     "1\0=\0\x4B\x04\n\0",
                                     18));
  EXPECT_EQ(Read(u"phrases", u"1", WinPath("ansi.ini")), u"Caf\u00E9 \u20AC");
  EXPECT_EQ(Read(u"p", u"1", WinPath("wide.ini")), u"\u044B");
}

TEST_F(ProfileTest, NumberedListEndsAtTheFirstGapOrEmptyValue) {
  WriteBytes("list.ini", "[L]\n2=second\n1=\"first one\"\n3=\n4=after empty\n[Gap]\n1=a\n3=c\n");
  const Text file = WinPath("list.ini");
  EXPECT_EQ(ReadProfileList(u"l", 5, file.c_str()), (std::vector<Text>{u"first", u"secon"}));
  EXPECT_EQ(ReadProfileList(u"gap", 64, file.c_str()), std::vector<Text>{u"a"});
  EXPECT_TRUE(ReadProfileList(u"none", 64, file.c_str()).empty());
  EXPECT_TRUE(ReadProfileList(u"l", 64, WinPath("none.ini").c_str()).empty());
}

TEST_F(ProfileTest, BadArgumentsFailWithInvalidParameter) {
  const Text file = WinPath("a.ini");
  for (BOOL result :
       {WriteProfileString(nullptr, u"k", u"v", file.c_str()), WriteProfileString(u"s", u"k", u"v", nullptr),
        WriteProfileString(u"s", u"k", u"line\nbreak", file.c_str())}) {
    EXPECT_FALSE(result);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(ProfileTest, FileThatCannotBeReadIsMissingForReadersAndNotOverwritten) {
  fs::create_directory(folder / "dir.ini");
  const Text file = WinPath("dir.ini");
  EXPECT_EQ(Read(u"s", u"k", file), u"dflt");
  EXPECT_FALSE(WriteProfileString(u"s", u"k", u"v", file.c_str()));
  EXPECT_TRUE(fs::is_directory(folder / "dir.ini"));
  EXPECT_EQ(FolderEntries().size(), 1u);
}

TEST_F(ProfileTest, FailedOrInterruptedWriteLeavesTheOldFileIntact) {
  using sim::FaultEffect;
  using sim::FileOperation;
  const std::string original = "[s]\r\nk=old\r\n; keep\r\n";
  const Text file = WinPath("a.ini");
  const struct {
    FileOperation operation;
    FaultEffect effect;
    bool on_temporary_file;
  } cases[] = {{FileOperation::kWrite, FaultEffect::kFail, true},
               {FileOperation::kFlush, FaultEffect::kFail, true},
               {FileOperation::kMove, FaultEffect::kFail, false},
               {FileOperation::kWrite, FaultEffect::kCrash, true},
               {FileOperation::kMove, FaultEffect::kCrash, false}};
  for (const auto& c : cases) {
    WriteBytes("a.ini", original);
    std::optional<BOOL> result;
    DWORD error = 0;
    const DWORD pid = desktop.StartProcess({0, u"Tellbud.exe", WinPath("Tellbud.exe"), u"Tellbud.exe"}, [&] {
      sim::InjectFileFault(c.on_temporary_file ? config::TemporaryPathBeside(file, 0) : file, c.operation, 1,
                           c.effect, ERROR_DISK_FULL);
      result = WriteProfileString(u"s", u"k", u"new", file.c_str());
      error = GetLastError();
      return 0;
    });
    desktop.RunUntilIdle();
    EXPECT_EQ(ReadBytes("a.ini"), original);
    if (c.effect == FaultEffect::kFail) {
      EXPECT_EQ(result, FALSE);
      EXPECT_EQ(error, static_cast<DWORD>(ERROR_DISK_FULL));
      EXPECT_EQ(FolderEntries(), std::vector<std::string>{"a.ini"});
    } else {
      EXPECT_FALSE(result.has_value());
      EXPECT_EQ(desktop.ProcessExitCode(pid), static_cast<int>(0xC0000005));
    }
    // A later write succeeds, also beside a temporary file a crash left behind.
    ASSERT_TRUE(WriteProfileString(u"s", u"k", u"later", file.c_str()));
    EXPECT_EQ(ReadBytes("a.ini"), "[s]\r\nk=later\r\n; keep\r\n");
  }
}

TEST_F(ProfileTest, WriteSkipsATemporaryNameThatIsTaken) {
  const Text file = WinPath("a.ini");
  const Text taken = config::TemporaryPathBeside(file, 0);
  const std::string taken_name(taken.begin() + static_cast<std::ptrdiff_t>(taken.rfind(u'\\') + 1),
                               taken.end());
  WriteBytes(taken_name, "someone else's");
  ASSERT_TRUE(WriteProfileString(u"s", u"k", u"v", file.c_str()));
  EXPECT_EQ(ReadBytes("a.ini"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(ReadBytes(taken_name), "someone else's");
}

TEST_F(ProfileTest, PathsBelowMaxPathWorkAndLongerOnesFailCleanly) {
  // A folder whose name brings "<folder>\\p.ini" to 259 characters, the longest Windows allows.
  const std::string sub(MAX_PATH - 1 - WinPath("").size() - std::string("\\p.ini").size(), 'd');
  fs::create_directory(folder / sub);
  const Text longest = WinPath(sub + "/p.ini");
  const Text too_long = WinPath(sub + "/pp.ini");
  ASSERT_EQ(longest.size(), 259u);
  EXPECT_EQ(config::TemporaryPathBeside(longest, 0).rfind(u"\\\\?\\", 0), 0u);  // beyond MAX_PATH
  ASSERT_TRUE(WriteProfileString(u"s", u"k", u"v", longest.c_str()));
  EXPECT_EQ(Read(u"s", u"k", longest), u"v");
  EXPECT_FALSE(WriteProfileString(u"s", u"k", u"v", too_long.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_EQ(Read(u"s", u"k", too_long), u"dflt");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / sub), {}), 1);
}

}  // namespace
