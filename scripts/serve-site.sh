#!/usr/bin/env bash
# Serves the local stand-in for Marnoft's web site (examples/site) on 127.0.0.1, so that
# Torvane's update check can be tried without the real site. Usage: serve-site.sh [PORT]
# (default 8765). Installs python3 only if it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

port="${1:-8765}"
if ! [[ "$port" =~ ^[0-9]+$ ]] || [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; then
    echo "serve-site.sh: the port must be a number from 1 to 65535, not '$port'" >&2
    exit 2
fi

if ! command -v python3 >/dev/null 2>&1; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    echo "Installing: python3"
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends python3
fi

site="$PWD/examples/site"
echo "Serving $site at http://127.0.0.1:$port/ (Ctrl+C stops it); start Torvane against it with: TORVANE_SITE_ROOT=http://127.0.0.1:$port bash scripts/run.sh"
exec python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
