#!/usr/bin/env bash
# Installs the shipped language files and flags (*.lng, *.bmp) from SOURCE
# into the program's LANGUAGE folder TARGET without losing a translator's
# edits. A file is refreshed only when it is missing or still exactly as it
# was last installed; TARGET/.shipped remembers what that was (one
# "<sha256>  <name>" line per file). A file the user changed is kept, and
# one line says which.
#
# Usage: tools/refresh-languages.sh SOURCE TARGET
set -euo pipefail

source_dir=$1
target_dir=$2
manifest="$target_dir/.shipped"
mkdir -p "$target_dir"

hash_of() { sha256sum "$1" | cut -d ' ' -f 1; }

# What was installed last time, by name.
declare -A installed=()
if [ -f "$manifest" ]; then
  while read -r hash name; do
    [ -n "${name:-}" ] && installed["$name"]=$hash
  done <"$manifest"
fi

kept=()
new_manifest=$(mktemp "$target_dir/.shipped.XXXXXX")
trap 'rm -f "$new_manifest"' EXIT
shopt -s nullglob
for shipped in "$source_dir"/*.lng "$source_dir"/*.bmp; do
  name=$(basename "$shipped")
  target="$target_dir/$name"
  shipped_hash=$(hash_of "$shipped")
  if [ -f "$target" ]; then
    current_hash=$(hash_of "$target")
    if [ "$current_hash" != "$shipped_hash" ] && [ "$current_hash" != "${installed[$name]:-}" ]; then
      # Changed since it was installed (or from before there was a record):
      # the user's file stays, and so does the record of what was shipped.
      kept+=("$name")
      [ -n "${installed[$name]:-}" ] && printf '%s  %s\n' "${installed[$name]}" "$name" >>"$new_manifest"
      continue
    fi
  fi
  if [ ! -f "$target" ] || [ "$(hash_of "$target")" != "$shipped_hash" ]; then
    cp -f "$shipped" "$target.tmp.$$"
    mv -f "$target.tmp.$$" "$target"
  fi
  printf '%s  %s\n' "$shipped_hash" "$name" >>"$new_manifest"
done
mv -f "$new_manifest" "$manifest"
trap - EXIT

if [ ${#kept[@]} -gt 0 ]; then
  echo "Kept your edited language files (the shipped versions were not installed): ${kept[*]}"
fi
