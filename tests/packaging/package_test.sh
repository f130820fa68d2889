#!/bin/sh
# Builds the Debian package and checks it as the desktop's and Debian's
# tools would. Usage: package_test.sh BUILD_DIR
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$1/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(echo "$out"/utquery_*_*.deb)
root=$out/root
dpkg-deb -x "$deb" "$root"

desktop-file-validate "$root"/usr/share/applications/*.desktop
# The menu entry starts the installed program, which finds its sounds.
test -x "$root/usr/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root"/usr/share/applications/*.desktop)"
test -s "$root"/usr/share/utquery/HellNo.wav
appstreamcli validate-tree --no-net "$root"
# The web host's service unit, hardened, as systemd reads it (its program from the package).
unit="$root/usr/lib/systemd/system/utstatus.service"
sed "s|/usr/bin/utstatus|$root/usr/bin/utstatus|" "$unit" > "$out/utstatus.service"
systemd-analyze verify --man=no "$out/utstatus.service" # the man page is the package's, not yet installed
grep -q '^DynamicUser=yes' "$unit" && grep -q '^MemoryMax=' "$unit" && grep -q '^NoNewPrivileges=yes' "$unit"
# The menu entry's icon, in the icon theme at the sizes menus ask for.
icon=$(sed -n 's/^Icon=//p' "$root"/usr/share/applications/*.desktop)
for size in 16 24 32 48 64 128 256; do
  test -s "$root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png" || { echo "no $size px icon $icon"; exit 1; }
done
# Every dependency is one this Debian has (simulated: nothing is installed).
apt-get install -s "$deb" >/dev/null
