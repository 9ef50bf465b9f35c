#!/usr/bin/env bash
# The program without a display it can open (none set, an X display or a
# Wayland socket that names no server) says so in one line and exits 2,
# never aborting. Usage: no_display_test.sh <program>
set -uo pipefail
program=$1
status=0
check() {  # what, then the environment's changes
  local what=$1 err rc
  shift
  err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" 2>&1 >/dev/null)
  rc=$?
  if [ "$rc" != 2 ] || [ "$(printf '%s\n' "$err" | wc -l)" != 1 ] || ! grep -q 'диспле' <<<"$err"; then
    echo "FAIL: $what: exit $rc, said:"; printf '%s\n' "$err"; status=1
  else
    echo "ok: $what: $err"
  fi
}
check "no display set"
check "an X display with no server" DISPLAY=:4987
check "a Wayland socket that names nothing" WAYLAND_DISPLAY=bottles-no-such-socket XDG_RUNTIME_DIR=/tmp
check "a Wayland platform asked for by name" QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=bottles-no-such-socket
exit $status
