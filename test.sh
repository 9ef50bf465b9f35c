#!/usr/bin/env bash
# Builds bottles and runs every test: the Linux build, the same tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, the packages; beside
# them the Windows program under Wine, the web page in three browser engines
# and the fuzzers; then the sources' style.
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

# Two lanes side by side: the Windows program and the web page spend most of
# their tests waiting on Wine and the browsers, time in which the Linux
# lane's builds and sanitizers use the cores; the fuzzers end the other lane,
# so that the two take about as long. The Linux lane
# writes as it goes; the other's output follows when it ends. The style
# check reads both builds, so it comes after.
linux_lane() {
  stage "Linux build"
  cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBOTTLES_WERROR=ON >/dev/null
  cmake --build build/linux -j "$jobs"
  ctest --test-dir build/linux --output-on-failure --schedule-random -j "$jobs"

  stage "Sanitizers (address, undefined)"
  cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBOTTLES_SANITIZE=ON -DBOTTLES_WERROR=ON >/dev/null
  cmake --build build/sanitize -j "$jobs"
  ctest --test-dir build/sanitize --output-on-failure --schedule-random -j "$jobs"

  stage "Linux install tree and .deb package"; tools/test_package.sh
  stage ""
}
other_lane() {
  stage "Windows build, tested under Wine"; tools/test_windows.sh
  stage "Windows zip"; tools/test_windows_zip.sh
  stage "Web page, tested in Chromium, Firefox ESR and WebKitGTK"; tools/test_web.sh
  stage "Fuzzers (libFuzzer, address, undefined)"; tools/test_fuzz.sh
  stage ""
}
other_log=$(mktemp)
trap 'rm -f "$other_log"' EXIT
(other_lane) >"$other_log" 2>&1 &
other=$!
(linux_lane) &
linux=$!
status=0
wait "$linux" || status=1
wait "$other" || status=1
echo "== The Windows and web lane, beside"
cat "$other_log"
[ "$status" = 0 ] || { echo "== FAILED after $SECONDS s"; exit 1; }

stage "Style: clang-format and clang-tidy"; tools/test_style.sh
stage ""
echo "== All passed in $SECONDS s"
