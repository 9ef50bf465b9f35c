// Starts a program and times it from just before its start to the line
// "first-frame" on its standard output, then waits for it and takes its
// peak resident memory. Prints "<microseconds> <peak KB>".
// Usage: bench_launch <program> [arguments...]
#include <unistd.h>

#include <cstdio>
#include <string>

#include "launch_timer.h"

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

  long long start = 0;
  const pid_t pid = bench::Spawn(argv + 1, actions, start);
  if (pid == 0) return 1;
  close(out[1]);

  std::string seen;
  long long painted = -1;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    seen.append(buffer, static_cast<std::size_t>(n));
    if (seen.find("first-frame\n") != std::string::npos) {
      painted = bench::NowMicroseconds();
      break;  // a server the program started may hold the pipe open
    }
  }
  close(out[0]);
  return bench::Report("bench_launch", argv[1], pid, start, painted, "a frame");
}
