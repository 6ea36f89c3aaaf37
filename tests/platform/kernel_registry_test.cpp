// Registry keys and values, their sizes and errors, and the world's view.
#include <gtest/gtest.h>
#include <windows.h>

#include <sim/desktop.h>
#include <sim/registry.h>

#include <cstring>

#include "kernel_test_support.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  sim::Desktop desktop;

  HKEY Create(const std::u16string& path, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
  }
};

TEST_F(RegistryTest, StringValueRoundTripsWithItsTerminator) {
  HKEY key = Create(u"Software\\Tellbud");
  const WCHAR text[] = u"Alt+P";
  ASSERT_EQ(RegSetValueExW(key, u"Hotkey", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
            ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Hotkey", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, sizeof text);
  WCHAR out[16];
  size = sizeof out;
  EXPECT_EQ(RegQueryValueExW(key, u"hotkey", nullptr, nullptr, reinterpret_cast<BYTE*>(out), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(out), u"Alt+P");
  EXPECT_EQ(sim::ReadRegistryValue(HKEY_CURRENT_USER, u"software\\TELLBUD", u"Hotkey")->AsString(), u"Alt+P");
  RegCloseKey(key);
}

TEST_F(RegistryTest, SmallBufferGetsMoreDataAndTheSizeNeeded) {
  sim::SetRegistryString(HKEY_CURRENT_USER, u"Software\\Tellbud", u"Name", u"Messenger");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Tellbud", 0, KEY_READ, &key), ERROR_SUCCESS);
  BYTE small[4] = {1, 2, 3, 4};
  DWORD size = sizeof small;
  EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 20u);    // nine characters and the terminator
  EXPECT_EQ(small[0], 1);  // left as it was
  EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, nullptr, small, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(RegistryTest, DwordValuesAndTheWorldsSeeding) {
  sim::SetRegistryDword(HKEY_LOCAL_MACHINE, u"Software\\Vendor", u"Port", 4242);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\vendor", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  DWORD value = 0, size = sizeof value, type = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Port", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 4242u);
  RegCloseKey(key);
}

TEST_F(RegistryTest, CreateReportsWhetherTheKeyIsNewAndBuildsIntermediateKeys) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, u"A\\B\\C", 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition),
      ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  RegCloseKey(key);
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, u"a\\b\\c", 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition),
      ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  RegCloseKey(key);
  EXPECT_TRUE(sim::RegistryKeyExists(HKEY_CURRENT_USER, u"A\\B"));
}

TEST_F(RegistryTest, OpenErrors) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Nowhere", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"\\Software", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegOpenKeyExW(reinterpret_cast<HKEY>(0x1234), u"x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"x", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryTest, AccessRightsOfTheHandleAreEnforced) {
  HKEY read_only = Create(u"Software\\T", KEY_READ);
  DWORD one = 1;
  EXPECT_EQ(RegSetValueExW(read_only, u"v", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueW(read_only, u"v"), ERROR_ACCESS_DENIED);
  HKEY write_only = Create(u"Software\\T", KEY_SET_VALUE);
  EXPECT_EQ(RegSetValueExW(write_only, u"v", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4), ERROR_SUCCESS);
  DWORD size = 4;
  EXPECT_EQ(RegQueryValueExW(write_only, u"v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueW(write_only, u"V"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(write_only, u"V"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DefaultValueHasAnEmptyName) {
  HKEY key = Create(u"Software\\T");
  DWORD seven = 7;
  RegSetValueExW(key, nullptr, 0, REG_DWORD, reinterpret_cast<BYTE*>(&seven), 4);
  EXPECT_EQ(sim::ReadRegistryValue(HKEY_CURRENT_USER, u"Software\\T", u"")->AsDword(), 7u);
}

TEST_F(RegistryTest, RemovedKeyFailsOnOpenHandles) {
  HKEY key = Create(u"Software\\Gone\\Sub");
  EXPECT_TRUE(sim::RemoveRegistryKey(HKEY_CURRENT_USER, u"Software\\Gone"));
  EXPECT_FALSE(sim::RegistryKeyExists(HKEY_CURRENT_USER, u"Software\\Gone\\Sub"));
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"x", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_FALSE(sim::RemoveRegistryKey(HKEY_CURRENT_USER, u"Software\\Gone"));
}

TEST_F(RegistryTest, EveryProcessSeesTheSameRegistry) {
  kernel_test::RunProcess(desktop, u"writer.exe", [] {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Shared", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    DWORD three = 3;
    RegSetValueExW(key, u"n", 0, REG_DWORD, reinterpret_cast<BYTE*>(&three), 4);
    return 0;  // the key handle is closed with the process
  });
  EXPECT_EQ(sim::ReadRegistryValue(HKEY_CURRENT_USER, u"Software\\Shared", u"n")->AsDword(), 3u);
}

}  // namespace
