// Starts a program and times it from just before its start to the line
// "first-frame" on its standard output, then waits for it and takes its
// peak resident memory. Prints "<microseconds> <peak KB>".
// Usage: bench_launch <program> [arguments...]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

extern char** environ;

namespace {

long long NowMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1'000'000 + t.tv_nsec / 1000;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: bench_launch <program> [arguments...]\n", stderr);
    return 2;
  }
  int out[2];
  if (pipe(out) != 0) return 1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);

  alarm(120);  // a program that never paints must not hang the benchmark
  const long long start = NowMicroseconds();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[1], &actions, nullptr, argv + 1, environ) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  close(out[1]);

  std::string seen;
  long long painted = -1;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    seen.append(buffer, static_cast<std::size_t>(n));
    if (seen.find("first-frame\n") != std::string::npos) {
      painted = NowMicroseconds();
      break;  // a server the program started may hold the pipe open
    }
  }
  close(out[0]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (painted < 0) {
    std::fprintf(stderr, "bench_launch: %s ended (status %d) without painting a frame\n", argv[1], status);
    return 1;
  }
  std::printf("%lld %ld\n", painted - start, usage.ru_maxrss);
  return 0;
}
