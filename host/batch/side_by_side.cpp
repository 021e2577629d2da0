#include "side_by_side.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int runSideBySide(size_t count, int jobs, const std::function<int(size_t)>& job) {
  int failed = 0, running = 0;
  auto reap = [&]() {
    int status = 0;
    if (wait(&status) < 0) return;
    --running;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failed;
  };
  for (size_t next = 0; next < count; ++next) {
    if (running >= jobs) reap();
    // What was printed before must not be printed again by the child.
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
      int status = job(next);
      std::fflush(nullptr);
      _exit(status);
    }
    if (child < 0) ++failed;
    else ++running;
  }
  while (running > 0) reap();
  return failed;
}
