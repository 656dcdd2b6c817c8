#!/usr/bin/env bash
# Builds the Release Debian package with CPack in build-deb/ (no tests, no
# benchmarks) and leaves build-deb/sw48230_<version>_<arch>.deb there.
# Usage: tools/make-deb.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-deb}"
tools/install-deps.sh dpkg-dev file

# Debian's hardening flags (stack protector, fortify, relro), as a package
# built by the Debian tools would get them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags="$(dpkg-buildflags --get CPPFLAGS)"
cxxflags="$(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DSW48230_TESTS=OFF -DSW48230_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build"

rm -f "$build"/sw48230_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/sw48230_*.deb
