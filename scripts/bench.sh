#!/usr/bin/env bash
# Builds and runs the benchmarks (release build of the dev preset).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh dev
bash scripts/install-deps.sh valgrind xvfb
build/dev/bench/bench_calc -median 9 -minimumvalue 100
build/dev/bench/bench_batch

# Start-up is timed on an X server of its own, as on a desktop; offscreen without one.
if command -v Xvfb >/dev/null 2>&1; then
    ready=$(mktemp)
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$ready" 2>/dev/null &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null; rm -f "$ready"' EXIT
    for _ in $(seq 100); do
        [ -s "$ready" ] && break
        sleep 0.1
    done
    DISPLAY=":$(head -n 1 "$ready")" build/dev/bench/bench_startup
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
    trap - EXIT
    rm -f "$ready"
else
    env -u DISPLAY build/dev/bench/bench_startup
fi

build/dev/bench/bench_archive
