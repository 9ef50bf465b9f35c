#!/usr/bin/env bash
# Opens the program on a private X server (Xvfb), waits for its window, checks
# that the window's class is the one the desktop entry names, and closes it.
# Usage: xvfb_open.sh [--class NAME] <command> [arguments...]
set -euo pipefail
want_class=""
if [ "${1:-}" = "--class" ]; then want_class=$2; shift 2; fi
[ $# -ge 1 ] || { echo "usage: xvfb_open.sh [--class NAME] <command> [arguments...]" >&2; exit 2; }

. "$(dirname "$0")/xvfb_lib.sh"
xvfb_start
title="Философия - Логика"
xprop() { xvfb_xprop "$@"; }

"$@" &
app=$!
xvfb_app=$app
window=$(xvfb_wait_window "$title") || exit 1
echo "ok: the window opened: $(xprop -id "$window" -notype _NET_WM_NAME)"

status=0
if [ -n "$want_class" ]; then
  # Both halves of WM_CLASS (instance, class): desktops match either against
  # StartupWMClass. xprop, since xdotool's class search ignores case.
  got=$(xprop -id "$window" WM_CLASS)
  if [ "$got" = "WM_CLASS(STRING) = \"$want_class\", \"$want_class\"" ]; then
    echo "ok: the window's WM_CLASS is $want_class, $want_class"
  else
    echo "FAIL: the window's $got, want $want_class for both"; status=1
  fi
fi

sleep 0.5  # an early crash, say in painting, would end the process by now
if kill -0 "$app" 2>/dev/null; then
  echo "ok: still running after its window was shown; closing it"
  kill "$app"
  wait "$app" 2>/dev/null || true
  xvfb_app=""
else
  wait "$app" && rc=0 || rc=$?
  xvfb_app=""
  echo "FAIL: the program ended by itself (exit status $rc) after opening its window"; status=1
fi
exit $status
