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
# GoogleTest for the target: Debian ships its sources, built here once per
# build directory with the same toolchain and installed into it, where the
# build's find_package finds it (GTest_DIR).
googletest() {  # build toolchain
  local prefix=$root/$1/googletest
  [ -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ] && return 0
  cmake -S /usr/src/googletest -B "$1/googletest-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/$2" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=ON >/dev/null
  cmake --build "$1/googletest-build" -j "$jobs" >/dev/null
  cmake --install "$1/googletest-build" >/dev/null
}
configure() {  # build toolchain
  googletest "$1" "$2"
  cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release -DBOTTLES_WERROR=ON \
    -DGTest_DIR="$root/$1/googletest/lib/cmake/GTest" >/dev/null
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
stop() {
  "$WINESERVER" -k 2>/dev/null || true
  xvfb_stop
}
trap stop EXIT
wine_env "$wine_arch" "$root/$build/wineprefix-plain"
wine_prefix plain
"$WINESERVER" -w
wine_env "$wine_arch" "$root/$build/wineprefix"
wine_prefix
"$WINESERVER" -w

# Every test case is a program of its own. The window tests move the
# keyboard focus: the cases of one Wine session run one at a time, in random
# order. The cases are dealt round BOTTLES_WINDOWS_SESSIONS sessions (one a
# core by default), each on an X server and in a copy of the prefix of its
# own, so with a wineserver of its own; the sessions run side by side.
sessions=${BOTTLES_WINDOWS_SESSIONS:-$jobs}
session() {  # prefix [ctest arguments...]
  xvfb_start
  wine_env "$wine_arch" "$1"
  trap stop EXIT
  shift
  wine_session
  ctest --test-dir "$build" --output-on-failure --schedule-random "$@"
}
started=$SECONDS
pids=()
for i in $(seq "$sessions"); do
  copy=$root/$build/wineprefix-$i
  [ -f "$copy/.bottles-ready" ] || { rm -rf "$copy"; cp -a "$root/$build/wineprefix" "$copy"; }
  (session "$copy" -I "$i,,$sessions") >"$build/tests-$i.log" 2>&1 &
  pids+=($!)
done
# Beside them, in a prefix as fresh as a user's, without Times New Roman: the
# program starts and plays, and every caption fits in the face Wine gives.
(session "$root/$build/wineprefix-plain" -R '^(launch_test|win32_form_test\.Win32TextTest\.EveryCaptionFitsItsControl)$') \
  >"$build/tests-plain.log" 2>&1 &
pids+=($!)
status=0
for i in "${!pids[@]}"; do
  wait "${pids[$i]}" || status=1
  if [ "$i" -lt "$sessions" ]; then
    echo "== Windows tests of $build under Wine ($wine_arch), session $((i + 1)) of $sessions"
    cat "$build/tests-$((i + 1)).log"
  else
    echo "== Without Times New Roman ($wine_arch)"
    cat "$build/tests-plain.log"
  fi
done
echo "== The Windows tests took $((SECONDS - started)) s"
exit $status
