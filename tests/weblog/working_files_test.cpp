#include "weblog/working_files.h"

#include <gtest/gtest.h>

#include "fixtures/temp_dir.h"

namespace {

TEST(ProxyFile, FirstLineCutTo254) {
  const std::string long300(300, 'p');
  const std::pair<std::string, std::string> cases[] = {
      {"http://proxy.example:3128\nsecond line\n", "http://proxy.example:3128"},
      {"socks5h://127.0.0.1:1080\r\n", "socks5h://127.0.0.1:1080"},
      {"http://no-line-end:8080", "http://no-line-end:8080"},
      {"\nhttp://second-line-only:8080\n", ""},
      {"", ""},
      {long300 + "\n", std::string(254, 'p')},
      {std::string(254, 'q') + "\r\n", std::string(254, 'q')},
  };
  for (const auto& [content, expected] : cases) {
    test::TempDir dir;
    dir.Write("proxy.txt", content);
    EXPECT_EQ(ReadProxySetting(dir.wpath()), expected) << content.substr(0, 40);
  }
  test::TempDir empty;
  EXPECT_EQ(ReadProxySetting(empty.wpath()), "");
}

TEST(TestMarker, AReadableFileNamedTest) {
  test::TempDir dir;
  EXPECT_FALSE(TestMarkerPresent(dir.wpath()));
  std::filesystem::create_directory(dir.path() / "test");
  EXPECT_FALSE(TestMarkerPresent(dir.wpath())) << "a folder is no marker";
  std::filesystem::remove(dir.path() / "test");
  dir.Write("test", "");
  EXPECT_TRUE(TestMarkerPresent(dir.wpath()));
  dir.Write("Test.txt", "");
  std::filesystem::remove(dir.path() / "test");
  EXPECT_FALSE(TestMarkerPresent(dir.wpath()));
}

}  // namespace
