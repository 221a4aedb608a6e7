#!/usr/bin/env bash
# Installs what is missing, builds and starts Torvane. Until the main window lands this
# runs the batch tool on the example comparisons.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh dev
exec build/dev/src/torvane-calc "${@:-examples/comparisons.csv}"
