#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) into build-fuzz and runs each for SECONDS (default 60).
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# Seeds come from tests/fuzz/corpus/<target>; what a run learns stays in build-fuzz/corpus, and
# an input that crashes lands in build-fuzz/findings/<target> (copy it into the seed corpus once
# the fault is fixed). Exits non-zero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true

scripts/setup-deps.sh
CC=clang CXX=clang++ cmake -S tests/fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzzers >/dev/null

targets=("$@")
[ ${#targets[@]} -eq 0 ] && mapfile -t targets < build-fuzz/fuzzers.txt

# Qt keeps caches for the life of the process; leak checks belong to the sanitizer run.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
status=0
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t" "build-fuzz/findings/$t" "tests/fuzz/corpus/$t"
  log="build-fuzz/$t.log"
  if build-fuzz/"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="build-fuzz/findings/$t/" \
       "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
    echo "$t: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs in ${seconds}s, nothing found"
  else
    echo "$t: FOUND SOMETHING, see $log and build-fuzz/findings/$t/"
    tail -n 30 "$log"
    status=1
  fi
done
exit $status
