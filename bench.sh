#!/usr/bin/env bash
# Measures bottles side by side with the least its toolkit needs, in one run,
# and prints one line per figure: "<name>: <value> (goal <goal>)". Each
# figure is a ratio of medians over runs taken in turn (A, B, C, A, B, C,
# ...): bottles against a bare window, against the same window holding one
# label in Times New Roman 12 pt, and against the same forty controls made
# plainly with the toolkit's own API; and, watched from outside on the same X
# server, against a GTK 3 puzzle game (sgt-fifteen). The Windows figures come
# from the build this host's Wine runs (tools/wine_lib.sh), and say which.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
. tools/wine_lib.sh
wine_choose
# The X client that watches a program of any toolkit paint builds on the
# DAMAGE extension; sgt-puzzles is the GTK game it is set against.
bench_packages="libxdamage-dev sgt-puzzles"
# shellcheck disable=SC2086
bottles_install $BOTTLES_BUILD_PACKAGES $BOTTLES_WINDOWS_PACKAGES $bench_packages xvfb xauth $wine_packages

jobs=$(nproc)
pairs=${BOTTLES_BENCH_PAIRS:-25}
root=$PWD

echo "== Building (Release): build/bench, build/bench-windows, build/bench-windows-shipped"
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBOTTLES_BENCH=ON -DBOTTLES_TESTS=OFF >/dev/null
cmake --build build/bench -j "$jobs" --target bottles bare_qt controls_qt bench_launch watch_launch click_bench >/dev/null
windows_build() {  # dir toolchain bench
  cmake --no-warn-unused-cli -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release \
    -DBOTTLES_BENCH="$3" -DBOTTLES_TESTS=OFF >/dev/null
}
# The timed bottles.exe carries the first-frame probe, built for the Wine
# this host runs; the measured size is that of the program as shipped, the
# 32-bit one, without it.
windows_build build/bench-windows "$wine_toolchain" ON
cmake --build build/bench-windows -j "$jobs" --target bottles bare_win32 controls_win32 >/dev/null
windows_build build/bench-windows-shipped cmake/mingw-i686.cmake OFF
cmake --build build/bench-windows-shipped -j "$jobs" --target bottles >/dev/null

launch=build/bench/bench/bench_launch
watch=build/bench/bench/watch_launch

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
figure() { echo "$1: $2 (goal $3)"; }

# Runs the commands in turn (A, B, C, A, B, C, ...), each timed by $launch,
# two warm-up rounds first, and leaves "<microseconds> <peak KB>" lines in
# $scratch/1, 2, 3, ...
scratch=$(mktemp -d)
wine_started=""
cleanup() {
  if [ -n "$wine_started" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
  xvfb_stop
  rm -rf "$scratch"
}
trap cleanup EXIT
alternate() {  # "command 1" "command 2" ...
  local i n command
  for ((n = 1; n <= $#; n++)); do : >"$scratch/$n"; done
  for i in $(seq -1 "$pairs"); do
    n=0
    for command in "$@"; do
      n=$((n + 1))
      # shellcheck disable=SC2086
      if [ "$i" -gt 0 ]; then $launch $command 2>/dev/null >>"$scratch/$n"; else $launch $command >/dev/null 2>&1; fi
    done
  done
}
column() { cut -d ' ' -f "$1" <"$2" | median; }

# A real X server of its own.
. tools/xvfb_lib.sh
xvfb_start
trap cleanup EXIT
unset QT_QPA_PLATFORM

# Prints the figures of one platform from the four runs' lines: start-up
# and peak memory over the bare window, the labelled one and the plain
# controls.
floors() {  # platform what
  local a_time b_time c_time d_time a_rss b_rss c_rss d_rss
  a_time=$(column 1 "$scratch/1"); b_time=$(column 1 "$scratch/2"); c_time=$(column 1 "$scratch/3")
  d_time=$(column 1 "$scratch/4")
  a_rss=$(column 2 "$scratch/1"); b_rss=$(column 2 "$scratch/2"); c_rss=$(column 2 "$scratch/3")
  d_rss=$(column 2 "$scratch/4")
  echo "# first frame: $2 $a_time us, bare $b_time us, labelled $c_time us, plain controls $d_time us"
  echo "# peak memory: $2 $a_rss KB, bare $b_rss KB, labelled $c_rss KB, plain controls $d_rss KB"
  figure "startup-$1" "$(ratio "$a_time" "$b_time")" 1.10
  figure "startup-$1-labelled" "$(ratio "$a_time" "$c_time")" 1.10
  figure "startup-$1-controls" "$(ratio "$a_time" "$d_time")" 1.05
  figure "rss-$1" "$(ratio "$a_rss" "$b_rss")" 1.10
  figure "rss-$1-labelled" "$(ratio "$a_rss" "$c_rss")" 1.10
  figure "rss-$1-controls" "$(ratio "$a_rss" "$d_rss")" 1.05
}

echo "== Linux, Qt on Xvfb: bottles against a bare window, one with a label and the plain controls, $pairs rounds"
alternate build/bench/app/bottles build/bench/bench/bare_qt "build/bench/bench/bare_qt label" build/bench/bench/controls_qt
floors linux bottles

# The GTK game cannot be told to report its first frame, so both programs are
# timed alike from outside: from the start to the first drawing into the
# first top-level window mapped, as the X server reports it to a client
# watching (bench/watch_launch.cpp); the probe linked into bottles stays quiet.
gtk_game=/usr/games/sgt-fifteen
echo "== Linux, watched on the same Xvfb: bottles against $gtk_game (GTK 3), $pairs rounds"
(
  export BOTTLES_BENCH_WATCHED=1
  launch=$watch
  alternate build/bench/app/bottles "$gtk_game"
  a_time=$(column 1 "$scratch/1"); b_time=$(column 1 "$scratch/2")
  a_rss=$(column 2 "$scratch/1"); b_rss=$(column 2 "$scratch/2")
  echo "# first frame: bottles $a_time us, sgt-fifteen $b_time us"
  echo "# peak memory: bottles $a_rss KB, sgt-fifteen $b_rss KB"
  for program in build/bench/app/bottles "$gtk_game"; do
    echo "# $(basename "$program") at its first frame, $($watch --maps "$program" | tail -n 1)"
  done
  figure startup-vs-gtk-puzzle "$(ratio "$a_time" "$b_time")" 0.75
  figure rss-vs-gtk-puzzle "$(ratio "$a_rss" "$b_rss")" 1.00
)

echo "== Linux, real widgets offscreen: click and pool"
QT_QPA_PLATFORM=offscreen build/bench/bench/click_bench

echo "== Windows under Wine ($wine_arch build): bottles.exe against a bare window, one with a label and the plain controls, $pairs rounds"
# A prefix of the bench's own, so that ending its server here never ends
# that of Windows tests running beside; one session for every run, as a
# user's has.
wine_env "$wine_arch" "$root/build/bench-windows/wineprefix"
wine_started=yes
wine_prefix
wine_session
bare=build/bench-windows/bench/bare_win32.exe
alternate "tools/wine-run.sh build/bench-windows/app/bottles.exe" "tools/wine-run.sh $bare" "tools/wine-run.sh $bare label" \
  "tools/wine-run.sh build/bench-windows/bench/controls_win32.exe"
floors windows "bottles.exe ($wine_arch build, the Wine process)"
size=$(stat -c %s build/bench-windows-shipped/app/bottles.exe)
echo "# bottles.exe: $size bytes (32-bit, Release, stripped)"
figure exe-size-windows "$(awk -v s="$size" 'BEGIN { printf "%.0f", s / 1024 }')" 300
bench/web_bench.sh
