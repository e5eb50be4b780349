#include "platform/system_facts.h"

#include <gtest/gtest.h>

#include <thread>

#include "fixtures/scoped_env.h"
#include "fixtures/temp_dir.h"
#include "platform/fake_system_facts.h"

namespace {

using platform::Facts;
using platform::OsRelease;

TEST(OsRelease, ParsesNameAndVersionId) {
  struct Case {
    const char* contents;
    std::string name;
    std::string version;
  };
  const Case cases[] = {
      {"PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
       "VERSION_ID=\"12\"\nID=debian\n",
       "Debian GNU/Linux", "12"},
      {"NAME=Fedora\r\nVERSION_ID=39\r\n", "Fedora", "39"},
      {"NAME='Ubuntu'\nVERSION_ID=\"24.04\"\n", "Ubuntu", "24.04"},
      {"NAME=\"Arch \\\"Linux\\\"\"\n# VERSION_ID=1\n", "Arch \"Linux\"", ""},
      {"NAME=\"unterminated\nVERSION_ID=\n", "Linux", ""},
      {"", "Linux", ""},
      {"\x01\xFF garbage\n=\nNAME\n", "Linux", ""},
  };
  for (const Case& c : cases) {
    const OsRelease release = platform::ParseOsRelease(c.contents);
    EXPECT_EQ(release.name, c.name) << c.contents;
    EXPECT_EQ(release.version, c.version) << c.contents;
  }
}

TEST(SystemFacts, FakeReplacesRealFactsForItsScope) {
  platform::SystemFacts* real = &Facts();
  {
    platform::FakeSystemFacts fake;
    fake.uiLanguageId = 0x0C07;
    fake.freeDiskSpace = 123;
    fake.osRelease = {"Test OS", "1.0"};
    platform::FakeSystemFacts::Installed installed(fake);
    EXPECT_EQ(&Facts(), &fake);
    EXPECT_EQ(Facts().UiLanguageId(), 0x0C07);
    EXPECT_EQ(Facts().FreeDiskSpace(L"/"), 123);
    EXPECT_EQ(Facts().GetOsRelease().name, "Test OS");
  }
  EXPECT_EQ(&Facts(), real);
}

TEST(SystemFacts, RealFactsAreSane) {
  platform::SystemFacts& facts = Facts();
  EXPECT_GE(facts.ProcessorCount(), 1u);
  EXPECT_EQ(facts.Is64BitOs(), sizeof(void*) == 8 ? true : facts.Is64BitOs());
  EXPECT_FALSE(facts.GetOsRelease().name.empty());

  const std::uint64_t before = facts.TickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const std::uint64_t after = facts.TickCount();
  EXPECT_GE(after - before, 25u);

  test::TempDir dir;
  EXPECT_GT(facts.FreeDiskSpace(dir.wpath()), 0);
  EXPECT_EQ(facts.FreeDiskSpace(dir.WFile("missing")), -1);
}

TEST(SystemFacts, UiLanguageFollowsTheEnvironment) {
  test::ScopedEnv all("LC_ALL", "zh_TW.UTF-8");
  EXPECT_EQ(Facts().UiLanguageId(), 0x0404);
}

}  // namespace
