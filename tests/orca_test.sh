#!/usr/bin/env bash
# Plays a short game with the keyboard while Orca, the screen reader, runs
# on a private X server and session bus, and checks what it says after each
# press (orca_check.py reads Orca's log of its speech). Usage:
# orca_test.sh <program>
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tools/xvfb_lib.sh"
xvfb_start
# Orca's settings and the speech it logs stay in a place of this run's own.
home=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$home"' EXIT
export program here home
# shellcheck disable=SC2016
dbus-run-session -- bash -c '
  . "$here/../tools/xvfb_lib.sh"
  export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  # No speech daemon: Orca logs what it would say and goes on.
  export SPEECHD_CMD=/bin/false
  openbox >/dev/null 2>&1 &
  wm=$!
  # Orca opens its log as a file; on a terminal it writes it line by line,
  # so the log is written through one (script), whose copy the check reads.
  script -qfec "orca --debug-file=/dev/tty" "$home/orca.log" >/dev/null 2>&1 &
  reader=$!
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  status=0
  "$here/orca_check.py" "$home/orca.log" "$program" || status=$?
  kill "$reader" "$wm" 2>/dev/null || true
  pkill -P "$reader" 2>/dev/null || true
  exit $status'
