#!/usr/bin/env bash
# The web page's figures for ./bench.sh: web-size, the size of bottles.html
# in KB, and startup-web-controls, its first painted frame in headless
# Chromium over a plain page holding the same forty elements, in the same
# font and colours, and no script (bench/web_startup.js); ready-web, for
# information, the time until bottles.html handles a click over its first
# frame.
set -euo pipefail
cd "$(dirname "$0")/.."
pairs=${BOTTLES_BENCH_PAIRS:-25}
echo "== Web page in headless Chromium: bottles.html against a plain page, $pairs pairs"
page=$(tools/build_web.sh --with-playwright 2>/dev/null | tail -n 1)
size=$(stat -c %s "$page")
echo "# bottles.html: $size bytes"
echo "web-size: $(awk -v s="$size" 'BEGIN { printf "%.0f", s / 1024 }') (goal 200)"
read -r a_time b_time r_time < <(NODE_PATH=$PWD/build/web/npm/node_modules node bench/web_startup.js "$page" "$pairs")
echo "# first frame: bottles.html $a_time us, plain page $b_time us; bottles.html ready $r_time us"
echo "startup-web-controls: $(awk -v a="$a_time" -v b="$b_time" 'BEGIN { printf "%.2f", a / b }') (goal 1.05)"
echo "ready-web: $(awk -v a="$a_time" -v r="$r_time" 'BEGIN { printf "%.2f", r / a }') (information)"
