#!/usr/bin/env bash
# The program without a display it can open says what is wrong in one
# Bulgarian line and exits 2, never aborting: no display set, an X display or
# a Wayland socket that names no server, a -display, -platform or
# QT_QPA_PLATFORM that names what does not work, and a Wayland compositor
# (a listening socket in a private XDG_RUNTIME_DIR) with no Qt plugin for it,
# where the program opens on X instead when there is an X display too.
# Usage: no_display_test.sh <program>
set -uo pipefail
program=$(readlink -f "$1")
cd "$(dirname "$0")/.."
status=0
check() {  # what, a pattern the line must hold, then the environment's changes and arguments
  local what=$1 want=$2 err rc
  shift 2
  err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "$@" 2>&1 >/dev/null)
  rc=$?
  if [ "$rc" != 2 ] || [ "$(printf '%s\n' "$err" | wc -l)" != 1 ] || ! grep -q -- "$want" <<<"$err"; then
    echo "FAIL: $what: exit $rc, want one line with \"$want\", said:"; printf '%s\n' "$err"; status=1
  else
    echo "ok: $what: $err"
  fi
}
check "no display set" 'DISPLAY не е зададен' "$program"
check "an X display with no server" 'дисплеят „:4987“' DISPLAY=:4987 "$program"
check "a Wayland socket that names nothing" 'дисплеят „bottles-no-such-socket“' \
  WAYLAND_DISPLAY=bottles-no-such-socket XDG_RUNTIME_DIR=/tmp "$program"
check "-display naming no server, DISPLAY another" 'дисплеят „:4988“ (зададен с -display)' \
  DISPLAY=:4987 "$program" -display :4988
check "-platform naming nothing" 'няма платформа „nosuch“ (зададена с -platform); има: .*xcb' \
  DISPLAY=:4987 "$program" -platform nosuch
check "QT_QPA_PLATFORM naming nothing" 'няма платформа „nosuch“ (зададена с QT_QPA_PLATFORM)' \
  DISPLAY=:4987 QT_QPA_PLATFORM=nosuch "$program"
check "-platform over QT_QPA_PLATFORM" 'няма платформа „other“ (зададена с -platform)' \
  QT_QPA_PLATFORM=nosuch "$program" -platform other
check "a platform there that opens nothing" 'платформата „xcb“ (зададена с QT_QPA_PLATFORM) не може да отвори дисплея „:4987“' \
  DISPLAY=:4987 QT_QPA_PLATFORM=xcb "$program"

# A Wayland compositor as far as a client can tell before it speaks: a unix
# socket listening in a runtime folder of this test's own.
runtime=$(mktemp -d)
chmod 700 "$runtime"
coproc compositor {
  exec python3 -c 'import signal, socket, sys
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
s.listen()
print("listening", flush=True)
signal.pause()' "$runtime/wayland-bottles"
}
listener=$compositor_PID
trap 'kill "$listener" 2>/dev/null; rm -rf "$runtime"' EXIT
read -r -t 10 ready <&"${compositor[0]}" || ready=""
if [ "$ready" != listening ]; then
  echo "FAIL: the stand-in compositor did not start"; exit 1
fi
wayland=(XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wayland-bottles XDG_SESSION_TYPE=wayland)
if dpkg -s qt6-wayland >/dev/null 2>&1; then
  # With Qt's plugin the stand-in, which never answers, would hold the program.
  echo "ok: qt6-wayland is installed here: the compositor without a plugin cannot be tried"
else
  check "a Wayland compositor, no Qt plugin for it, no X" 'липсва приставката на Qt за Wayland: инсталирайте пакета qt6-wayland' \
    "${wayland[@]}" "$program"
  check "Wayland asked for by name, no Qt plugin for it" 'няма платформа „wayland“ (зададена с QT_QPA_PLATFORM).*qt6-wayland' \
    "${wayland[@]}" QT_QPA_PLATFORM=wayland "$program"
  # On X straight away: not after Qt has looked for the plugin and warned.
  if tools/xvfb_open.sh env "${wayland[@]}" "$program" >"$runtime/open.log" 2>&1 &&
     ! grep -qi 'wayland' "$runtime/open.log"; then
    echo "ok: a Wayland compositor, no Qt plugin for it, and X: the window opens on X, nothing said"
  else
    echo "FAIL: with X beside the compositor the window did not open:"; cat "$runtime/open.log"; status=1
  fi
fi
exit $status
