#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (default preset: dev).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-dev}
bash scripts/build.sh "$preset"
ctest --preset "$preset" -j"$(nproc)"
