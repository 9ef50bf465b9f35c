#!/usr/bin/env bash
# Builds bottles and opens the game (build/linux/app/bottles).
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
# shellcheck disable=SC2086
bottles_install $BOTTLES_BUILD_PACKAGES
cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/linux --target bottles
exec build/linux/app/bottles
