// downloadFunc on its own: where each chunk lands in the package and when a
// task counts as complete.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

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

// A disk that is full after `capacity` bytes.
struct SmallDisk {
  std::string bytes;
  std::size_t capacity = 0;
  std::size_t position = 0;
};

test::SharedFile OpenSmallDisk(SmallDisk& disk) {
  cookie_io_functions_t io{};
  io.write = [](void* cookie, const char* data, std::size_t size) -> ssize_t {
    auto& d = *static_cast<SmallDisk*>(cookie);
    const std::size_t count = std::min(size, d.capacity - std::min(d.position, d.capacity));
    if (count == 0) {
      errno = ENOSPC;
      return -1;
    }
    d.bytes.resize(std::max(d.bytes.size(), d.position + count), '.');
    d.bytes.replace(d.position, count, data, count);
    d.position += count;
    return static_cast<ssize_t>(count);
  };
  io.seek = [](void* cookie, off64_t* offset, int whence) {
    if (whence != SEEK_SET) return -1;
    static_cast<SmallDisk*>(cookie)->position = static_cast<std::size_t>(*offset);
    return 0;
  };
  test::SharedFile file(fopencookie(&disk, "w", io), &std::fclose);
  if (file) std::setvbuf(file.get(), nullptr, _IONBF, 0);
  return file;
}

TEST(DownloadFuncTest, ShortWriteKeepsThePositionOfTheBytesWritten) {
  SmallDisk disk;
  disk.capacity = 8;
  test::TestWorker worker(OpenSmallDisk(disk));
  ASSERT_NE(worker.packageFile(), nullptr);
  worker.Assign(2, 4, 15, 32);
  test::LogCapture log;
  EXPECT_EQ(Feed(worker, 4, 10), 4u);
  EXPECT_EQ(worker.task.DownloadedPos.load(), 8);
  EXPECT_EQ(disk.bytes.substr(4), "efgh");
  EXPECT_EQ(log.lines().at(0).rfind(" Write Error. Task id：2 Download to:8 Receive:10 Write:4", 0),
            0u);
  // Full disk, the chunk that reaches EndPos: the task stays incomplete.
  worker.Assign(3, 0, 9, 32);
  disk.capacity = 5;
  EXPECT_EQ(Feed(worker, 0, 12), 5u);
  EXPECT_EQ(worker.task.DownloadedPos.load(), 5);
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

TEST(DownloadFuncTest, WritesUnderTheSharedMutex) {
  test::TempDir dir;
  test::TestWorker worker(test::OpenPackage(dir.File("package.bin")));
  worker.Assign(1, 0, 9, 20);
  ASSERT_TRUE(worker.writeMutex().Lock());
  std::thread writer([&] { Feed(worker, 0, 4); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(worker.task.DownloadedPos.load(), 0) << "wrote while another thread held the mutex";
  worker.writeMutex().Unlock();
  writer.join();
  EXPECT_EQ(worker.task.DownloadedPos.load(), 4);
}

}  // namespace
