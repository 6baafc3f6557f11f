#!/usr/bin/env bash
# Two companion processes and the main window on one album for SECONDS (default 300), the same
# soak ./test.sh runs for 15 seconds; prints how many operations it made.
#   scripts/soak.sh [SECONDS] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build -j"$(nproc)" --target tst_soak albuminfo >/dev/null
cd build
ZV_SOAK_SECONDS="${1:-300}" ZV_SOAK_SEED="${2:-0}" xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest -R tst_soak --output-on-failure --verbose --timeout $(( ${1:-300} + 300 )) | grep -E "soak:|PASS|FAIL|Passed|Failed"
