#!/usr/bin/env bash
# Opens the program as a user would, on a real X server (Xvfb), takes a
# screenshot of its window and checks pixels of the background, a label and
# a button, and the focus ring of the statement panel once the window has
# the keyboard; then again under GTK's dark Adwaita theme, where the texts
# must stay dark and the boxes white; and under GTK's HighContrast and
# HighContrastInverse themes, where the form takes the theme's colours and
# every caption measured stands at 7:1 against its background. Usage:
# xvfb_screenshot_test.sh <program> <screenshot.png>
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

# The contrast of a caption against its background, measured on the
# screenshot: the WCAG ratio between the lightest and the darkest pixel of
# the caption's box (its background and its text).
contrast() {  # x y width height
  convert "$shot" -crop "$3x$4+$1+$2" +repage -depth 8 txt:- | python3 -c '
import re, sys
def lum(hexa):
    c = [int(hexa[i:i + 2], 16) / 255 for i in (0, 2, 4)]
    c = [v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4 for v in c]
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]
ls = [lum(m) for m in re.findall(r"#([0-9A-Fa-f]{6})", sys.stdin.read())]
print("%.2f" % ((max(ls) + 0.05) / (min(ls) + 0.05)))'
}
# The captions: the title, a pool's label, a selector, a button, the frame's.
# Inside the buttons' bevels. In the described colours every caption
# reaches 4.5:1 but one, named: black on 008000, "Върни бутилка" (4.09:1).
captions=("64 0 305 25 title" "208 48 49 25 Пълна" "12 104 45 19 1-1" "366 134 101 21 Чисти"
  "368 168 97 25 Маси-бутилки" "14 238 133 21 Върни_бутилка")
for theme in Default HighContrast HighContrastInverse; do
  kill "$xvfb_app"; wait "$xvfb_app" 2>/dev/null || true
  if [ "$theme" = Default ]; then "$program" & else QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=$theme "$program" & fi
  xvfb_app=$!
  window=$(xvfb_wait_window "Философия - Логика") || exit 1
  sleep 0.5
  import -window "$window" "$shot"
  if [ "$theme" = Default ]; then
    expect 2 40 C0C0FF "the described background"
  else
    [ "$(pixel 2 40)" != C0C0FF ] && echo "ok: the theme's background under $theme" ||
      { echo "FAIL: the described background under $theme"; status=1; }
  fi
  for c in "${captions[@]}"; do
    read -r x y w h what <<<"$c"
    ratio=$(contrast "$x" "$y" "$w" "$h")
    want=7
    [ "$theme" = Default ] && want=4.5
    if [ "$theme" = Default ] && [ "$what" = Върни_бутилка ]; then
      # The described colour's one shortfall stays, and is measured as such.
      if python3 -c "import sys; sys.exit(0 if 4 <= $ratio < 4.5 else 1)"; then
        echo "ok: $what $ratio:1, the described shortfall"
      else
        echo "FAIL: $what $ratio:1, want the described 4.09:1"; status=1
      fi
    elif python3 -c "import sys; sys.exit(0 if $ratio >= $want else 1)"; then
      echo "ok: $what $ratio:1 under $theme"
    else
      echo "FAIL: $what $ratio:1 under $theme, want $want:1"; status=1
    fi
  done
done
exit $status
