# Shared by the tests that take a screenshot of the program's window, on Linux
# and under Wine: the places of the client area and the colour each has from
# the first frame on, written from the window's description (twips at 96 dpi,
# 15 twips a pixel), and the checks over them. Source it after defining
# `shoot` (takes a screenshot) and `pixel X Y` (the colour, RRGGBB, at that
# place of the client area in the last screenshot).

window_places=(
  "2 40 C0C0FF background"
  "66 22 FFC080 title label"
  "365 132 FF0000 button Чисти"
  "14 200 00FF00 button Постави бутилка"
  "368 200 8080FF summary label"
)

status=${status:-0}
expect() {  # x y colour what
  local got
  got=$(pixel "$1" "$2")
  if [ "$got" != "$3" ]; then echo "FAIL: $4 at ($1,$2) is $got, want $3"; status=1; else echo "ok: $4 $3"; fi
}

# Takes screenshots until the command given succeeds on one, for 10 s at the
# most (the program paints when it has the time); fails then.
shoot_until() {  # command...
  local deadline=$((SECONDS + 10))
  until shoot && "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1  # the interval between screenshots, not a wait for anything
  done
}

# Every place of window_places has its colour.
window_painted() {
  local place x y colour
  for place in "${window_places[@]}"; do
    read -r x y colour _ <<<"$place"
    [ "$(pixel "$x" "$y")" = "$colour" ] || return 1
  done
}

# Waits for the first frame (every place coloured), then reports each place.
expect_window_painted() {
  shoot_until window_painted || { echo "FAIL: the window is not painted as described within 10 s"; status=1; }
  local place x y colour what
  for place in "${window_places[@]}"; do
    read -r x y colour what <<<"$place"
    expect "$x" "$y" "$colour" "$what"
  done
}

pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }  # x y colour
