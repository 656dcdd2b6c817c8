#!/usr/bin/env bash
# Checks the layers of the core: src/core/common, the ground floor, includes
# nothing of core/i18n or core/app, and no module but core/app includes
# core/app. Fails with the offending lines. First it makes sure that it
# finds such lines in a tree made to hold them.
# Usage: core_layering_test.sh SRC_CORE_DIR
set -euo pipefail

# Prints the includes that break the layers of the core in folder $1;
# fails when there are any.
offending_includes() {
  local core=$1 found=0 module lines
  lines=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]core/(i18n|app)/' "$core/common" || true)
  if [ -n "$lines" ]; then
    printf 'core/common includes a module above it:\n%s\n' "$lines"
    found=1
  fi
  for dir in "$core"/*/; do
    module=$(basename "$dir")
    [ "$module" = app ] && continue
    lines=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]core/app/' "$dir" || true)
    if [ -n "$lines" ]; then
      printf 'core/%s includes core/app:\n%s\n' "$module" "$lines"
      found=1
    fi
  done
  return "$found"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/core/common" "$work/core/i18n" "$work/core/tables" "$work/core/app"
printf '#include "core/common/paths.h"\n#include "core/i18n/message_table.h"\n' >"$work/core/common/a.cpp"
printf '#include <core/app/product.h>\n' >"$work/core/tables/b.h"
printf '#include "core/i18n/message_table.h"\n#include "core/app/app_state.h"\n' >"$work/core/app/c.cpp"
printf '#include "core/common/paths.h"\n// see core/app/product.h\n' >"$work/core/i18n/d.cpp"
if said=$(offending_includes "$work/core"); then
  echo "FAIL: the check passes a tree that breaks the layers" >&2
  exit 1
fi
expected="core/common includes a module above it:
$work/core/common/a.cpp:2:#include \"core/i18n/message_table.h\"
core/tables includes core/app:
$work/core/tables/b.h:1:#include <core/app/product.h>"
if [ "$said" != "$expected" ]; then
  printf 'FAIL: the check said\n%s\ninstead of\n%s\n' "$said" "$expected" >&2
  exit 1
fi

if ! said=$(offending_includes "$1"); then
  printf 'FAIL: %s\n' "$said" >&2
  exit 1
fi
