#!/usr/bin/env bash
# Builds the web page in build/web and runs its tests under CTest: in Debian's
# Chromium, Firefox ESR and WebKitGTK (npm ci of tests/web/package-lock.json),
# WebKitGTK's MiniBrowser on a private Xvfb; and ESLint over the scripts.
set -euo pipefail
cd "$(dirname "$0")/.."
BOTTLES_WERROR=ON tools/build_web.sh --with-playwright >/dev/null
. tools/xvfb_lib.sh
xvfb_start
ctest --test-dir build/web --output-on-failure --schedule-random -j "${BOTTLES_JOBS:-$(nproc)}"
