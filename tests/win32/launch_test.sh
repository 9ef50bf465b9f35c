#!/usr/bin/env bash
# Opens bottles.exe under Wine on the tests' X display as a user would: checks
# pixels of a screenshot, plays a move with the mouse, closes it with Alt+F4.
# Usage: launch_test.sh <wine-run.sh> <bottles.exe> <screenshot.png>
set -euo pipefail
run=$1
exe=$2
shot=$3
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: run the Windows tests through tools/test_windows.sh"; exit 1; }

"$run" "$exe" &
app=$!
cleanup() {
  if [ -n "$app" ] && kill -0 "$app" 2>/dev/null; then kill "$app" 2>/dev/null || true; fi
}
trap cleanup EXIT
status=0

# Wine names the X window's class after the program, which tells it from the
# windows the tests of the back end open with the same caption.
window=$(timeout 60 xdotool search --sync --onlyvisible --classname '^bottles\.exe$' | head -n 1) || true
[ -n "$window" ] || { echo "FAIL: the window did not open"; exit 1; }
# The caption, read in UTF-8 whatever the locale the test runs in.
title=$(LC_ALL=C.UTF-8 xprop -id "$window" -notype _NET_WM_NAME)
case $title in
  *'"http://bottles.example.org   Философия - Логика"') echo "ok: caption ${title#*= }" ;;
  *) echo "FAIL: caption $title"; status=1 ;;
esac
# The client area is 480 x 424 at 96 dpi, inside the frame and caption that
# Wine draws itself when no window manager does: borders alike on the left,
# the right and the bottom.
shoot() {
  import -window "$window" "$shot" || return 1
  read -r width height < <(identify -format '%w %h\n' "$shot")
  border=$(((width - 480) / 2))
  caption=$((height - 424 - 2 * border))
  top=$((border + caption))
  [ "$border" -ge 0 ] && [ "$caption" -ge 0 ] && [ $((width - 480)) = $((2 * border)) ]
}
pixel() { convert "$shot" -format "%[hex:p{$(($1 + border)),$(($2 + top))}]" info: | cut -c1-6; }
black_pixels() {  # width height x y: how many black pixels that part of the client area has
  convert "$shot" -crop "$1x$2+$(($3 + border))+$(($4 + top))" +repage -fill white +opaque black -negate \
    -format '%[fx:round(mean*w*h)]' info:
}
expect_text() {  # width height x y what: the caption there is drawn, in black
  local n
  n=$(black_pixels "$1" "$2" "$3" "$4")
  if [ "$n" -lt 30 ]; then echo "FAIL: no text drawn in $5 ($n black pixels)"; status=1; else echo "ok: text in $5 ($n black pixels)"; fi
}
has_text() { [ "$(black_pixels "$@")" -ge 30 ]; }  # width height x y
. "$(dirname "$0")/../window_places.sh"
expect_window_painted
if ! shoot; then
  echo "FAIL: a window of $width x $height has no client area of 480 x 424"
  exit 1
fi
echo "window $width x $height, screenshot $shot, client area at ($border,$top)"
expect_text 300 22 66 1 "the title label"
expect_text 105 25 364 132 "the button Чисти"

# A move with the mouse: the selector "1-0.5", then "Постави бутилка" twice.
# Table 1 now has two half bottles, and pouring has ended.
# The server hands the moves and presses to the program in order; the test
# waits for what the presses leave.
eval "$(xdotool getwindowgeometry --shell "$window")"
move() { xdotool mousemove --sync $((X + border + $1)) $((Y + top + $2)); }  # x y in the client area
move 104 113
xdotool click 1
move 80 208
xdotool click --repeat 2 --delay 1 1
shot=${shot%.png}-played.png
played() { has_text 95 23 369 193 && [ "$(black_pixels 105 25 364 52)" = 0 ]; }
shoot_until played || true  # reported below
expect_text 95 23 369 193 "the summary of table 1"
n=$(black_pixels 105 25 364 52)
if [ "$n" = 0 ]; then echo "ok: the pouring button is greyed"; else echo "FAIL: the pouring button has $n black pixels"; status=1; fi

# Closed as the user closes it: the program ends by itself, with code 0.
timeout 10 xdotool windowfocus --sync "$window" || true
xdotool key alt+F4
code=0
timeout 10 tail --pid="$app" -f /dev/null || true
if kill -0 "$app" 2>/dev/null; then
  echo "FAIL: Alt+F4 did not close the program"
  status=1
else
  wait "$app" || code=$?
  app=""
  [ "$code" = 0 ] || { echo "FAIL: the program ended with code $code"; status=1; }
  echo "closed, exit code $code"
fi
exit $status
