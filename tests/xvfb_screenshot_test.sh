#!/usr/bin/env bash
# Opens the program as a user would, on a real X server (Xvfb), takes a
# screenshot of its window and checks pixels of the background, a label and
# a button, and the focus ring of the statement panel once the window has
# the keyboard; then again under GTK's dark Adwaita theme, where the texts
# must stay dark and the boxes white. Usage: xvfb_screenshot_test.sh
# <program> <screenshot.png>
set -euo pipefail
program=$1
shot=$2

. "$(dirname "$0")/../tools/xvfb_lib.sh"
xvfb_start
"$program" &
xvfb_app=$!
window=$(xvfb_wait_window "Философия - Логика") || exit 1
shoot() { import -window "$window" "$shot"; }
pixel() { convert "$shot" -format "%[hex:p{$1,$2}]" info: | cut -c1-6; }
. "$(dirname "$0")/window_places.sh"
expect_window_painted

read -r width height < <(identify -format '%w %h\n' "$shot")
echo "window $width x $height"
[ "$width" = 480 ] && [ "$height" = 424 ] || { echo "FAIL: client area $width x $height, want 480 x 424"; status=1; }
# The statement panel has the focus from the start; it shows once the window
# has the keyboard, which a window manager gives it: a black ring inside the
# panel's box, on its left edge where the panel is white without it.
expect 17 350 FFFFFF "statement panel, the window without the keyboard"
xdotool windowfocus --sync "$window"
shoot_until pixel_is 17 350 000000 || true  # the repaint follows the focus event
expect 17 350 000000 "statement panel's focus ring, left"
expect 100 289 000000 "statement panel's focus ring, top"
# The drawing of the program is the window's icon, in every size a desktop
# asks for.
icons=$(xvfb_xprop -id "$window" _NET_WM_ICON)
for size in 16 24 32 48 64 128; do
  if grep -q "Icon ($size x $size)" <<<"$icons"; then
    echo "ok: $size x $size window icon"
  else
    echo "FAIL: the window has no $size x $size icon"; status=1
  fi
done

# A dark desktop theme through Qt's GTK platform theme: the form keeps its
# own colours. The darkest pixel of a label is its text.
kill "$xvfb_app"; wait "$xvfb_app" 2>/dev/null || true
QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark "$program" &
xvfb_app=$!
window=$(xvfb_wait_window "Философия - Логика") || exit 1
shoot_until window_painted || true  # the form keeps its own colours: reported below
darkest() { convert "$shot" -crop "$3x$4+$1+$2" -format '%[fx:int(255*minima.intensity)]' info:; }
expect_dark() {  # x y width height what
  local got
  got=$(darkest "$1" "$2" "$3" "$4")
  if [ "$got" -gt 64 ]; then echo "FAIL: $5 under Adwaita:dark: darkest pixel $got"; status=1; else echo "ok: $5 dark ($got)"; fi
}
expect 2 40 C0C0FF "background under Adwaita:dark"
expect 232 205 FFFFFF "count cell under Adwaita:dark"
expect 17 350 FFFFFF "statement panel under Adwaita:dark"
expect_dark 64 0 305 25 "the title's text"
expect_dark 208 48 49 25 "the text of \"Пълна\""
expect_dark 12 104 45 19 "the caption of \"1-1\""
expect_dark 368 168 97 25 "the frame's caption"
exit $status
