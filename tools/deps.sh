# Installs the Debian packages a script needs, and only when one is missing.
# Sourced by test.sh, play.sh and bench.sh; runs as root on Debian 12.

bottles_missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

bottles_install() {
  local missing
  missing=$(bottles_missing "$@")
  [ -z "$missing" ] && return 0
  # wine32 is an i386 package.
  if printf '%s\n' $missing | grep -q ':i386$'; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  fi
  echo "Installing: $(echo $missing)"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# What builds the Linux program and its tests.
BOTTLES_BUILD_PACKAGES="cmake ninja-build g++ libgtest-dev qt6-base-dev fonts-liberation2"
# What the tests need beside: a real X server, screenshots and window look-up.
BOTTLES_TEST_PACKAGES="xvfb xauth x11-utils imagemagick xdotool"
# What builds the web page and drives it in a browser; npm too where no
# Node.js of another origin brought its own (tools/build_web.sh).
BOTTLES_WEB_PACKAGES="emscripten node-acorn chromium imagemagick fonts-liberation2"
