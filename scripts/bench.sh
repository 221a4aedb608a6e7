#!/usr/bin/env bash
# Builds and runs the benchmarks (release build of the dev preset).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh dev
bash scripts/install-deps.sh valgrind xvfb dbus-daemon
build/dev/bench/bench_calc -median 9 -minimumvalue 100
build/dev/bench/bench_load
build/dev/bench/bench_batch
build/dev/bench/bench_measure

# Start-up is timed as on a desktop: on an X server of its own, with a session bus of its own
# (without one, every start would launch a bus for itself); offscreen without Xvfb.
if command -v Xvfb >/dev/null 2>&1; then
    ready=$(mktemp)
    bus=$(mktemp)
    # -noreset: as on a desktop, the server does not start over each time its last client goes.
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$ready" 2>/dev/null &
    xvfb=$!
    daemon=
    trap 'kill "$xvfb" $daemon 2>/dev/null; rm -f "$ready" "$bus"' EXIT
    for _ in $(seq 100); do
        [ -s "$ready" ] && break
        sleep 0.1
    done
    address=
    if command -v dbus-daemon >/dev/null 2>&1 &&
        dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$bus"; then
        address=$(sed -n 1p "$bus")
        daemon=$(sed -n 2p "$bus")
    fi
    DISPLAY=":$(head -n 1 "$ready")" DBUS_SESSION_BUS_ADDRESS="$address" \
        build/dev/bench/bench_startup
    kill "$xvfb" $daemon
    wait "$xvfb" 2>/dev/null || true
    trap - EXIT
    rm -f "$ready" "$bus"
else
    env -u DISPLAY build/dev/bench/bench_startup
fi

build/dev/bench/bench_archive
