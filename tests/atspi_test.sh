#!/usr/bin/env bash
# Opens the program on a private X server with a session bus and the
# accessibility bus, as a desktop with a screen reader has them, and reads
# it through AT-SPI (atspi_check.py). Usage: atspi_test.sh <program>
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tools/xvfb_lib.sh"
xvfb_start
export program here
# shellcheck disable=SC2016
dbus-run-session -- bash -c '
  . "$here/../tools/xvfb_lib.sh"
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
  app=$!
  xvfb_app=$app
  # The keyboard, as a window manager would give it.
  window=$(xvfb_wait_window "Философия - Логика") || exit 1
  xdotool windowfocus --sync "$window"
  status=0
  "$here/atspi_check.py" || status=$?
  # Still running: nothing a reader asked of it brought it down.
  kill "$app" || { echo "FAIL: the program ended during the check"; status=1; }
  exit $status'
