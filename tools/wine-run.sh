#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, quietly, in the Wine
# prefix and with the Wine that tools/wine_lib.sh chose (BOTTLES_WINEARCH,
# BOTTLES_WINEPREFIX; by default the 32-bit build's), on the DISPLAY given.
# CTest uses it as the emulator of the Windows tests.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/tools/wine_lib.sh"
wine_env "${BOTTLES_WINEARCH:-win32}" "${BOTTLES_WINEPREFIX:-$root/build/windows/wineprefix}"
exec "$WINELOADER" "$@"
