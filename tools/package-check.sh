#!/usr/bin/env bash
# Builds the Debian package and checks it as a user would meet it: the
# validators and lintian on its files, then installed with apt-get, run from
# /usr/bin (also by an unprivileged user, whose projects go to their data
# folder), and purged, leaving none of its files behind. Needs root; the
# package is purged on every way out.
# Usage: tools/package-check.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-deb}"
[ "$(id -u)" -eq 0 ] || { echo "package-check: run as root (it installs the package)" >&2; exit 1; }
tools/install-deps.sh desktop-file-utils appstream lintian

start=$SECONDS
tools/make-deb.sh "$build" >/dev/null
deb="$(ls "$PWD/$build"/sw48230_*.deb)"
echo "package-check: built $(basename "$deb") in $((SECONDS - start)) s"

work="$(mktemp -d)"
chmod 0755 "$work"  # the unprivileged user below reaches its home in here
# apt and dpkg are shared with tools/install-deps.sh, possibly running at once.
apt_locked() { flock /var/lock/sw48230-install-deps.lock env DEBIAN_FRONTEND=noninteractive apt-get "$@" </dev/null; }
installed() { dpkg-query -W -f='${Status}' sw48230 2>/dev/null | grep -q "ok installed"; }
cleanup() {
  if installed; then apt_locked purge -y -qq sw48230 >/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The files as the package holds them.
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$work/lintian.txt"
echo "package-check: lintian reports $(grep -c '^[EW]:' "$work/lintian.txt" || true) errors and warnings (errors fail)"

if installed; then
  echo "package-check: removing a sw48230 package left from an earlier run" >&2
  apt_locked purge -y -qq sw48230 >/dev/null
fi
apt_locked install -y -qq --no-install-recommends "$deb" >/dev/null
unset DISPLAY WAYLAND_DISPLAY
[ "$(/usr/bin/sw48230-cli --version)" = "sw48230-cli 2.007" ]
/usr/bin/sw48230 --version | grep -qx "SW48230 2.007"

# A user with a read-only program folder: the program directory is created in
# their data folder, with the shipped languages in it.
home="$work/home"
mkdir -m 0777 "$home"
runuser -u nobody -- env HOME="$home" XDG_DATA_HOME= QT_QPA_PLATFORM=offscreen \
  /usr/bin/sw48230 --exit-when-shown
for entry in PROJECTS MASTER Velstrom.xml LANGUAGE/English.lng LANGUAGE/Deutsch.lng LANGUAGE/Italiano.bmp; do
  [ -e "$home/.local/share/SW48230/$entry" ] || { echo "package-check: no $entry in the user's folder" >&2; exit 1; }
done

apt_locked purge -y -qq sw48230 >/dev/null
installed && { echo "package-check: sw48230 is still installed" >&2; exit 1; }
left=0
while read -r path; do
  if [ -e "/$path" ] && [ ! -d "/$path" ]; then echo "package-check: left behind: /$path" >&2; left=1; fi
done < <(cd "$work/root" && find . ! -type d | sed 's|^\./||')
[ -d /usr/share/sw48230 ] && { echo "package-check: left behind: /usr/share/sw48230" >&2; left=1; }
[ "$left" -eq 0 ]
echo "package-check: passed in $((SECONDS - start)) s"
