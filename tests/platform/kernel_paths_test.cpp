// How Windows paths reach the Linux file system.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>
#include <sim/files.h>

#include "kernel_test_support.h"

namespace {

using kernel_test::ScratchFolder;

class PathTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  ScratchFolder folder;
};

TEST_F(PathTest, DriveZIsTheLinuxRootAndSlashesMayBeEitherWay) {
  EXPECT_EQ(sim::HostPath(u"Z:\\tmp\\a.ini"), "/tmp/a.ini");
  EXPECT_EQ(sim::HostPath(u"z:/tmp/a.ini"), "/tmp/a.ini");
  EXPECT_EQ(sim::HostPath(u"\\tmp\\a.ini"), "/tmp/a.ini");  // the current drive
  EXPECT_EQ(sim::WindowsPathOf("/tmp/a.ini"), u"Z:\\tmp\\a.ini");
}

TEST_F(PathTest, DotsAndTrailingDotsAndSpacesAreNormalised) {
  EXPECT_EQ(sim::HostPath(u"Z:\\tmp\\.\\x\\..\\a.ini. "), "/tmp/a.ini");
  EXPECT_EQ(sim::HostPath(u"Z:\\..\\..\\tmp"), "/tmp");
}

TEST_F(PathTest, DriveCExistsOnlyOnceMapped) {
  EXPECT_EQ(sim::HostPath(u"C:\\Users\\a.ini"), std::nullopt);
  EXPECT_EQ(GetFileAttributesW(u"C:\\Users"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  sim::SetDriveRoot('c', folder.linux_path());
  EXPECT_EQ(sim::HostPath(u"C:\\Users\\a.ini"), folder.Linux("Users/a.ini"));
  EXPECT_EQ(GetFileAttributesW(u"C:\\"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(PathTest, RelativePathsStartInTheExecutablesFolder) {
  kernel_test::WriteAll(folder.Linux("rel.ini"), "x");
  std::u16string exe = folder.Windows("app.exe");
  DWORD attributes = 0;
  desktop.StartProcess(sim::ProcessInfo{0, u"app.exe", exe, u"app.exe"}, [&] {
    attributes = GetFileAttributesW(u"rel.ini");
    return 0;
  });
  desktop.RunUntilIdle();
  EXPECT_EQ(attributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(PathTest, NamesAreCaseSensitiveLikeTheLinuxFileSystem) {
  kernel_test::WriteAll(folder.Linux("Name.ini"), "x");
  EXPECT_NE(GetFileAttributesW(folder.Windows("Name.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(folder.Windows("name.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(PathTest, InvalidCharactersAreRejected) {
  EXPECT_EQ(CreateFileW(folder.Windows("a?b").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST_F(PathTest, LiteralPathsCannotClimbOutOfADrive) {
  sim::SetDriveRoot('C', folder.linux_path());
  EXPECT_EQ(GetFileAttributesW(u"\\\\?\\C:\\..\\etc"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_EQ(sim::HostPath(u"\\\\?\\C:\\a/b"), std::nullopt);
  EXPECT_EQ(sim::HostPath(u"C:\\..\\..\\etc"), folder.Linux("etc"));  // normalised at the root
}

TEST_F(PathTest, PathsOfMaxPathCharactersFailUnlessLiteral) {
  std::u16string base = folder.Windows();
  std::u16string just_fits = base + u"\\" + std::u16string(MAX_PATH - 2 - base.size(), u'a');
  ASSERT_EQ(just_fits.size(), static_cast<size_t>(MAX_PATH - 1));
  EXPECT_NE(sim::HostPath(just_fits), std::nullopt);
  std::u16string too_long = just_fits + u"b";
  HANDLE h = CreateFileW(too_long.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));

  // A literal path may be longer; here it names a file in a deep folder chain.
  std::u16string literal = u"\\\\?\\" + base;
  std::string linux_path = folder.linux_path();
  for (int i = 0; i < 3; ++i) {
    std::u16string name(100, static_cast<char16_t>(u'a' + i));
    literal += u"\\" + name;
    linux_path += "/" + std::string(100, static_cast<char>('a' + i));
    ASSERT_TRUE(CreateDirectoryW(literal.c_str(), nullptr));
  }
  literal += u"\\f.txt";
  h = CreateFileW(literal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_EQ(GetFileAttributesW(literal.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(sim::HostPath(literal), linux_path + "/f.txt");
}

TEST_F(PathTest, TempPathEndsWithABackslashAndReportsTheSizeNeeded) {
  sim::SetTempPath(u"Z:\\tmp\\tellbud");
  WCHAR small[4];
  EXPECT_EQ(GetTempPathW(4, small), 16u);  // "Z:\tmp\tellbud\" and its terminator
  WCHAR out[MAX_PATH];
  EXPECT_EQ(GetTempPathW(MAX_PATH, out), 15u);
  EXPECT_EQ(std::u16string(out), u"Z:\\tmp\\tellbud\\");
}

}  // namespace
