#!/usr/bin/env bash
# Cross-builds bottles for 32-bit Windows into build/windows and runs all its
# tests under Wine on a private X server. Repeatable; the Wine prefix is made
# once, in build/windows.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. tools/deps.sh
bottles_install cmake ninja-build g++ googletest g++-mingw-w64-i686 binutils-mingw-w64-i686 \
  wine wine32:i386 xvfb xauth xdotool x11-utils imagemagick fonts-liberation2

jobs=$(nproc)
build=build/windows
host=build/host

# xpm2ico runs on the build machine, so the cross build cannot make it.
if [ ! -x "$host/xpm2ico" ] || [ tools/xpm.cpp -nt "$host/xpm2ico" ] || [ tools/xpm.h -nt "$host/xpm2ico" ] ||
  [ tools/xpm2ico.cpp -nt "$host/xpm2ico" ]; then
  mkdir -p "$host"
  g++ -std=c++20 -O2 -Wall -Wextra -Wconversion -Werror -I. tools/xpm.cpp tools/xpm2ico.cpp -o "$host/xpm2ico"
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DBOTTLES_XPM2ICO="$root/$host/xpm2ico" >/dev/null
cmake --build "$build" -j "$jobs"
echo "bottles.exe: $(stat -c %s "$build/app/bottles.exe") bytes"

. tools/xvfb_lib.sh
xvfb_start
export WINEPREFIX=$root/$build/wineprefix
stop() {
  WINEDEBUG=-all wineserver -k 2>/dev/null || true
  xvfb_stop
}
trap stop EXIT

if [ ! -f "$WINEPREFIX/.bottles-ready" ]; then
  echo "== Making the Wine prefix $WINEPREFIX (once)"
  rm -rf "$WINEPREFIX"
  WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  settings=$(mktemp --suffix=.reg)
  # Times New Roman is Liberation Serif, the same metrics, with Cyrillic; a
  # crash ends the program instead of opening the debugger's dialog; and no
  # window manager is waited for, as the X server has none.
  cat >"$settings" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
EOF
  tools/wine-run.sh regedit /S "$(WINEDEBUG=-all winepath -w "$settings")"
  rm -f "$settings"
  WINEDEBUG=-all wineserver -w
  touch "$WINEPREFIX/.bottles-ready"
fi

# One at a time: the window tests move the keyboard focus.
ctest --test-dir "$build" --output-on-failure
