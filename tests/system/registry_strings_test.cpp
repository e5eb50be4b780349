// String values under HKEY_LOCAL_MACHINE, in a private store.
#include <gtest/gtest.h>

#include "fixtures/temp_dir.h"
#include "platform/registry_store.h"
#include "system/registry_strings.h"

namespace {

using platform::RegistryHive;
using platform::RegistryStore;

const std::wstring kKey = L"SOFTWARE\\Brisko\\Setup";

class RegistryStringsTest : public testing::Test {
 protected:
  RegistryStringsTest() { RegistryStore::SetRootForTesting(dir_.WFile("store")); }
  ~RegistryStringsTest() override { RegistryStore::SetRootForTesting(L""); }

  test::TempDir dir_;
};

TEST_F(RegistryStringsTest, RoundTripAndMissingValues) {
  EXPECT_EQ(ReadRegistryString(kKey, L"InstallPath"), L"");
  ASSERT_TRUE(WriteRegistryString(kKey, L"InstallPath", L"/opt/brisko \u7b80"));
  EXPECT_EQ(ReadRegistryString(kKey, L"InstallPath"), L"/opt/brisko \u7b80");
  EXPECT_EQ(ReadRegistryString(kKey, L"Other"), L"");
  EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\Other", L"InstallPath"), L"");
  // Machine values, not the user's.
  EXPECT_EQ(RegistryStore::ReadString(RegistryHive::CurrentUser, kKey, L"InstallPath"),
            std::nullopt);
  ASSERT_TRUE(WriteRegistryString(kKey, L"InstallPath", L""));
  EXPECT_EQ(ReadRegistryString(kKey, L"InstallPath"), L"");
}

TEST_F(RegistryStringsTest, LongValuesAreCutWhenReadButStoredWhole) {
  struct Case {
    std::size_t length;
    wchar_t fill;
  };
  const Case cases[] = {{258, L'a'}, {259, L'b'}, {260, L'c'}, {300, L'd'}, {5000, L'\u4f53'}};
  for (const Case& c : cases) {
    const std::wstring text(c.length, c.fill);
    ASSERT_TRUE(WriteRegistryString(kKey, L"Long", text)) << c.length;
    EXPECT_EQ(ReadRegistryString(kKey, L"Long"), text.substr(0, kRegistryReadLimit)) << c.length;
    EXPECT_EQ(RegistryStore::ReadString(RegistryHive::LocalMachine, kKey, L"Long"), text)
        << c.length;
  }
}

TEST_F(RegistryStringsTest, UnwritableStoreFailsCleanly) {
  dir_.Write("blocker", "a file where the store's folder would be");
  RegistryStore::SetRootForTesting(dir_.WFile("blocker/store"));
  EXPECT_FALSE(WriteRegistryString(kKey, L"InstallPath", L"/opt/brisko"));
  EXPECT_EQ(ReadRegistryString(kKey, L"InstallPath"), L"");
}

TEST_F(RegistryStringsTest, NamesTheStoreCannotHoldAreRefused) {
  EXPECT_FALSE(WriteRegistryString(kKey, L"a=b", L"x"));
  EXPECT_EQ(ReadRegistryString(kKey, L"a=b"), L"");
}

}  // namespace
