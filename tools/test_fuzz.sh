#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build/fuzz and runs each
# for a bounded number of inputs, from a scratch copy of its committed
# corpus; fails on any crash, sanitizer report or mismatch.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
# libFuzzer's runtime on Debian 12 is in libclang-rt-14-dev.
bottles_install cmake ninja-build clang libclang-rt-14-dev

# Inputs per target: each reaches all the code it covers well within its
# number (from the committed corpus, the events fuzzer in some 11,000 inputs,
# the numbers fuzzer in some 18,000), and the two end together, in about a
# minute and a half. BOTTLES_FUZZ_RUNS sets both, for a longer run.
numbers_runs=${BOTTLES_FUZZ_RUNS:-200000}
events_runs=${BOTTLES_FUZZ_RUNS:-50000}

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DBOTTLES_FUZZ=ON -DBOTTLES_TESTS=OFF -DBOTTLES_WERROR=ON >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target numbers_fuzz events_fuzz

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fuzz() {  # target max_len runs; its report on standard output, failure as its status
  local target=$1 max_len=$2 runs=$3
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
    return 1
  fi
}

# The two targets side by side, one a core; each one's report after it ends.
fuzz numbers 64 "$numbers_runs" >"$scratch/numbers.out" & numbers=$!
fuzz events 512 "$events_runs" >"$scratch/events.out" & events=$!
status=0
wait "$numbers" || status=1
wait "$events" || status=1
cat "$scratch/numbers.out" "$scratch/events.out"
exit $status
