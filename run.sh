#!/usr/bin/env bash
# Builds the album and starts it from the album folder the build lays out.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup-deps.sh
scripts/build.sh
exec build/album/zidoverev "$@"
