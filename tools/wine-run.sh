#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, quietly, in the
# build's own Wine prefix and on the DISPLAY given (tools/test_windows.sh
# starts an Xvfb); CTest uses it as the emulator of the Windows tests.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${BOTTLES_WINEPREFIX:-$root/build/windows/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
