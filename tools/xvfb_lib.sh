# Shared by the scripts that open the program on a private X server: start an
# Xvfb on a display it picks itself, and find a process's window by title.
# Source it; xvfb_start sets DISPLAY and XDG_RUNTIME_DIR and an EXIT trap
# that stops the server and whatever xvfb_app names.

xvfb_app=""

xvfb_stop() {
  [ -n "$xvfb_app" ] && kill "$xvfb_app" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  [ -n "${xvfb_runtime:-}" ] && rm -rf "$xvfb_runtime"
}

xvfb_start() {
  # Qt wants a private runtime directory and warns when there is none.
  xvfb_runtime=$(mktemp -d)
  export XDG_RUNTIME_DIR=$xvfb_runtime
  # Xvfb picks the display itself, one where none of its sockets is taken
  # (the abstract one too, which /tmp does not show), and writes its number
  # once it accepts connections: no race with other X servers started at
  # the same time. -noreset: by default an X server resets when its last
  # client leaves, and a client that connects during the reset is refused;
  # the first client here (the check below) would leave it so.
  Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$XDG_RUNTIME_DIR/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap xvfb_stop EXIT
  local _
  for _ in $(seq 200); do
    [ -s "$XDG_RUNTIME_DIR/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "FAIL: Xvfb did not start"; exit 1; }
    sleep 0.05
  done
  [ -s "$XDG_RUNTIME_DIR/display" ] || { echo "FAIL: Xvfb did not come up within 10 s"; exit 1; }
  DISPLAY=":$(head -n 1 "$XDG_RUNTIME_DIR/display")"
  export DISPLAY
  # And answers a client.
  for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.05
  done
  xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "FAIL: Xvfb on $DISPLAY does not answer"; exit 1; }
  unset QT_QPA_PLATFORM
}

# xprop prints in the locale's encoding: run it in a UTF-8 one whatever the
# program was given.
xvfb_xprop() { LC_ALL=C.UTF-8 command xprop "$@"; }

# By the process and its _NET_WM_NAME rather than xdotool's --name, which
# reads the legacy WM_NAME that Qt writes garbled under the C locale.
xvfb_find_window() {  # pid title
  local w
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    case $(xvfb_xprop -id "$w" -notype _NET_WM_NAME 2>/dev/null) in
      *"$2"*) echo "$w"; return ;;
    esac
  done
}

# Waits up to 20 s for the window of xvfb_app; prints its id, or fails at
# once when the program ends first.
xvfb_wait_window() {  # title
  local window="" _ rc
  for _ in $(seq 200); do
    window=$(xvfb_find_window "$xvfb_app" "$1")
    [ -n "$window" ] && { echo "$window"; return 0; }
    if ! kill -0 "$xvfb_app" 2>/dev/null; then
      wait "$xvfb_app" && rc=0 || rc=$?
      xvfb_app=""
      echo "FAIL: the program ended (exit status $rc) without opening its window" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "FAIL: no window titled \"$1\" opened within 20 s" >&2
  return 1
}
