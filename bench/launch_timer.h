// What the two launch timers share: the clock, the start of the program they
// time, and its end with the figures.
#pragma once

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

extern char** environ;

namespace bench {

inline long long NowMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1'000'000 + t.tv_nsec / 1000;
}

// Starts the program argv names with `actions` and sets `start` to just
// before; 0 when it cannot start. A program that never paints must not hang
// the benchmark: the timer is ended in 120 s.
inline pid_t Spawn(char** argv, const posix_spawn_file_actions_t& actions, long long& start) {
  alarm(120);
  start = NowMicroseconds();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv, environ) != 0) {
    std::perror(argv[0]);
    return 0;
  }
  return pid;
}

// Waits for the program's end and prints "<microseconds> <peak KB>", or
// says that it ended without painting `what`; the timer's exit code.
inline int Report(const char* timer, const char* program, pid_t pid, long long start, long long painted,
                  const char* what) {
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (painted < 0) {
    std::fprintf(stderr, "%s: %s ended (status %d) without painting %s\n", timer, program, status, what);
    return 1;
  }
  std::printf("%lld %ld\n", painted - start, usage.ru_maxrss);
  return 0;
}

}  // namespace bench
