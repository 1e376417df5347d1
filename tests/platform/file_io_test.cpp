#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/file_error.h"
#include "tests/support/paths.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

TEST(SyncFileSystem, SyncsAnExistingFolderAndRefusesAMissingOne) {
  testing_support::ScratchDir scratch;
#if defined(__linux__)
  EXPECT_TRUE(platform::SyncFileSystemOf(scratch.path()));
#endif
  EXPECT_FALSE(platform::SyncFileSystemOf(scratch / "missing"));
}

#ifndef _WIN32
TEST(OpenFile, RefusesWhatIsNotARegularFileWithoutWaiting) {
  testing_support::ScratchDir scratch;
  const std::filesystem::path fifo = scratch / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Should an open wait on the pipe for a writer, this writer comes and the
  // open returns a stream (and the test fails) instead of hanging.
  std::atomic<bool> done{false};
  std::thread writer([&] {
    while (!done) {
      const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        ::close(fd);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  const std::pair<std::filesystem::path, std::error_code> cases[] = {
      {fifo, platform::NotRegularFileError()},
      {"/dev/null", platform::NotRegularFileError()},
      {scratch.path(), std::make_error_code(std::errc::is_a_directory)}};
  for (const auto& [path, error] : cases) {
    SCOPED_TRACE(path.string());
    for (const char* mode : {"rb", "r+b"}) {
      std::FILE* file = platform::OpenFile(path, mode);
      EXPECT_EQ(file, nullptr);
      if (file) {
        std::fclose(file);
      } else {
        EXPECT_EQ(platform::LastFileError(), error);
      }
    }
  }
  done = true;
  writer.join();
}
#endif

}  // namespace
