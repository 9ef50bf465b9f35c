#!/usr/bin/env bash
# Cross-builds the shipped 32-bit bottles.exe into build/windows and checks it
# as a file, then runs every Windows test under Wine on a private X server:
# on that build where this host runs 32-bit x86 programs, else on the same
# sources built for 64-bit Windows (build/windows64) under 64-bit Wine.
# Then the start-up and the captions once more in a prefix without Times New
# Roman. Repeatable; each Wine prefix is made once, in its build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. tools/deps.sh
. tools/wine_lib.sh
wine_choose
# shellcheck disable=SC2086
bottles_install cmake ninja-build g++ $BOTTLES_WINDOWS_PACKAGES $wine_packages \
  xvfb xauth xdotool x11-utils fonts-liberation2

jobs=$(nproc)
configure() {  # build toolchain
  cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release -DBOTTLES_WERROR=ON >/dev/null
}

configure build/windows cmake/mingw-i686.cmake
if [ "$wine_arch" = win32 ]; then
  build=build/windows
  cmake --build "$build" -j "$jobs"
else
  cmake --build build/windows -j "$jobs" --target bottles
  echo "== The shipped 32-bit bottles.exe, as a file"
  ctest --test-dir build/windows --output-on-failure -L file
  build=build/windows64
  configure "$build" "$wine_toolchain"
  cmake --build "$build" -j "$jobs"
fi
echo "bottles.exe: $(stat -c %s build/windows/app/bottles.exe) bytes"

. tools/xvfb_lib.sh
xvfb_start
wine_env "$wine_arch" "$root/$build/wineprefix"
stop() {
  "$WINESERVER" -k 2>/dev/null || true
  xvfb_stop
}
trap stop EXIT
wine_prefix
# Every test case is a program of its own: one session for them all.
wine_session

echo "== Windows tests of $build under Wine ($wine_arch)"
# One at a time: the window tests move the keyboard focus.
ctest --test-dir "$build" --output-on-failure

# Again in a prefix as fresh as a user's, without Times New Roman: the
# program starts and plays, and every caption fits in the face Wine gives.
"$WINESERVER" -k 2>/dev/null || true
wine_env "$wine_arch" "$root/$build/wineprefix-plain"
wine_prefix plain
wine_session
echo "== Without Times New Roman ($wine_arch)"
ctest --test-dir "$build" --output-on-failure -R '^(launch_test|win32_form_test\.Win32TextTest\.EveryCaptionFitsItsControl)$'
