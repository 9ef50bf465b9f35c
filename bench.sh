#!/usr/bin/env bash
# Measures bottles side by side with the least its toolkit needs, in one run,
# and prints one line per figure: "<name>: <value> (goal <goal>)". Each
# figure is a median over alternating runs of its two sides (A, B, A, B, ...).
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
windows_packages="g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 fonts-liberation2"
# shellcheck disable=SC2086
bottles_install $BOTTLES_BUILD_PACKAGES xvfb xauth $windows_packages

jobs=$(nproc)
pairs=${BOTTLES_BENCH_PAIRS:-25}
root=$PWD

echo "== Building (Release): build/bench, build/bench-windows, build/bench-windows-shipped"
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBOTTLES_BENCH=ON -DBOTTLES_TESTS=OFF >/dev/null
cmake --build build/bench -j "$jobs" --target bottles bare_qt bench_launch click_bench xpm2ico >/dev/null
windows_build() {  # dir bench
  cmake --no-warn-unused-cli -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DBOTTLES_BENCH="$2" -DBOTTLES_TESTS=OFF -DBOTTLES_XPM2ICO="$root/build/bench/tools/xpm2ico" >/dev/null
}
# The timed bottles.exe carries the first-frame probe; the measured size is
# that of the program as shipped, without it.
windows_build build/bench-windows ON
cmake --build build/bench-windows -j "$jobs" --target bottles bare_win32 >/dev/null
windows_build build/bench-windows-shipped OFF
cmake --build build/bench-windows-shipped -j "$jobs" --target bottles >/dev/null

launch=build/bench/bench/bench_launch

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
figure() { echo "$1: $2 (goal $3)"; }

# Runs the two commands alternately, two warm-up pairs first, and leaves
# "<microseconds> <peak KB>" lines in $scratch/a and $scratch/b.
scratch=$(mktemp -d)
xvfb=""
wine_started=""
cleanup() {
  if [ -n "$wine_started" ]; then wineserver -k 2>/dev/null || true; fi
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
alternate() {  # "command a" "command b"
  : >"$scratch/a"
  : >"$scratch/b"
  for i in $(seq -1 "$pairs"); do
    local a b
    a=$($launch $1 2>/dev/null)
    b=$($launch $2 2>/dev/null)
    if [ "$i" -gt 0 ]; then
      echo "$a" >>"$scratch/a"
      echo "$b" >>"$scratch/b"
    fi
  done
}
column() { cut -d ' ' -f "$1" <"$2" | median; }

# A real X server of its own; Qt wants a private runtime directory.
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 200); do [ -s "$scratch/display" ] && break; sleep 0.05; done
[ -s "$scratch/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n 1 "$scratch/display")"
unset QT_QPA_PLATFORM

echo "== Linux, Qt on Xvfb: bottles against a bare window, $pairs pairs"
alternate build/bench/app/bottles build/bench/bench/bare_qt
a_time=$(column 1 "$scratch/a"); b_time=$(column 1 "$scratch/b")
a_rss=$(column 2 "$scratch/a"); b_rss=$(column 2 "$scratch/b")
echo "# first frame: bottles $a_time us, bare $b_time us; peak memory: bottles $a_rss KB, bare $b_rss KB"
figure startup-linux "$(ratio "$a_time" "$b_time")" 1.10
figure rss-linux "$(ratio "$a_rss" "$b_rss")" 1.10

echo "== Linux, real widgets offscreen: click and pool"
QT_QPA_PLATFORM=offscreen build/bench/bench/click_bench

echo "== Windows under Wine: bottles.exe against a bare window, $pairs pairs"
# A prefix of the bench's own, so that ending its server here never ends
# that of Windows tests running beside; the settings are those
# tools/test_windows.sh makes: Times New Roman is Liberation Serif, and no
# window manager is waited for.
export WINEARCH=win32 WINEDEBUG=-all
export WINEPREFIX=$root/build/bench-windows/wineprefix
export BOTTLES_WINEPREFIX=$WINEPREFIX
wine_started=yes
if [ ! -f "$WINEPREFIX/.bottles-ready" ]; then
  echo "(making the Wine prefix $WINEPREFIX, once)"
  rm -rf "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  printf '%s\r\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"Times New Roman"="Liberation Serif"' '' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' \
    >"$scratch/settings.reg"
  tools/wine-run.sh regedit /S "$(winepath -w "$scratch/settings.reg")"
  wineserver -w
  touch "$WINEPREFIX/.bottles-ready"
fi
wineserver -p  # one server for every run, as a user's session has
alternate "tools/wine-run.sh build/bench-windows/app/bottles.exe" "tools/wine-run.sh build/bench-windows/bench/bare_win32.exe"
a_time=$(column 1 "$scratch/a"); b_time=$(column 1 "$scratch/b")
echo "# first frame: bottles.exe $a_time us, bare $b_time us"
figure startup-windows "$(ratio "$a_time" "$b_time")" 1.10
size=$(stat -c %s build/bench-windows-shipped/app/bottles.exe)
echo "# bottles.exe: $size bytes (Release, stripped)"
figure exe-size-windows "$(awk -v s="$size" 'BEGIN { printf "%.0f", s / 1024 }')" 300
bench/web_bench.sh
