// The system-call wrappers on real pipes, FIFOs and semaphores.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "kelsoft.h"

namespace {

// A name of its own in the scratch folder: suites run in parallel, one process each.
std::string scratch(const char *name) {
  return testing::TempDir() + "kelsoft-os-" + std::to_string(getpid()) + "-" + name;
}

TEST(OsPipe, BytesWrittenAreReadBack) {
  int fds[2] = {-1, -1};
  ASSERT_EQ(KEL_Pipe(fds), 0);  // ends that are not the pipe's fail the writes and reads below
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

// The mode reaches mkfifo as given: only the umask takes bits away.
TEST(OsFifo, ModeAsGivenUnderTheUmask) {
  const mode_t saved = umask(022);
  const struct {
    mode_t mode, expected;
  } table[] = {{0600, 0600}, {0640, 0640}, {0777, 0755}, {0, 0}, {0444, 0444}, {0750, 0750}};
  for (const auto &row : table) {
    const std::string fifo = scratch("fifo");
    ASSERT_EQ(KEL_Mkfifo(fifo.c_str(), row.mode), 0);
    struct stat st {};
    ASSERT_EQ(stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, row.expected) << std::oct << row.mode;
    errno = 0;
    EXPECT_EQ(KEL_Mkfifo(fifo.c_str(), row.mode), -1);
    EXPECT_EQ(errno, EEXIST);
    unlink(fifo.c_str());
  }
  umask(saved);
}

// The flags reach open as given, seen through fcntl: nothing added, nothing dropped.
TEST(OsOpen, FlagsAsGiven) {
  const std::string file = scratch("file");
  close(open(file.c_str(), O_WRONLY | O_CREAT, 0600));
  constexpr int kSeen = O_ACCMODE | O_NONBLOCK | O_APPEND | O_SYNC;
  for (const int flags : {O_RDONLY, O_WRONLY, O_RDWR, O_RDONLY | O_NONBLOCK, O_WRONLY | O_APPEND, O_RDWR | O_SYNC,
                          O_RDONLY | O_CLOEXEC, O_WRONLY | O_CLOEXEC | O_APPEND}) {
    const int fd = KEL_Open(file.c_str(), flags);
    ASSERT_GE(fd, 0) << std::hex << flags;
    EXPECT_EQ(fcntl(fd, F_GETFL) & kSeen, flags & kSeen) << std::hex << flags;
    EXPECT_EQ(fcntl(fd, F_GETFD), (flags & O_CLOEXEC) != 0 ? FD_CLOEXEC : 0) << std::hex << flags;
    EXPECT_EQ(KEL_Close(fd), 0);
  }
  unlink(file.c_str());
}

TEST(OsErrors, FailuresKeepTheCallsErrno) {
  const std::string missing = scratch("missing");
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
  std::atomic<bool> posted{false};
  bool posted_before_return = false;
  int wait_result = -2;
  std::thread waiter([&] {
    wait_result = KEL_SemWait(&sem);
    posted_before_return = posted.load();
  });
  // Only gives the waiter time to block; the flag proves the order.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
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
  const std::string file = scratch("new");
  EXPECT_DEATH(KEL_Open(file.c_str(), O_WRONLY | O_CREAT), "without mode");
  EXPECT_NE(access(file.c_str(), F_OK), 0);
}

}  // namespace
