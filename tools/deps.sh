# Installs the Debian packages a script needs, and only when one is missing.
# Sourced by test.sh, play.sh and bench.sh; runs as root on Debian 12.

bottles_missing() {
  local p
  for p in "$@"; do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || echo "$p"
  done
}

bottles_install() {
  [ -z "$(bottles_missing "$@")" ] && return 0
  # One install at a time, the scripts that test.sh runs side by side
  # included: each looks again, under the lock, for what is still missing.
  (
    flock 9
    missing=$(bottles_missing "$@")
    [ -z "$missing" ] && exit 0
    # wine32 is an i386 package.
    if [[ " $(echo $missing) " == *":i386 "* ]]; then
      grep -qx i386 <<<"$(dpkg --print-foreign-architectures)" || dpkg --add-architecture i386
    fi
    echo "Installing: $(echo $missing)"
    export DEBIAN_FRONTEND=noninteractive
    # An install of another program running beside is waited for.
    apt-get -o DPkg::Lock::Timeout=900 update -qq
    # shellcheck disable=SC2086
    apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends $missing >/dev/null
  ) 9>"${TMPDIR:-/tmp}/bottles-install.lock"
}

# Whether this host runs 32-bit x86 programs, found by running one: a program
# of a few bytes that exits with 42, assembled and linked by binutils. Some
# kernels cannot run them at all ("Exec format error").
bottles_runs_i386() {
  local dir rc=1
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$dir/probe.s"
  if as --32 -o "$dir/probe.o" "$dir/probe.s" && ld -m elf_i386 -o "$dir/probe" "$dir/probe.o"; then
    "$dir/probe" 2>/dev/null && rc=0 || rc=$?
  fi
  rm -rf "$dir"
  [ "$rc" = 42 ]
}

# What builds the Linux program and its tests. qt6-translations-l10n has Qt's
# own texts in Bulgarian (qtbase_bg.qm), which the window loads; the icons are
# drawn at build time by ImageMagick and icoutils; the locales' sources give
# the separator's tests the locales they run in, compiled by localedef. GIO
# (libglib2.0-dev, found through pkg-config) reads GNOME's high-contrast
# settings.
BOTTLES_BUILD_PACKAGES="cmake ninja-build g++ libgtest-dev qt6-base-dev qt6-translations-l10n fonts-liberation2
  imagemagick icoutils locales libglib2.0-dev pkg-config"
# What the tests need beside: a real X server, screenshots and window look-up,
# GTK's dark theme through Qt's GTK platform theme, and a session bus with
# the accessibility bus and Python's AT-SPI client, to read the window as a
# screen reader does; Orca itself, under a plain window manager, to hear
# what it says after each move; GNOME's settings' schemas and Python's GIO
# (the desktop portal's stand-in), to ask for high contrast as a desktop does.
BOTTLES_TEST_PACKAGES="xvfb xauth x11-utils imagemagick xdotool qt6-gtk-platformtheme dbus-daemon at-spi2-core
  python3-pyatspi orca openbox gsettings-desktop-schemas python3-gi"
# What cross-builds the Windows program and checks it as a file, whatever
# Wine the host can run.
BOTTLES_WINDOWS_PACKAGES="g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest icoutils python3-pefile imagemagick"
# What builds the web page and drives it in three engines (WebKitGTK's
# MiniBrowser comes with webkit2gtk-driver's libwebkit2gtk-4.1-0, and needs
# the tests' Xvfb); npm too where no Node.js of another origin brought its
# own (tools/build_web.sh); locales' sources and localedef give MiniBrowser
# the languages the tests ask for (tests/web/CMakeLists.txt).
BOTTLES_WEB_PACKAGES="emscripten node-acorn chromium firefox-esr webkit2gtk-driver xvfb xauth xdotool imagemagick
  fonts-liberation2 locales"
