// Loading icons from files and resources, and the lifetime of icon handles.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>
#include <sim/files.h>
#include <sim/icons.h>

#include <vector>

#include "kernel_test_support.h"

namespace {

using kernel_test::ScratchFolder;
using Bytes = std::vector<uint8_t>;

void PutWord(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void PutDword(Bytes& b, size_t at, uint32_t v) {
  PutWord(b, at, v & 0xFFFF);
  PutWord(b, at + 2, v >> 16);
}

// A 32-bit bitmap icon image of w x w pixels with its mask.
Bytes IconImage(int w) {
  size_t pixels = static_cast<size_t>(w) * w * 4, mask = static_cast<size_t>((w + 31) / 32 * 4) * w;
  Bytes image(40 + pixels + mask, 0);
  PutDword(image, 0, 40);
  PutDword(image, 4, w);
  PutDword(image, 8, 2 * w);
  PutWord(image, 12, 1);
  PutWord(image, 14, 32);
  return image;
}

// An .ico file holding one image per size.
Bytes IcoFile(std::vector<int> sizes) {
  Bytes file(6 + 16 * sizes.size(), 0);
  PutWord(file, 2, 1);
  PutWord(file, 4, static_cast<uint32_t>(sizes.size()));
  for (size_t i = 0; i < sizes.size(); ++i) {
    Bytes image = IconImage(sizes[i]);
    size_t entry = 6 + 16 * i;
    file[entry] = static_cast<uint8_t>(sizes[i]);
    file[entry + 1] = static_cast<uint8_t>(sizes[i]);
    PutWord(file, entry + 6, 32);
    PutDword(file, entry + 8, static_cast<uint32_t>(image.size()));
    PutDword(file, entry + 12, static_cast<uint32_t>(file.size()));
    file.insert(file.end(), image.begin(), image.end());
  }
  return file;
}

class IconTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;
  ScratchFolder folder;

  std::u16string Store(const std::string& name, const Bytes& bytes) {
    kernel_test::WriteAll(folder.Linux(name), std::string(bytes.begin(), bytes.end()));
    return folder.Windows(name);
  }
  HICON LoadFile(const std::u16string& path, int cx = 0, int cy = 0, UINT flags = 0) {
    return static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, cx, cy, LR_LOADFROMFILE | flags));
  }
};

TEST_F(IconTest, FileIconTakesItsFirstImagesSizeOrTheRequestedOne) {
  auto path = Store("ok.ico", IcoFile({16, 48}));
  HICON own = LoadFile(path);
  ASSERT_NE(own, nullptr);
  auto description = sim::DescribeIcon(own);
  EXPECT_EQ(description->origin, sim::IconDescription::Origin::kFile);
  EXPECT_EQ(description->path, path);
  EXPECT_EQ(description->width, 16);
  EXPECT_EQ(sim::DescribeIcon(LoadFile(path, 0, 0, LR_DEFAULTSIZE))->width, 32);
  EXPECT_EQ(sim::DescribeIcon(LoadFile(path, 48, 48))->height, 48);
  EXPECT_LE(reinterpret_cast<uintptr_t>(own), 0xFFFFFFFFu);
}

TEST_F(IconTest, MissingEmptyAndMalformedFilesGiveNull) {
  EXPECT_EQ(LoadFile(folder.Windows("none.ico")), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(LoadFile(Store("empty.ico", {})), nullptr);
  Bytes wrong_type = IcoFile({16});
  wrong_type[2] = 2;  // a cursor file
  EXPECT_EQ(LoadFile(Store("cursor.ico", wrong_type)), nullptr);
  Bytes no_entries = IcoFile({16});
  PutWord(no_entries, 4, 0);
  EXPECT_EQ(LoadFile(Store("none.ico", no_entries)), nullptr);
  Bytes outside = IcoFile({16});
  PutDword(outside, 6 + 12, 100000);  // image offset past the end
  EXPECT_EQ(LoadFile(Store("outside.ico", outside)), nullptr);
  Bytes truncated = IcoFile({32});
  truncated.resize(truncated.size() - 2000);  // pixels cut off
  PutDword(truncated, 6 + 8, static_cast<uint32_t>(truncated.size() - 22));
  EXPECT_EQ(LoadFile(Store("truncated.ico", truncated)), nullptr);
  EXPECT_EQ(sim::LiveIconCount(), 0u);
}

TEST_F(IconTest, DestroyInvalidatesAndASecondDestroyFails) {
  HICON icon = LoadFile(Store("ok.ico", IcoFile({16})));
  HICON copy = CopyIcon(icon);
  EXPECT_NE(copy, icon);
  EXPECT_EQ(sim::LiveIconCount(), 2u);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(sim::DescribeIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CURSOR_HANDLE));
  EXPECT_EQ(CopyIcon(icon), nullptr);
  EXPECT_EQ(sim::DescribeIcon(copy)->width, 16);  // the copy lives on
  EXPECT_EQ(sim::LiveIconCount(), 1u);
}

TEST_F(IconTest, SharedIconsAreReusedAndSurviveDestroy) {
  HICON first = LoadIconW(nullptr, IDI_APPLICATION);
  EXPECT_EQ(LoadIconW(nullptr, IDI_APPLICATION), first);
  EXPECT_TRUE(DestroyIcon(first));
  EXPECT_EQ(sim::DescribeIcon(first)->origin, sim::IconDescription::Origin::kSystem);
  EXPECT_EQ(sim::LiveIconCount(), 0u);
  EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(7)), nullptr);
}

TEST_F(IconTest, ResourceIconsBelongToTheirExecutableImage) {
  ASSERT_TRUE(sim::RegisterIconResource(u"Tellbud.exe", 101, IcoFile({16, 32})));
  EXPECT_FALSE(sim::RegisterIconResource(u"Tellbud.exe", 102, Bytes{1, 2, 3}));
  HICON loaded = nullptr, big = nullptr, absent = nullptr;
  DWORD pid = kernel_test::RunProcess(desktop, u"tellbud.EXE", [&] {
    HINSTANCE self = GetModuleHandleW(nullptr);
    loaded = LoadIconW(self, MAKEINTRESOURCEW(101));
    big = static_cast<HICON>(LoadImageW(self, u"#101", IMAGE_ICON, 32, 32, 0));
    absent = LoadIconW(self, MAKEINTRESOURCEW(102));
    Sleep(INFINITE);
    return 0;
  });
  ASSERT_NE(loaded, nullptr);
  auto description = sim::DescribeIcon(loaded);
  EXPECT_EQ(description->origin, sim::IconDescription::Origin::kResource);
  EXPECT_EQ(description->resource_id, 101);
  EXPECT_EQ(description->module, u"tellbud.EXE");
  EXPECT_EQ(description->width, 32);
  EXPECT_EQ(absent, nullptr);
  EXPECT_EQ(sim::LiveIconCount(pid), 1u);  // `big`; the shared one does not count
  desktop.EndProcess(pid);
  desktop.RunUntilIdle();
  EXPECT_FALSE(sim::DescribeIcon(big));  // released with its process
  EXPECT_EQ(sim::LiveIconCount(), 0u);
}

TEST_F(IconTest, CreateFromResourceBitsAndLookupInAGroupDirectory) {
  Bytes image = IconImage(24);
  HICON icon =
      CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000, 0, 0, 0);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(sim::DescribeIcon(icon)->width, 24);
  EXPECT_EQ(CreateIconFromResourceEx(image.data(), 20, TRUE, 0x00030000, 0, 0, 0), nullptr);
  EXPECT_EQ(CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x1, 0, 0, 0),
            nullptr);

  Bytes group(6 + 14 * 3, 0);
  PutWord(group, 2, 1);
  PutWord(group, 4, 3);
  int sizes[] = {16, 32, 48};
  for (int i = 0; i < 3; ++i) {
    group[6 + 14 * i] = static_cast<uint8_t>(sizes[i]);
    group[6 + 14 * i + 1] = static_cast<uint8_t>(sizes[i]);
    PutWord(group, 6 + 14 * i + 6, 32);
    PutWord(group, 6 + 14 * i + 12, 200 + i);
  }
  EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 32, 32, 0), 201);
  EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 20, 20, 0), 201);  // the smallest larger one
  EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 64, 64, 0), 202);
  EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), FALSE, 32, 32, 0), 0);  // not a cursor directory
}

TEST_F(IconTest, LoadingAFileIsRecordedAsAnOpen) {
  auto path = Store("ok.ico", IcoFile({16}));
  DWORD pid = kernel_test::RunProcess(desktop, u"app.exe", [&] {
    LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    return 0;
  });
  ASSERT_EQ(sim::OpenedFiles(pid).size(), 1u);
  EXPECT_EQ(sim::OpenedFiles(pid)[0].path, path);
}

}  // namespace
