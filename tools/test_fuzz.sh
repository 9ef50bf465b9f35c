#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build/fuzz and runs each
# for a bounded number of inputs, from a scratch copy of its committed
# corpus; fails on any crash, sanitizer report or mismatch.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
# libFuzzer's runtime on Debian 12 is in libclang-rt-14-dev.
bottles_install cmake ninja-build clang libclang-rt-14-dev

runs=${BOTTLES_FUZZ_RUNS:-200000}

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DBOTTLES_FUZZ=ON -DBOTTLES_TESTS=OFF -DBOTTLES_WERROR=ON >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target numbers_fuzz events_fuzz

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

status=0
fuzz() {  # target max_len
  local target=$1 max_len=$2
  mkdir -p "$scratch/$target/corpus" "$scratch/$target/artifacts"
  cp fuzz/corpus/"$target"/* "$scratch/$target/corpus/"
  echo "-- $target: $runs runs, inputs up to $max_len bytes"
  if build/fuzz/fuzz/"${target}_fuzz" -runs="$runs" -max_len="$max_len" -seed=1 \
       -artifact_prefix="$scratch/$target/artifacts/" "$scratch/$target/corpus" \
       >"$scratch/$target/log" 2>&1; then
    grep -E '^Done ' "$scratch/$target/log" || true
  else
    echo "FAIL: $target"
    grep -E 'mismatch|ERROR|SUMMARY|runtime error' "$scratch/$target/log" | head -20 || true
    for artifact in "$scratch/$target/artifacts"/*; do
      [ -e "$artifact" ] || continue
      echo "input: $(base64 -w0 "$artifact") (base64)"
    done
    status=1
  fi
}

fuzz numbers 64
fuzz events 512
exit $status
