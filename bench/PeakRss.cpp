// tarvine_peak_rss COMMAND [ARGS...]: runs the command with its standard output discarded and
// prints its peak resident size in bytes. A small process of its own, so that the child does not
// inherit the high-water mark of a large parent through fork. Exit status 1 when the command
// could not run or failed.

#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: tarvine_peak_rss COMMAND [ARGS...]\n");
    return 2;
  }
  const pid_t child = fork();
  if (child < 0) return 1;
  if (child == 0) {
    if (!freopen("/dev/null", "w", stdout)) _exit(127);
    execv(argv[1], argv + 1);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return 1;
  }
  printf("%lld\n", static_cast<long long>(usage.ru_maxrss) * 1024);
  return 0;
}
