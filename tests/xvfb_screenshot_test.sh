#!/usr/bin/env bash
# Opens the program as a user would, on a real X server (Xvfb), takes a
# screenshot of its window and checks pixels of the background, a label and
# a button, and the focus ring of the statement panel once the window has
# the keyboard. Usage: xvfb_screenshot_test.sh <program> <screenshot.png>
set -euo pipefail
program=$1
shot=$2

. "$(dirname "$0")/../tools/xvfb_lib.sh"
xvfb_start
"$program" &
xvfb_app=$!
window=$(xvfb_wait_window "Философия - Логика") || exit 1
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
# The statement panel has the focus from the start; it shows once the window
# has the keyboard, which a window manager gives it: a black ring inside the
# panel's box, on its left edge where the panel is white without it.
expect 17 350 FFFFFF "statement panel, the window without the keyboard"
xdotool windowfocus --sync "$window"
for _ in $(seq 20); do  # the repaint follows the focus event
  import -window "$window" "$shot"
  [ "$(pixel 17 350)" = 000000 ] && break
  sleep 0.25
done
expect 17 350 000000 "statement panel's focus ring, left"
expect 100 289 000000 "statement panel's focus ring, top"
# The drawing of the program is the window's icon.
if xvfb_xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (32 x 32)'; then
  echo "ok: 32 x 32 window icon"
else
  echo "FAIL: the window has no 32 x 32 icon"; status=1
fi
exit $status
