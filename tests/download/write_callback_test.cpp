// downloadFunc on its own: where each chunk lands in the package and when a
// task counts as complete.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <memory>
#include <thread>
#include <vector>

#include "download/CLibcurlTool.h"
#include "fixtures/log_capture.h"
#include "fixtures/temp_dir.h"
#include "test_worker.h"

namespace {

const std::string kContent = "abcdefghijklmnopqrstuvwxyz012345";  // 32 bytes

std::size_t Feed(test::TestWorker& worker, std::int64_t from, std::size_t count) {
  std::string chunk = kContent.substr(static_cast<std::size_t>(from), count);
  return CLibcurlTool::downloadFunc(chunk.data(), 1, chunk.size(), &worker);
}

struct ChunkCase {
  const char* name;
  std::int64_t start, end, length;  // the task
  std::int64_t position;            // DownloadedPos before the chunk
  std::size_t chunk;                // bytes received from `position`
  std::size_t written;              // returned
  std::int64_t after;               // DownloadedPos after the chunk
};
void PrintTo(const ChunkCase& c, std::ostream* out) { *out << c.name; }

class ChunkTest : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(ChunkTest, WritesOnlyTheTasksBytes) {
  const ChunkCase& c = GetParam();
  test::TempDir dir;
  const std::string path = dir.File("package.bin");
  test::WriteFile(path, std::string(kContent.size(), '.'));
  test::TestWorker worker(test::OpenPackage(path, "r+b"));
  worker.Assign(1, c.start, c.end, c.length);
  worker.task.DownloadedPos = c.position;

  EXPECT_EQ(Feed(worker, c.position, c.chunk), c.written);
  EXPECT_EQ(worker.task.DownloadedPos.load(), c.after);

  std::fflush(worker.packageFile());
  const std::string package = test::ReadFile(path);
  ASSERT_EQ(package.size(), kContent.size()) << "nothing may be written past the file";
  const auto from = static_cast<std::size_t>(c.position);
  EXPECT_EQ(package.substr(0, from), std::string(from, '.'));
  EXPECT_EQ(package.substr(from, c.written), kContent.substr(from, c.written));
  // Bytes past the task's range stay as they were whatever the chunk held.
  const std::size_t taskStop =
      static_cast<std::size_t>(c.end >= c.length && c.length > 0 ? c.end : c.end + 1);
  EXPECT_EQ(package.substr(taskStop), std::string(kContent.size() - taskStop, '.'));
}

INSTANTIATE_TEST_SUITE_P(DownloadFunc, ChunkTest,
                         ::testing::Values(
                             // Received more than the task holds: the rest belongs to the next
                             // task; the short return ends the transfer (23) on a complete task.
                             ChunkCase{"PastEndOfNonFinalTask", 0, 9, 20, 0, 13, 10, 9},
                             ChunkCase{"EndingOnEndPosByte", 0, 9, 20, 5, 5, 5, 9},
                             ChunkCase{"PlainChunkInsideTheTask", 0, 9, 20, 0, 4, 4, 4},
                             // EndPos of the final task is the file length, one past its last byte.
                             ChunkCase{"FinalTaskInPlainBranch", 10, 20, 20, 10, 10, 10, 20},
                             ChunkCase{"FinalTaskIgnoresBytesPastFileEnd", 10, 20, 20, 15, 8, 5,
                                       20},
                             // Would rest at EndPos with EndPos's own byte missing, which reads
                             // as complete; the byte before is given back instead.
                             ChunkCase{"OneByteShortOfNonFinalTask", 0, 9, 20, 0, 9, 8, 8},
                             ChunkCase{"LastTwoBytesAfterGivingBack", 0, 9, 20, 8, 2, 2, 9},
                             // Without the file length a task cannot know it is not the final one.
                             ChunkCase{"UnknownLengthTrustsThePosition", 0, 9, 0, 0, 9, 9, 9},
                             ChunkCase{"CompleteTaskTakesNoMore", 0, 9, 20, 9, 3, 0, 9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadFuncTest, LogsWhatWasNotWritten) {
  test::TempDir dir;
  test::TestWorker worker(test::OpenPackage(dir.File("package.bin")));
  worker.Assign(7, 0, 9, 20);
  test::LogCapture log;
  EXPECT_EQ(Feed(worker, 0, 13), 10u);
  EXPECT_TRUE(worker.complete());
  ASSERT_FALSE(log.lines().empty());
  EXPECT_EQ(log.lines().back(),
            " Write Error. Task id：7 Download to:9 Receive:13 Write:10 Task EndPos:9");
}

// A file-size limit stands in for a full disk: the write stops at the limit
// with EFBIG. The limit is the process's, so the case runs in a child.
TEST(DownloadFuncTest, ShortWriteKeepsThePositionOfTheBytesWritten) {
  test::TempDir dir;
  const std::string path = dir.File("package.bin");
  const auto limitFileSize = [](rlim_t bytes) {
    const rlimit limit{bytes, bytes};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  };
  EXPECT_EXIT(
      {
        std::signal(SIGXFSZ, SIG_IGN);
        test::TestWorker worker(test::OpenPackage(path));
        worker.Assign(2, 4, 15, 32);
        test::LogCapture log;
        bool ok = limitFileSize(8) && Feed(worker, 4, 10) == 4u &&
                  worker.task.DownloadedPos.load() == 8 &&
                  test::ReadFile(path).substr(4) == "efgh" &&
                  log.lines().at(0).rfind(
                      " Write Error. Task id：2 Download to:8 Receive:10 Write:4", 0) == 0;
        // Full, the chunk that reaches EndPos: the task stays incomplete.
        worker.Assign(3, 0, 9, 32);
        ok = ok && limitFileSize(5) && Feed(worker, 0, 12) == 5u &&
             worker.task.DownloadedPos.load() == 5;
        std::_Exit(ok ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(DownloadFuncTest, ReadOnlyPackageWritesNothing) {
  test::TempDir dir;
  const std::string path = dir.File("package.bin");
  test::WriteFile(path, "");
  test::TestWorker worker(test::OpenPackage(path, "rb"));
  worker.Assign(3, 0, 9, 20);
  EXPECT_EQ(Feed(worker, 0, 5), 0u);
  EXPECT_EQ(worker.task.DownloadedPos.load(), 0);
}

TEST(DownloadFuncTest, SeeksWithSixtyFourBitOffsets) {
  test::TempDir dir;
  const std::string path = dir.File("package.bin");
  test::TestWorker worker(test::OpenPackage(path));
  const std::int64_t start = 5'000'000'000;  // past what 32 bits can address
  worker.Assign(1193, start, start + 9, start + 100);
  EXPECT_EQ(Feed(worker, 0, 10), 10u);
  EXPECT_TRUE(worker.complete());
  std::fflush(worker.packageFile());
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, start + 10);
}

TEST(DownloadFuncTest, StopsWithoutTaskOrFile) {
  test::TestWorker noFile{test::SharedFile()};
  noFile.Assign(1, 0, 9, 20);
  EXPECT_EQ(Feed(noFile, 0, 5), 0u);
  EXPECT_EQ(noFile.task.DownloadedPos.load(), 0);
  std::string chunk = "abc";
  EXPECT_EQ(CLibcurlTool::downloadFunc(chunk.data(), 1, chunk.size(), nullptr), 0u);
}

TEST(DownloadFuncTest, WorkersWriteSideBySideIntoOneFile) {
  test::TempDir dir;
  const test::SharedFile file = test::OpenPackage(dir.File("package.bin"));
  std::vector<std::unique_ptr<test::TestWorker>> workers;
  for (int i = 0; i < 4; ++i) {
    workers.push_back(std::make_unique<test::TestWorker>(file));
    // Tasks of 8 bytes; the last one ends at the length.
    workers.back()->Assign(i + 1, i * 8, i == 3 ? 32 : i * 8 + 7, 32);
  }
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&, i] {
      for (int half = 0; half < 2; ++half) Feed(*workers[i], i * 8 + half * 4, 4);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const auto& worker : workers) EXPECT_TRUE(worker->complete()) << worker->task.TaskId;
  EXPECT_EQ(test::ReadFile(dir.File("package.bin")), kContent);
}

}  // namespace
