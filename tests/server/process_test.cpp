// The server as a program: how it starts, refuses and stops.
#include <gtest/gtest.h>

#include <csignal>

#include "stub_server.h"

namespace {

using namespace std::chrono_literals;

class StubServerStopSignal : public testing::TestWithParam<int> {};

TEST_P(StubServerStopSignal, EndsTheServerCleanly) {
  test::StubServer server;
  httplib::Client client = server.Client();
  client.set_keep_alive(true);  // an open connection must not hold the server up
  ASSERT_TRUE(client.Get("/csv"));
  server.process().Signal(GetParam());
  EXPECT_EQ(server.process().WaitForExit(10s), 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, StubServerStopSignal, testing::Values(SIGTERM, SIGINT));

// The exit code and what the program said on stderr, once it has ended.
struct Outcome {
  std::optional<int> exitCode;
  std::string err;
};

Outcome RunServer(const std::vector<std::string>& args) {
  const test::TempDir dir;
  test::ChildProcess process(test::StubServerCommand(args), {}, dir.File("out"), dir.File("err"));
  // A server that starts when it should have refused is ended here.
  const std::optional<int> exitCode = process.WaitForExit(10s);
  return {exitCode, test::ReadFile(dir.path() / "err")};
}

class StubServerCommandLine : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(StubServerCommandLine, BadOnesGetTheUsage) {
  const Outcome outcome = RunServer(GetParam());
  EXPECT_EQ(outcome.exitCode, 2);
  EXPECT_TRUE(outcome.err.starts_with("usage: stub-server --port N")) << outcome.err;
}

using Args = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(
    Bad, StubServerCommandLine,
    testing::Values(Args{}, Args{"--port", "0", "--answer", "a.xml"},
                    Args{"--answer", "a.xml", "--journal", "j.log"},
                    Args{"--port", "0", "--answer", "a.xml", "--journal"},
                    Args{"--port", "http", "--answer", "a.xml", "--journal", "j.log"},
                    Args{"--port", "80x", "--answer", "a.xml", "--journal", "j.log"},
                    Args{"--port", "-1", "--answer", "a.xml", "--journal", "j.log"},
                    Args{"--port", "65536", "--answer", "a.xml", "--journal", "j.log"},
                    Args{"--port", "0", "--answer", "", "--journal", "j.log"},
                    Args{"--port", "0", "--answer", "a.xml", "--journal", "j.log", "--verbose",
                         "1"},
                    Args{"-p", "0", "--answer", "a.xml", "--journal", "j.log"}));

TEST(StubServerStart, FailsWhenThePortIsTaken) {
  test::StubServer first;
  const test::TempDir dir;
  const Outcome second = RunServer({"--port", std::to_string(first.port()), "--answer",
                                    dir.File("a.xml"), "--journal", dir.File("j.log")});
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_NE(second.err.find("cannot listen"), std::string::npos) << second.err;
}

TEST(StubServerStart, FailsWhenTheJournalCannotBeOpened) {
  const test::TempDir dir;
  const Outcome outcome = RunServer({"--port", "0", "--answer", dir.File("a.xml"), "--journal",
                                     dir.File("missing/folder/j.log")});
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_NE(outcome.err.find("journal"), std::string::npos) << outcome.err;
}

}  // namespace
