#!/usr/bin/env bash
# Configures and builds into build/; the album folder lands in build/album. ZV_WERROR=ON makes
# warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" -DZV_WERROR="${ZV_WERROR:-OFF}" >/dev/null
cmake --build build -j"$(nproc)"
