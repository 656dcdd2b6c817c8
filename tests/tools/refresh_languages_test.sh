#!/usr/bin/env bash
# Checks the refresh of the shipped language files that ./run.sh runs at
# every start: they are installed and refreshed, a file the user edited is
# kept and named in one line.
# Usage: refresh_languages_test.sh COMMAND... (called as COMMAND SHIPPED TARGET)
set -euo pipefail
refresh=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shipped="$work/shipped"
target="$work/program/LANGUAGE"
mkdir -p "$shipped"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
expect_file() {  # path, expected content
  [ "$(cat "$1")" = "$2" ] || fail "$1 holds '$(cat "$1")', expected '$2'"
}

printf 'STR0 = Anfang v1\n' >"$shipped/Deutsch.lng"
printf 'STR0 = Inizio v1\n' >"$shipped/Italiano.lng"
printf 'BM flag\n' >"$shipped/Deutsch.bmp"

# First start: everything is installed, silently.
out=$("${refresh[@]}" "$shipped" "$target")
[ -z "$out" ] || fail "first start said: $out"
expect_file "$target/Deutsch.lng" 'STR0 = Anfang v1'
expect_file "$target/Deutsch.bmp" 'BM flag'

# A new release; the translator edited Deutsch.lng, removed Italiano.lng and
# keeps a language of their own.
printf 'STR0 = Anfang v2\n' >"$shipped/Deutsch.lng"
printf 'STR0 = Inizio v2\n' >"$shipped/Italiano.lng"
printf 'BM flag v2\n' >"$shipped/Deutsch.bmp"
printf 'STR0 = Mein Anfang\n' >"$target/Deutsch.lng"
rm "$target/Italiano.lng"
printf 'STR0 = Kezdet\n' >"$target/Magyar.lng"
out=$("${refresh[@]}" "$shipped" "$target")
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || fail "expected one line, got: $out"
case $out in *Deutsch.lng*) ;; *) fail "the kept file is not named: $out" ;; esac
case $out in *Italiano* | *bmp*) fail "names files that were refreshed: $out" ;; esac
expect_file "$target/Deutsch.lng" 'STR0 = Mein Anfang'
expect_file "$target/Italiano.lng" 'STR0 = Inizio v2'
expect_file "$target/Deutsch.bmp" 'BM flag v2'
expect_file "$target/Magyar.lng" 'STR0 = Kezdet'

# The edit stays through further starts; once the user puts the shipped text
# back, the file is refreshed again with the next release.
out=$("${refresh[@]}" "$shipped" "$target")
case $out in *Deutsch.lng*) ;; *) fail "the kept file is not named again: $out" ;; esac
expect_file "$target/Deutsch.lng" 'STR0 = Mein Anfang'
cp "$shipped/Deutsch.lng" "$target/Deutsch.lng"
out=$("${refresh[@]}" "$shipped" "$target")
[ -z "$out" ] || fail "an unedited file was reported: $out"
printf 'STR0 = Anfang v3\n' >"$shipped/Deutsch.lng"
"${refresh[@]}" "$shipped" "$target" >/dev/null
expect_file "$target/Deutsch.lng" 'STR0 = Anfang v3'

# A folder installed by the old script, without a record: only files that
# differ from the shipped ones count as edited.
rm "$target/.shipped"
printf 'STR0 = Alt\n' >"$target/Italiano.lng"
out=$("${refresh[@]}" "$shipped" "$target")
case $out in *Italiano.lng*) ;; *) fail "an unrecorded, different file was replaced: $out" ;; esac
case $out in *Deutsch*) fail "an unrecorded, identical file was named: $out" ;; esac
expect_file "$target/Italiano.lng" 'STR0 = Alt'
[ -z "$(find "$target" -name '*.tmp.*' -o -name '.shipped.*')" ] || fail "left temporary files behind"
echo "ok"
