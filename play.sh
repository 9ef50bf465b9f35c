#!/usr/bin/env bash
# Builds bottles and opens the game (build/linux/app/bottles); with --web,
# builds the web page build/web/bottles.html and opens it in a browser.
set -euo pipefail
cd "$(dirname "$0")"
if [ "${1:-}" = --web ]; then
  # The web page: opened in the system's browser where there is one.
  page=$(tools/build_web.sh | tail -n 1)
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xdg-open >/dev/null; then
    exec xdg-open "$page"
  fi
  echo "$page"
  exit 0
fi
. tools/deps.sh
# shellcheck disable=SC2086
bottles_install $BOTTLES_BUILD_PACKAGES
cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/linux --target bottles
exec build/linux/app/bottles
