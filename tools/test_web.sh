#!/usr/bin/env bash
# Builds the web page in build/web and runs its tests in Debian's Chromium,
# driven by Playwright (npm ci of tests/web/package-lock.json), under CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
BOTTLES_WERROR=ON tools/build_web.sh --with-playwright >/dev/null
ctest --test-dir build/web --output-on-failure -j "${BOTTLES_JOBS:-$(nproc)}"
