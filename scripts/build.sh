#!/usr/bin/env bash
# Installs what is missing, then configures and builds one preset (default: dev).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-dev}
extra=()
[ "$preset" = fuzz ] && extra=(clang libfuzzer-14-dev)
bash scripts/install-deps.sh "${extra[@]}"
[ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -- -j"$(nproc)"
