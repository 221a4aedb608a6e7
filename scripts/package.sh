#!/usr/bin/env bash
# Installs what is missing, builds the Debian package of Torvane and prints its path as
# the last line. Install it with: sudo apt install ./PATH
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh dpkg-dev file
bash scripts/build.sh package >&2
(cd build/package && cpack -G DEB >&2)
ls -t "$PWD"/build/package/torvane_*.deb | head -n 1
