#!/usr/bin/env bash
# Builds the fuzz targets and runs one or all of them (fuzz/*.cpp): each first reads its
# corpus (fuzz/corpus/TARGET), then fuzzes for the given seconds (default 60).
#   bash scripts/fuzz.sh [TARGET|all] [SECONDS] [more libFuzzer options]
# Inputs that reach new code are kept in build/fuzz/corpus/TARGET; an input that breaks a
# property or trips a sanitizer is saved in build/fuzz/findings and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:-all}
seconds=${2:-60}
shift $(($# < 2 ? $# : 2))
bash scripts/build.sh fuzz
targets=("$target")
[ "$target" = all ] && mapfile -t targets < <(ls fuzz/corpus)
mkdir -p build/fuzz/findings
for name in "${targets[@]}"; do
    mkdir -p "build/fuzz/corpus/$name"
    log="build/fuzz/$name.log"
    echo "== fuzz_$name: ${seconds}s"
    status=0
    "build/fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build/fuzz/findings/$name-" "$@" \
        "build/fuzz/corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1 || status=$?
    grep -E '^(#[0-9]+ +(INITED|DONE).*|stat::(number_of_executed_units|new_units_added).*|property failed.*|SUMMARY.*|Test unit written.*)$' "$log" || true
    [ "$status" -eq 0 ] || { echo "fuzz_$name found a fault: see $log"; exit 1; }
done
