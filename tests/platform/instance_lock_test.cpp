// The single-instance lock across real processes.
#include "instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A name of this test run alone, so parallel test runs and a running program never meet.
std::string TestLockName() {
  return "lumaport lock test " + std::to_string(getpid());
}

// Forks a child that takes the lock, reports through a pipe and then waits to be killed.
pid_t StartHolder(const std::string& name, bool* gotLock) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    char verdict = AcquireInstanceLock(name) ? 'y' : 'n';
    (void)!write(fds[1], &verdict, 1);
    for (;;)
      pause();
  }
  close(fds[1]);
  char verdict = 0;
  EXPECT_EQ(read(fds[0], &verdict, 1), 1);
  close(fds[0]);
  *gotLock = verdict == 'y';
  return child;
}

void Stop(pid_t child) {
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
}

TEST(InstanceLock, SecondProcessIsRefusedUntilTheFirstDies) {
  const std::string name = TestLockName();
  bool first = false, second = false;
  pid_t holder = StartHolder(name, &first);
  ASSERT_TRUE(first);
  pid_t rival = StartHolder(name, &second);
  EXPECT_FALSE(second);
  Stop(rival);

  Stop(holder);  // killed without a chance to clean up: the kernel frees the name
  bool third = false;
  pid_t next = StartHolder(name, &third);
  EXPECT_TRUE(third);
  Stop(next);
}

TEST(InstanceLock, ReleasedLockCanBeTakenAgain) {
  const std::string name = TestLockName() + " release";
  ASSERT_TRUE(AcquireInstanceLock(name));
  ReleaseInstanceLock();
  bool other = false;
  pid_t child = StartHolder(name, &other);
  EXPECT_TRUE(other);
  Stop(child);
}

}  // namespace
