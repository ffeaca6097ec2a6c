// Entry points for pipes, FIFOs, descriptors and semaphores. Each hands its
// arguments to one call and returns what it returns, errno included: no
// checks, no retries.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kelsoft.h"

extern "C" int KEL_Pipe(int fds[2]) { return pipe(fds); }

extern "C" int KEL_Close(int fd) { return close(fd); }

// One transfer is never more than count bytes, and callers' counts fit the
// signed result on the target, where ssize_t is 32 bits wide anyway.
extern "C" int32_t KEL_Read(int fd, void *buffer, uint32_t count) {
  return static_cast<int32_t>(read(fd, buffer, count));
}

extern "C" int32_t KEL_Write(int fd, const void *buffer, uint32_t count) {
  return static_cast<int32_t>(write(fd, buffer, count));
}

extern "C" int KEL_Mkfifo(const char *path, mode_t mode) { return mkfifo(path, mode); }

// Two arguments on purpose: the fortified large-file build turns this into the
// C library's checked __open64_2, which refuses flags that would need a mode.
extern "C" int KEL_Open(const char *path, int flags) { return open(path, flags); }

extern "C" int KEL_SemInit(sem_t *sem, int shared, uint32_t value) { return sem_init(sem, shared, value); }

extern "C" int KEL_SemWait(sem_t *sem) { return sem_wait(sem); }

extern "C" int KEL_SemDestroy(sem_t *sem) { return sem_destroy(sem); }

extern "C" int KEL_SemPost(sem_t *sem) { return sem_post(sem); }
