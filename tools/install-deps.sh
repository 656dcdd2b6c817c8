#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, only those missing.
# Usage: tools/install-deps.sh [extra packages...]
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgl-dev libpugixml-dev
          libgtest-dev libgmock-dev libbenchmark-dev libmodbus-dev nlohmann-json3-dev pkg-config "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
# Several builds may install at once (work trees, CI steps): one at a time.
"${sudo[@]}" flock /var/lock/sw48230-install-deps.lock sh -c \
  'apt-get update -qq && apt-get install -y -qq --no-install-recommends "$@" </dev/null' apt "${missing[@]}"
