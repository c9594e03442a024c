#!/usr/bin/env bash
# run.sh [CLI ARGUMENTS...]: builds if needed and runs gaming-device-cli.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
"$root/scripts/build.sh" "$build" -DGD_BUILD_TESTS=OFF -DGD_BUILD_BENCH=OFF > "$build.log" 2>&1 \
  || { cat "$build.log"; exit 1; }
exec "$build/bin/gaming-device-cli" "$@"
