#!/usr/bin/env bash
# Builds and runs the benchmarks (release build of the dev preset).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh dev
bash scripts/install-deps.sh valgrind
build/dev/bench/bench_calc -median 9 -minimumvalue 100
build/dev/bench/bench_batch
build/dev/bench/bench_startup
build/dev/bench/bench_archive
