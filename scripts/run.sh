#!/usr/bin/env bash
# Installs what is missing, builds Torvane, prepares its program folder (build/program:
# Data, Help and Log from dist/, never overwriting files already there) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh dev
folder=build/program
mkdir -p "$folder/Data" "$folder/Help" "$folder/Log"
cp -n dist/Data/* "$folder/Data/"
cp -n dist/Help/* "$folder/Help/"
cd "$folder"
exec ../dev/src/torvane "$@"
