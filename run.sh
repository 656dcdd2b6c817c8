#!/usr/bin/env bash
# Builds the configurator (Release) and starts it.
# The program directory - projects, language files, settings - lives outside
# the build tree, so a clean rebuild loses nothing:
#   ${SW48230_HOME:-$HOME/SW48230}
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSW48230_TESTS=OFF -DSW48230_BENCHMARKS=OFF >/dev/null
cmake --build build

program_dir="${SW48230_HOME:-$HOME/SW48230}"
mkdir -p "$program_dir"
# The languages that ship with the program are refreshed at every start,
# except those a translator has edited; any other file the user keeps in
# LANGUAGE is left alone. A folder that cannot be written is said, and the
# configurator still starts with the languages that are there.
build/bin/sw48230-cli install-languages build/bin/LANGUAGE "$program_dir/LANGUAGE" ||
  echo "run.sh: the language files were not all installed; starting with those in $program_dir/LANGUAGE" >&2

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the
configurator's windows cannot be shown. Run ./run.sh from a desktop session,
or use the command-line tool, which needs no display:

  build/bin/sw48230-cli --help
  build/bin/sw48230-cli messages --lng "$program_dir/LANGUAGE/Deutsch.lng"
  build/bin/sw48230-cli lint-lng  "$program_dir/LANGUAGE/Deutsch.lng"

Your projects are kept in $program_dir/PROJECTS.
MSG
  exit 1
fi

exec build/bin/sw48230 --program-dir "$program_dir" "$@"
