#!/usr/bin/env bash
# Opens the program as a user would, on a real X server (Xvfb), takes a
# screenshot of its window and checks pixels of the background, a label and
# a button. Usage: xvfb_screenshot_test.sh <program> <screenshot.png>
set -euo pipefail
program=$1
shot=$2

display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display number"; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done

unset QT_QPA_PLATFORM
"$program" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name "Философия - Логика" | head -n 1)
[ -n "$window" ] || { echo "the window did not open"; exit 1; }
sleep 0.5  # let the first frame be painted
import -window "$window" "$shot"

read -r width height < <(identify -format '%w %h\n' "$shot")
echo "window $width x $height"
pixel() { convert "$shot" -format "%[hex:p{$1,$2}]" info: | cut -c1-6; }
status=0
expect() {  # x y colour what
  local got
  got=$(pixel "$1" "$2")
  if [ "$got" != "$3" ]; then echo "FAIL: $4 at ($1,$2) is $got, want $3"; status=1; else echo "ok: $4 $3"; fi
}
[ "$width" = 480 ] && [ "$height" = 424 ] || { echo "FAIL: client area $width x $height, want 480 x 424"; status=1; }
expect 2 40 C0C0FF "background"
expect 66 22 FFC080 "title label"
expect 365 132 FF0000 "button Чисти"
expect 14 200 00FF00 "button Постави бутилка"
expect 368 200 8080FF "summary label"
# The drawing of the program is the window's icon.
if xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (32 x 32)'; then
  echo "ok: 32 x 32 window icon"
else
  echo "FAIL: the window has no 32 x 32 icon"; status=1
fi
kill "$app"
wait "$app" 2>/dev/null || true
app=""
exit $status
