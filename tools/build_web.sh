#!/usr/bin/env bash
# Builds the web page build/web/bottles.html with Debian's Emscripten (and
# build/web/site/ for a web server; the build prints the content policy
# header a server needs), and the tests' npm packages into build/web/npm
# (npm ci of tests/web's lock).
# Used by test_web.sh, play.sh --web and the web bench; prints the page's path.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
npm=""
command -v npm >/dev/null || npm=npm
# shellcheck disable=SC2086
bottles_install cmake ninja-build $BOTTLES_WEB_PACKAGES $npm
# Debian's emcc needs Debian's acorn, which a Node.js of another origin
# does not look for.
export NODE_PATH=/usr/share/nodejs
build_type=${BOTTLES_WEB_BUILD_TYPE:-MinSizeRel}
emcmake cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
  -DBOTTLES_QT=OFF -DBOTTLES_WERROR="${BOTTLES_WERROR:-OFF}" >/dev/null
cmake --build build/web -j "${BOTTLES_JOBS:-$(nproc)}" >&2
if [ "${1:-}" = --with-playwright ]; then
  mkdir -p build/web/npm
  cp tests/web/package.json tests/web/package-lock.json build/web/npm/
  if ! cmp -s tests/web/package-lock.json build/web/npm/node_modules/.package-lock.json.src 2>/dev/null; then
    (cd build/web/npm && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
    cp tests/web/package-lock.json build/web/npm/node_modules/.package-lock.json.src
  fi
fi
echo "$PWD/build/web/bottles.html"
