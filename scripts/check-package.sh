#!/usr/bin/env bash
# Builds the Debian package and checks it: its contents against packaging/contents.txt,
# the desktop entry and AppStream data as installed, lintian, and (as root) an install,
# two starts from a home folder, and a removal that leaves the user's folder alone.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh desktop-file-utils appstream lintian
deb=$(bash scripts/package.sh | tail -n 1)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' | sort >build/package/contents.txt
diff -u packaging/contents.txt build/package/contents.txt

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
status=0
lintian --fail-on error "$deb" >build/package/lintian.log 2>&1 || status=$?
grep -v 'running with root privileges' build/package/lintian.log || true
[ "$status" -eq 0 ] || { echo "lintian found errors"; exit 1; }

[ "$(id -u)" -eq 0 ] || { echo "Not root: the install is not tried."; exit 0; }
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
[ "$(torvane-calc --version)" = "torvane-calc 6.4" ]
home=$(mktemp -d)
folder="$home/.local/share/Marnoft/Torvane"
# A start that is still running after some seconds has shown its window.
start() {
    local status=0
    (cd "$home" && env -i HOME="$home" PATH="$PATH" QT_QPA_PLATFORM=offscreen timeout 4 torvane) || status=$?
    [ "$status" -eq 124 ] || { echo "torvane ended at start ($status)"; exit 1; }
}
start
cmp "$folder/Data/Torvane.ini" /usr/share/torvane/program/Data/Torvane.ini
grep -q "Torvane Started" "$folder/Log/Torvane.log"
sed -i 's/PayPeriod=5/PayPeriod=7/' "$folder/Data/Torvane.ini"
start
grep -q "PayPeriod=7" "$folder/Data/Torvane.ini"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq torvane >/dev/null
grep -q "PayPeriod=7" "$folder/Data/Torvane.ini"
rm -rf "$home"
echo "The package installs, starts, keeps the user's folder and removes cleanly: $deb"
