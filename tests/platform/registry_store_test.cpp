#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"

namespace {

using platform::RegistryHive;
using platform::RegistryStore;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr RegistryHive kMachine = RegistryHive::LocalMachine;
constexpr RegistryHive kUser = RegistryHive::CurrentUser;

class RegistryStoreTest : public testing::Test {
 protected:
  RegistryStoreTest() { RegistryStore::SetRootForTesting(dir_.WFile("store")); }
  ~RegistryStoreTest() override { RegistryStore::SetRootForTesting(L""); }

  std::string HiveFile(const char* name) { return ReadFile(dir_.File("store/") + name); }

  TempDir dir_;
};

TEST_F(RegistryStoreTest, RoundTripAndMissingValues) {
  EXPECT_EQ(RegistryStore::ReadString(kMachine, L"SOFTWARE\\Vendor", L"Path"), std::nullopt);
  ASSERT_TRUE(RegistryStore::WriteString(kMachine, L"SOFTWARE\\Vendor", L"Path", L"/opt/app"));
  EXPECT_EQ(RegistryStore::ReadString(kMachine, L"SOFTWARE\\Vendor", L"Path"), L"/opt/app");
  EXPECT_EQ(RegistryStore::ReadString(kMachine, L"SOFTWARE\\Vendor", L"Other"), std::nullopt);
  EXPECT_EQ(RegistryStore::ReadString(kMachine, L"SOFTWARE\\Other", L"Path"), std::nullopt);

  ASSERT_TRUE(RegistryStore::WriteString(kMachine, L"SOFTWARE\\Vendor", L"Path", L"/new"));
  EXPECT_EQ(RegistryStore::ReadString(kMachine, L"SOFTWARE\\Vendor", L"Path"), L"/new");
  EXPECT_NE(HiveFile("HKEY_LOCAL_MACHINE.ini").find("[SOFTWARE\\Vendor]"), std::string::npos);
}

TEST_F(RegistryStoreTest, HivesAreSeparate) {
  ASSERT_TRUE(RegistryStore::WriteString(kMachine, L"Key", L"v", L"machine"));
  ASSERT_TRUE(RegistryStore::WriteString(kUser, L"Key", L"v", L"user"));
  EXPECT_EQ(RegistryStore::ReadString(kMachine, L"Key", L"v"), L"machine");
  EXPECT_EQ(RegistryStore::ReadString(kUser, L"Key", L"v"), L"user");
  EXPECT_NE(HiveFile("HKEY_CURRENT_USER.ini").find("user"), std::string::npos);
}

TEST_F(RegistryStoreTest, NamesCompareCaseInsensitivelyAndKeepTheFirstSpelling) {
  ASSERT_TRUE(RegistryStore::WriteString(kMachine, L"SOFTWARE\\Vendor", L"InstallPath", L"a"));
  ASSERT_TRUE(RegistryStore::WriteString(kMachine, L"software\\VENDOR", L"installpath", L"b"));
  EXPECT_EQ(RegistryStore::ReadString(kMachine, L"Software\\Vendor", L"INSTALLPATH"), L"b");
  const std::string file = HiveFile("HKEY_LOCAL_MACHINE.ini");
  EXPECT_NE(file.find("[SOFTWARE\\Vendor]\nInstallPath=b"), std::string::npos) << file;
  EXPECT_EQ(file.find("software"), std::string::npos) << file;
}

TEST_F(RegistryStoreTest, UnicodeAndAwkwardTextsRoundTrip) {
  const std::wstring texts[] = {L"\u4e2d\u6587 \u00e4\u00f6\u00fc \U0001F600", L"  leading and trailing  ",
                                L"line\nbreak\ttab\\backslash", L"", L"a=b;c#d[e]"};
  for (const std::wstring& text : texts) {
    ASSERT_TRUE(RegistryStore::WriteString(kUser, L"SOFTWARE\\\u65e5\u672c", L"\u540d\u524d", text));
    EXPECT_EQ(RegistryStore::ReadString(kUser, L"software\\\u65e5\u672c", L"\u540d\u524d"), text);
  }
  ASSERT_TRUE(RegistryStore::WriteString(kUser, L"Key", L"", L"default value"));
  EXPECT_EQ(RegistryStore::ReadString(kUser, L"Key", L""), L"default value");
}

TEST_F(RegistryStoreTest, UnstorableNamesAreRefused) {
  const std::pair<std::wstring, std::wstring> names[] = {
      {L"", L"v"}, {L"Key[1]", L"v"}, {L"Key\nX", L"v"}, {L"Key", L"a=b"},
      {L"Key", L"#comment"}, {L"Key", L" padded"}, {L"Key", L"loc[de]"}};
  for (const auto& [key, value] : names) {
    EXPECT_FALSE(RegistryStore::WriteString(kUser, key, value, L"x"));
  }
  EXPECT_EQ(HiveFile("HKEY_CURRENT_USER.ini"), "");
}

TEST_F(RegistryStoreTest, DamagedHiveIsNeitherReadNorOverwritten) {
  ASSERT_TRUE(RegistryStore::WriteString(kMachine, L"Key", L"v", L"x"));
  const std::string damaged = "[Key]\nv=x\nthis line is no key file line\n";
  WriteFile(dir_.File("store/HKEY_LOCAL_MACHINE.ini"), damaged);
  EXPECT_EQ(RegistryStore::ReadString(kMachine, L"Key", L"v"), std::nullopt);
  EXPECT_FALSE(RegistryStore::WriteString(kMachine, L"Key", L"w", L"y"));
  EXPECT_EQ(HiveFile("HKEY_LOCAL_MACHINE.ini"), damaged);
}

TEST_F(RegistryStoreTest, ConcurrentWritersLoseNothing) {
  // Every write re-reads the file under the lock; without it, writers would
  // overwrite each other's values.
  constexpr int kWriters = 4, kValues = 25;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([w] {
      for (int i = 0; i < kValues; ++i) {
        const std::wstring name = L"w" + std::to_wstring(w) + L"_" + std::to_wstring(i);
        EXPECT_TRUE(RegistryStore::WriteString(kMachine, L"SOFTWARE\\Race", name, name));
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kValues; ++i) {
      const std::wstring name = L"w" + std::to_wstring(w) + L"_" + std::to_wstring(i);
      EXPECT_EQ(RegistryStore::ReadString(kMachine, L"SOFTWARE\\Race", name), name);
    }
  }
}

TEST(RegistryStoreRoot, DefaultsToXdgConfigHome) {
  TempDir dir;
  test::ScopedEnv config("XDG_CONFIG_HOME", dir.str());
  ASSERT_TRUE(RegistryStore::WriteString(kUser, L"Key", L"v", L"x"));
  EXPECT_NE(ReadFile(dir.File("installer-stub/HKEY_CURRENT_USER.ini")).find("v=x"),
            std::string::npos);
}

}  // namespace
