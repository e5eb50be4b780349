#include <gtest/gtest.h>

#include <thread>

#include "fixtures/zip_bytes.h"
#include "tests/ui/test_support.h"
#include "ui/package.h"
#include "ui/resources.h"

namespace {

using ui::Package;
using test::MakeZip;

std::shared_ptr<Package> Open(std::vector<unsigned char> bytes, std::string* error = nullptr) {
  return Package::FromMemory(std::move(bytes), error);
}

TEST(PackageTest, RejectsDataThatIsNoArchive) {
  const std::vector<unsigned char> zip = MakeZip({{"a.xml", "<a/>"}});
  struct Case {
    const char* name;
    std::vector<unsigned char> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"garbage", std::vector<unsigned char>(300, 0x5A)},
      {"truncated", std::vector<unsigned char>(zip.begin(), zip.begin() + zip.size() / 2)},
      {"one byte short", std::vector<unsigned char>(zip.begin(), zip.end() - 1)},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(Open(c.bytes, &error), nullptr) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
  EXPECT_EQ(Open({}, nullptr), nullptr);  // no error out-parameter is fine
}

TEST(PackageTest, ReadsEntriesWithEitherSeparatorAndAnyCase) {
  const auto pkg = Open(MakeZip({{"skin/main.xml", "<Window/>"},
                                 {"img\\logo.png", "PNG"},
                                 {"skin/sub/", ""}}));
  ASSERT_NE(pkg, nullptr);
  for (const char* path : {"skin/main.xml", "skin\\main.xml", "SKIN\\Main.XML", "./skin//main.xml"}) {
    EXPECT_EQ(pkg->Read(path).value_or("<missing>"), "<Window/>") << path;
    EXPECT_TRUE(pkg->Exists(path)) << path;
  }
  EXPECT_EQ(pkg->Read("img/logo.png").value_or(""), "PNG");  // stored with a backslash
  EXPECT_FALSE(pkg->Read("skin/missing.xml"));
  EXPECT_FALSE(pkg->Exists("skin/sub/"));  // directories are not entries
  EXPECT_FALSE(pkg->Exists(""));
}

TEST(PackageTest, RefusesOversizedEntries) {
  const std::string big(Package::kMaxEntrySize + 1, 'x');
  const auto pkg = Open(MakeZip({{"big.bin", big}, {"small.bin", "ok"}}));
  ASSERT_NE(pkg, nullptr);
  EXPECT_TRUE(pkg->Exists("big.bin"));
  EXPECT_FALSE(pkg->Read("big.bin"));
  EXPECT_EQ(pkg->Read("small.bin").value_or(""), "ok");
}

TEST(PackageTest, DamagedEntryDataIsNotReturned) {
  const std::string content(4000, 'q');
  std::vector<unsigned char> zip = MakeZip({{"data.txt", content}});
  // Local header: 30 bytes, then the name and the extra field, then the data.
  const size_t name_length = zip[26] | (zip[27] << 8);
  const size_t extra_length = zip[28] | (zip[29] << 8);
  zip[30 + name_length + extra_length + 2] ^= 0xFF;
  const auto pkg = Open(zip);
  ASSERT_NE(pkg, nullptr);
  EXPECT_FALSE(pkg->Read("data.txt"));
}

TEST(PackageTest, ConcurrentReadsAgree) {
  ui_test::Entries entries;
  for (int i = 0; i < 20; ++i) entries["f" + std::to_string(i)] = std::string(1000 + i, 'a' + i % 26);
  const auto pkg = Open(MakeZip(entries));
  ASSERT_NE(pkg, nullptr);
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int round = 0; round < 50; ++round) {
        for (const auto& [name, data] : entries) {
          if (pkg->Read(name) != data) ++mismatches;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches, 0);
}

TEST(ResourcesTest, HoldsTheProcessWidePackage) {
  const auto pkg = Open(MakeZip({{"a", "1"}}));
  ui::SetResourcePackage(pkg, "skin.zip");
  EXPECT_EQ(ui::ResourcePackage(), pkg);
  EXPECT_EQ(ui::ResourcePackageName(), "skin.zip");
  ui::SetResourcePackage(nullptr);
  EXPECT_EQ(ui::ResourcePackage(), nullptr);
  EXPECT_EQ(ui::ResourcePackageName(), "");
}

}  // namespace
