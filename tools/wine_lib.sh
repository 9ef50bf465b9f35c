# Shared by the scripts that run the Windows program: which Windows build this
# host can run, and a Wine prefix made for that Wine. Source it after
# tools/deps.sh.

# Sets wine_arch (win32 or win64), wine_toolchain and wine_packages: the
# shipped 32-bit build where this host runs 32-bit x86 programs (found by
# running one), else the same sources built for 64-bit Windows. BOTTLES_WINE=64
# takes the 64-bit path on any host.
wine_choose() {
  bottles_install binutils
  if [ "${BOTTLES_WINE:-}" != 64 ] && bottles_runs_i386; then
    wine_arch=win32
    wine_toolchain=cmake/mingw-i686.cmake
    wine_packages="wine wine32:i386"
  else
    if [ "${BOTTLES_WINE:-}" = 64 ]; then
      echo "BOTTLES_WINE=64: the Windows tests run on a 64-bit build under 64-bit Wine."
    else
      echo "This host cannot run 32-bit x86 programs: the Windows tests run on a 64-bit build under 64-bit Wine."
    fi
    wine_arch=win64
    wine_toolchain=cmake/mingw-x86_64.cmake
    wine_packages="wine wine64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64"
  fi
}

# Exports what every Wine command of the scripts needs: the prefix, the
# loader and server of the chosen Wine, and quiet.
wine_env() {  # arch prefix
  export BOTTLES_WINEARCH=$1 BOTTLES_WINEPREFIX=$2
  export WINEARCH=$1 WINEPREFIX=$2 WINEDEBUG=-all
  # No Mono or Gecko installer dialogs: the programs need neither.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$1" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  else
    export WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
  fi
}

# Makes the prefix of wine_env once: Times New Roman is Liberation Serif (the
# same metrics, with Cyrillic), unless the argument is "plain", a prefix as
# fresh as a user's, which has no Times New Roman; a crash ends the program
# instead of opening the debugger's dialog; no window manager is waited for,
# as Xvfb has none.
wine_prefix() {  # [plain]
  [ -f "$WINEPREFIX/.bottles-ready" ] && return 0
  echo "== Making the Wine prefix $WINEPREFIX ($WINEARCH${1:+, $1}, once)"
  rm -rf "$WINEPREFIX"
  "$WINELOADER" wineboot -i >/dev/null 2>&1
  local settings fonts=()
  [ "${1:-}" = plain ] || fonts=('[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"Times New Roman"="Liberation Serif"' '')
  settings=$(mktemp --suffix=.reg)
  printf '%s\r\n' REGEDIT4 '' "${fonts[@]}" \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' >"$settings"
  "$WINELOADER" regedit /S "$("$WINELOADER" winepath -w "$settings")" >/dev/null 2>&1
  rm -f "$settings"
  "$WINESERVER" -w
  touch "$WINEPREFIX/.bottles-ready"
}

# Starts one Wine session for many programs, as a user has: the server
# stays, and Wine's own services start now, away from any program's output
# (a service started by a test would hold its output pipe, and CTest would
# wait for that until the session ends).
wine_session() {
  "$WINESERVER" -p
  "$WINELOADER" cmd /c exit >/dev/null 2>&1 </dev/null
}
