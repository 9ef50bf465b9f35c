#!/usr/bin/env bash
# Builds bottles and runs every test: the Linux build, the same tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzzers, the
# packages, the Windows program under Wine, the sources' style, and the web
# page in three browser engines.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
# shellcheck disable=SC2086
bottles_install $BOTTLES_BUILD_PACKAGES $BOTTLES_TEST_PACKAGES

jobs=$(nproc)

# Each stage's time, to keep an eye on the whole run's.
stage_name="" stage_start=$SECONDS
stage() {
  [ -z "$stage_name" ] || echo "-- $stage_name: $((SECONDS - stage_start)) s"
  stage_name=$1 stage_start=$SECONDS
  [ -z "$1" ] || echo "== $1"
}

stage "Linux build"
cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBOTTLES_WERROR=ON >/dev/null
cmake --build build/linux -j "$jobs"
ctest --test-dir build/linux --output-on-failure --schedule-random -j "$jobs"

stage "Sanitizers (address, undefined)"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBOTTLES_SANITIZE=ON -DBOTTLES_WERROR=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure --schedule-random -j "$jobs"

stage "Fuzzers (libFuzzer, address, undefined)"; tools/test_fuzz.sh

stage "Linux install tree and .deb package"; tools/test_package.sh

stage "Windows build, tested under Wine"
tools/test_windows.sh

stage "Style: clang-format and clang-tidy"; tools/test_style.sh

stage "Windows zip"; tools/test_windows_zip.sh
stage "Web page, tested in Chromium, Firefox ESR and WebKitGTK"; tools/test_web.sh
stage ""
echo "== All passed in $SECONDS s"
