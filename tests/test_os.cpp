// The system-call wrappers on real pipes, FIFOs and semaphores.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "kelsoft.h"

namespace {

// A fresh folder per test: suites run in parallel.
struct TempDir {
  std::string path;
  TempDir() {
    const char *base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/kelsoft-os-XXXXXX";
    path = mkdtemp(tmpl.data()) != nullptr ? tmpl : "";
  }
  ~TempDir() {
    if (!path.empty()) rmdir(path.c_str());
  }
};

TEST(OsPipe, BytesWrittenAreReadBack) {
  int fds[2] = {-1, -1};
  ASSERT_EQ(KEL_Pipe(fds), 0);
  EXPECT_GE(fds[0], 0);
  EXPECT_GE(fds[1], 0);
  EXPECT_NE(fds[0], fds[1]);
  char buf[16];
  EXPECT_EQ(KEL_Read(fds[0], buf, 0), 0);  // an empty pipe does not block a zero count
  const char sent[] = {'k', 'e', 'l', '\0', '\xFF', 'z'};
  EXPECT_EQ(KEL_Write(fds[1], sent, sizeof sent), static_cast<int32_t>(sizeof sent));
  EXPECT_EQ(KEL_Read(fds[0], buf, sizeof buf), static_cast<int32_t>(sizeof sent));
  EXPECT_EQ(std::memcmp(buf, sent, sizeof sent), 0);
  EXPECT_EQ(KEL_Close(fds[1]), 0);
  EXPECT_EQ(KEL_Read(fds[0], buf, sizeof buf), 0);  // end of file
  EXPECT_EQ(KEL_Close(fds[0]), 0);
}

TEST(OsFifo, MadeOnceAndOpenedWithoutBlocking) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string fifo = dir.path + "/fifo";
  ASSERT_EQ(KEL_Mkfifo(fifo.c_str(), 0600), 0);
  struct stat st {};
  ASSERT_EQ(stat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  errno = 0;
  EXPECT_EQ(KEL_Mkfifo(fifo.c_str(), 0600), -1);
  EXPECT_EQ(errno, EEXIST);

  const int in = KEL_Open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(in, 0);
  const int out = KEL_Open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(out, 0);
  char buf[8];
  errno = 0;
  EXPECT_EQ(KEL_Read(in, buf, sizeof buf), -1);  // the flags reached the open
  EXPECT_EQ(errno, EAGAIN);
  EXPECT_EQ(KEL_Write(out, "fifo", 4), 4);
  EXPECT_EQ(KEL_Read(in, buf, sizeof buf), 4);
  EXPECT_EQ(std::string(buf, 4), "fifo");
  EXPECT_EQ(KEL_Close(out), 0);
  EXPECT_EQ(KEL_Close(in), 0);
  unlink(fifo.c_str());
}

TEST(OsErrors, FailuresKeepTheCallsErrno) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string missing = dir.path + "/missing";
  int fds[2];
  ASSERT_EQ(KEL_Pipe(fds), 0);
  ASSERT_EQ(KEL_Close(fds[0]), 0);
  const int closed = fds[0], write_end = fds[1];
  char buf[4] = {};
  sem_t sem;
  const struct {
    const char *what;
    std::function<int()> call;
    int error;
  } table[] = {
      {"close closed", [&] { return KEL_Close(closed); }, EBADF},
      {"read closed", [&] { return KEL_Read(closed, buf, sizeof buf); }, EBADF},
      {"write closed", [&] { return KEL_Write(closed, buf, sizeof buf); }, EBADF},
      {"read write end", [&] { return KEL_Read(write_end, buf, sizeof buf); }, EBADF},
      {"open missing", [&] { return KEL_Open(missing.c_str(), O_RDONLY); }, ENOENT},
      {"mkfifo in missing", [&] { return KEL_Mkfifo((missing + "/fifo").c_str(), 0600); }, ENOENT},
      {"sem value too large", [&] { return KEL_SemInit(&sem, 0, 0x80000000u); }, EINVAL},
  };
  for (const auto &row : table) {
    errno = 0;
    EXPECT_EQ(row.call(), -1) << row.what;
    EXPECT_EQ(errno, row.error) << row.what;
  }
  EXPECT_EQ(KEL_Close(write_end), 0);
}

TEST(OsSemaphore, ThirdWaitReturnsOnlyAfterPost) {
  sem_t sem;
  ASSERT_EQ(KEL_SemInit(&sem, 0, 2), 0);
  EXPECT_EQ(KEL_SemWait(&sem), 0);
  EXPECT_EQ(KEL_SemWait(&sem), 0);
  std::atomic<bool> posted{false}, returned{false};
  bool posted_before_return = false;
  int wait_result = -2;
  std::thread waiter([&] {
    wait_result = KEL_SemWait(&sem);
    posted_before_return = posted.load();
    returned.store(true);
  });
  // Only gives the waiter time to block; the flags prove the order.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned.load());
  posted.store(true);
  EXPECT_EQ(KEL_SemPost(&sem), 0);
  waiter.join();
  EXPECT_EQ(wait_result, 0);
  EXPECT_TRUE(posted_before_return);
  EXPECT_EQ(KEL_SemDestroy(&sem), 0);
}

// The open has no mode to give: the C library's checked entry stops a call
// that would create a file rather than create it with a random mode.
TEST(OsOpenDeathTest, CreationFlagsStopTheProcess) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string file = dir.path + "/new";
  EXPECT_DEATH(KEL_Open(file.c_str(), O_WRONLY | O_CREAT), "without mode");
  EXPECT_NE(access(file.c_str(), F_OK), 0);
}

}  // namespace
