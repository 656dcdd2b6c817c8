#!/usr/bin/env bash
# Cross-builds the core, sw48230-cli and their tests for 64-bit Windows with
# mingw-w64 and runs the tests under Wine. The screens need Qt for Windows,
# which Debian does not ship, so they are not part of this check.
#
# Usage: tools/windows-check.sh [--compare LINUX_CLI] [BUILD_DIR]
#   BUILD_DIR defaults to build-windows. With --compare, the Windows tool's
#   results are then compared byte for byte with those of the Linux tool
#   LINUX_CLI (tools/compare-cli-windows.py).
#
# Everything goes into BUILD_DIR: pugixml and libmodbus built from Debian's
# source packages of the versions libpugixml-dev and libmodbus-dev have,
# nlohmann/json's headers from nlohmann-json3-dev, GoogleTest from
# /usr/src/googletest, and a private Wine prefix; the system's apt
# configuration is left untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
linux_cli=
if [ "${1:-}" = --compare ]; then
  linux_cli=$(realpath "$2")
  shift 2
fi
build=$(realpath -m "${1:-build-windows}")
toolchain=$source_dir/cmake/mingw-w64-x86_64.cmake

# The time of each part goes to the log, to keep the CI run's time in view.
part_start=$SECONDS
part_done() {
  echo "windows-check: $1 took $((SECONDS - part_start)) s" >&2
  part_start=$SECONDS
}

tools/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev python3 autoconf automake libtool pkgconf \
  libmodbus-dev nlohmann-json3-dev
mkdir -p "$build"
part_done "installing packages"

deps=$build/deps
prefix=$deps/prefix
jobs=$(nproc)

# Debian's source package NAME=VERSION unpacked into DIR, through a private
# apt configuration with deb-src entries for the archives the system's apt
# already uses, updated once per run that needs a source.
apt_dir=$deps/apt
apt_updated=
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=root")
debian_source() {
  local package=$1 dir=$2
  if [ -z "${apt_updated:-}" ]; then
    rm -rf "$apt_dir"
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    : >"$apt_dir/sources.list"
    for sources in /etc/apt/sources.list.d/*.sources; do
      [ -f "$sources" ] && sed 's/^Types: deb$/Types: deb-src/' "$sources" >"$apt_dir/sources.list.d/$(basename "$sources")"
    done
    if [ -f /etc/apt/sources.list ]; then
      sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list >"$apt_dir/sources.list"
    fi
    apt-get "${apt_options[@]}" -qq update
    apt_updated=1
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  (cd "$dir" && apt-get "${apt_options[@]}" -qq source "$package" >/dev/null)
}

# --- pugixml, the Windows build of Debian's own source ----------------------
pugixml_version=$(dpkg-query -W -f='${Version}' libpugixml-dev)
if [ ! -f "$prefix/.pugixml-$pugixml_version" ]; then
  rm -rf "$deps/pugixml-build"
  debian_source "pugixml=$pugixml_version" "$deps/pugixml-source"
  pugixml_source=$(find "$deps/pugixml-source" -mindepth 1 -maxdepth 1 -type d -name 'pugixml-*' | head -n 1)
  cmake -S "$pugixml_source" -B "$deps/pugixml-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF \
    -DCMAKE_CXX_COMPILER_LAUNCHER= >/dev/null
  cmake --build "$deps/pugixml-build" -j "$jobs" >/dev/null
  cmake --install "$deps/pugixml-build" >/dev/null
  touch "$prefix/.pugixml-$pugixml_version"
fi

part_done "pugixml"

# --- libmodbus, the static Windows build of Debian's own source -------------
# Only the library and its pkg-config file: no documentation, no tests.
libmodbus_version=$(dpkg-query -W -f='${Version}' libmodbus-dev)
if [ ! -f "$prefix/.libmodbus-$libmodbus_version" ]; then
  debian_source "libmodbus=$libmodbus_version" "$deps/libmodbus-source"
  libmodbus_source=$(find "$deps/libmodbus-source" -mindepth 1 -maxdepth 1 -type d -name 'libmodbus-*' | head -n 1)
  (
    cd "$libmodbus_source"
    [ -x configure ] || autoreconf -fi >/dev/null 2>&1
    ./configure --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix --prefix="$prefix" \
      --enable-static --disable-shared --disable-tests --without-documentation >/dev/null
    make -C src -j "$jobs" >/dev/null
    make -C src install >/dev/null
    make install-pkgconfigDATA >/dev/null
  )
  touch "$prefix/.libmodbus-$libmodbus_version"
fi

part_done "libmodbus"

# --- nlohmann/json, header-only: Debian's headers and CMake package ---------
json_version=$(dpkg-query -W -f='${Version}' nlohmann-json3-dev)
if [ ! -f "$prefix/.nlohmann-json-$json_version" ]; then
  mkdir -p "$prefix/include" "$prefix/share/cmake"
  rm -rf "$prefix/include/nlohmann" "$prefix/share/cmake/nlohmann_json"
  cp -r /usr/include/nlohmann "$prefix/include/"
  cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
  touch "$prefix/.nlohmann-json-$json_version"
fi

# --- GoogleTest, from the sources Debian installs ---------------------------
if [ ! -f "$prefix/.googletest" ]; then
  cmake -S /usr/src/googletest -B "$deps/googletest-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON \
    >/dev/null
  cmake --build "$deps/googletest-build" -j "$jobs" >/dev/null
  cmake --install "$deps/googletest-build" >/dev/null
  touch "$prefix/.googletest"
fi

part_done "GoogleTest"

# --- Wine: a private prefix, no dialogs, no downloads of Mono or Gecko ------
# ctest starts every Windows program through this wrapper.
wine=$(command -v wine64 || command -v wine)
wine_run=$build/wine-run
cat >"$wine_run" <<WRAPPER
#!/bin/sh
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
exec "$wine" "\$@"
WRAPPER
chmod +x "$wine_run"
# One Wine server for all the test programs instead of one per program; it
# may be running already from an earlier check.
mkdir -p "$build/wine-prefix"
WINEPREFIX="$build/wine-prefix" wineserver --persistent=30 2>/dev/null || true
trap 'WINEPREFIX="$build/wine-prefix" wineserver --kill 2>/dev/null || true' EXIT
if [ ! -f "$build/wine-prefix/system.reg" ]; then
  "$wine_run" wineboot --init >/dev/null 2>&1
fi

part_done "Wine prefix"

# --- the program's core and command-line tool, and their tests --------------
# pkg-config finds only the libraries built for Windows above.
PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH= \
  cmake -S . -B "$build/sw48230" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_FIND_ROOT_PATH="$prefix" -DSW48230_GUI=OFF -DSW48230_BENCHMARKS=OFF \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=$wine_run" >/dev/null
cmake --build "$build/sw48230" -j "$jobs"
part_done "cross build"
# The programs under Wine wait more than they compute: twice as many at once.
ctest --test-dir "$build/sw48230" --output-on-failure --timeout 300 -j "$((jobs * 2))"
part_done "tests under Wine"

if [ -n "$linux_cli" ]; then
  tools/compare-cli-windows.py "$linux_cli" "$build/sw48230/bin/sw48230-cli.exe" "$wine_run" "$build/compare"
  part_done "comparison with the Linux tool"
fi
